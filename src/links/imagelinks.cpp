#include "links/imagelinks.h"

#include "links/celllinks.h"
#include "links/linktable.h"

namespace {

LinkValue ImageValue(cmcEeprom& image, const BitField& field) {
  return {[&image, &field] { return static_cast<std::int64_t>(field.Get(image.Bytes())); },
          [&image, &field](std::int64_t v) { field.Set(image.Bytes(), static_cast<std::uint32_t>(v)); }};
}

// Registers each row as its family over the row's field of the image.
template <typename Row, typename Family>
void AddRows(LinkTable& table, std::span<const Row> rows, Family family) {
  for (const Row& row : rows) {
    table.Add(row.link, [&row, family](LinkCall& call) {
      LinkValue value = ImageValue(call.environment.image, row.field);
      return family(call, row, value);
    });
  }
}

}  // namespace

void AddImageRows(LinkTable& table, std::span<const ImageChoiceRow> rows) {
  AddRows(table, rows, [](LinkCall& call, const ImageChoiceRow& row, LinkValue& value) {
    return ChoiceFamily(call.request, call.services, row.choice, value);
  });
}

void AddImageRows(LinkTable& table, std::span<const ImageNumericRow> rows) {
  AddRows(table, rows, [](LinkCall& call, const ImageNumericRow& row, LinkValue& value) {
    return NumericFamily(call.request, row.spec, value);
  });
}

void AddImageRows(LinkTable& table, std::span<const ImageMinSecRow> rows) {
  AddRows(table, rows, [](LinkCall& call, const ImageMinSecRow& row, LinkValue& value) {
    return MinSecTimerFamily(call.request, call.services, row.spec, value);
  });
}

void AddImageRows(LinkTable& table, std::span<const ImageDecimalRow> rows) {
  AddRows(table, rows, [](LinkCall& call, const ImageDecimalRow& row, LinkValue& value) {
    return DecimalTimerFamily(call.request, call.services, row.spec, value);
  });
}
