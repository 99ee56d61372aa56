#include "links/imagelinks.h"

#include "links/linktable.h"

namespace {

LinkValue ImageValue(cmcEeprom& image, const cmcBitField& field) {
  return {[&image, &field] { return static_cast<std::int64_t>(field.Get(image)); },
          [&image, &field](std::int64_t v) { field.Set(image, static_cast<std::uint32_t>(v)); }};
}

}  // namespace

void AddImageRows(cmcLinkTable& table, std::span<const ImageChoiceRow> rows) {
  for (const ImageChoiceRow& row : rows) {
    table.Add(row.link, [&row](LinkCall& call) {
      LinkValue value = ImageValue(call.environment.image, row.field);
      return ChoiceFamily(call.request, call.services, row.choice, value);
    });
  }
}

void AddImageRows(cmcLinkTable& table, std::span<const ImageNumericRow> rows) {
  for (const ImageNumericRow& row : rows) {
    table.Add(row.link, [&row](LinkCall& call) {
      LinkValue value = ImageValue(call.environment.image, row.field);
      return NumericFamily(call.request, row.spec, value);
    });
  }
}

void AddImageRows(cmcLinkTable& table, std::span<const ImageMinSecRow> rows) {
  for (const ImageMinSecRow& row : rows) {
    table.Add(row.link, [&row](LinkCall& call) {
      LinkValue value = ImageValue(call.environment.image, row.field);
      return MinSecTimerFamily(call.request, call.services, row.spec, value);
    });
  }
}

void AddImageRows(cmcLinkTable& table, std::span<const ImageDecimalRow> rows) {
  for (const ImageDecimalRow& row : rows) {
    table.Add(row.link, [&row](LinkCall& call) {
      LinkValue value = ImageValue(call.environment.image, row.field);
      return DecimalTimerFamily(call.request, call.services, row.spec, value);
    });
  }
}
