#include "links/imagelinks.h"

#include <algorithm>

#include "core/gtex.h"
#include "links/celllinks.h"
#include "links/linktable.h"
#include "markup/fcache.h"
#include "model/charset.h"
#include "model/memorymap.h"

namespace {

BitField Moved(BitField field, int base) {
  field.address += base;
  return field;
}

// A row's value on the image at `base`: get, set (with the row's hook) and
// whether a value fits the field.
struct RowAccess {
  LinkValue value;
  ValueFits fits;
};

std::int64_t ReadField(std::span<const std::uint8_t> bytes, const RowField& row, int base) {
  if (!row.parts.empty()) {
    std::int64_t sum = 0;
    for (const RowPart& part : row.parts) sum += part.weight * Moved(part.field, base).Get(bytes);
    return sum;
  }
  const BitField field = Moved(row.field, base);
  const std::uint32_t raw = field.Get(bytes);
  switch (row.stored) {
  case StoredAs::kInverted: return raw == 0 ? 1 : 0;
  case StoredAs::kOnIsFF:
    // Any other byte reads as a value no on/off list carries: "error" with the warning mark.
    return raw == 0xFF ? 1 : raw == 0 ? 0 : 0x100 | raw;
  case StoredAs::kSigned: {
    const std::uint32_t sign = 1u << (field.width - 1);
    return field.width >= 32 ? static_cast<std::int32_t>(raw)
                             : static_cast<std::int64_t>(raw ^ sign) - static_cast<std::int64_t>(sign);
  }
  case StoredAs::kPlain: break;
  }
  return raw;
}

bool Fits(const RowField& row, std::int64_t value) {
  if (!row.parts.empty()) {
    if (value < 0) return false;
    for (const RowPart& part : row.parts) {
      const std::int64_t share = value / part.weight;
      if (share > part.field.Mask()) return false;
      value -= share * part.weight;
    }
    return value == 0;
  }
  const std::int64_t mask = row.field.Mask();
  switch (row.stored) {
  case StoredAs::kInverted:
  case StoredAs::kOnIsFF: return value == 0 || value == 1;
  case StoredAs::kSigned: return value >= -(mask + 1) / 2 && value <= mask / 2;
  case StoredAs::kPlain: break;
  }
  return value >= 0 && value <= mask;
}

void WriteField(std::span<std::uint8_t> bytes, const RowField& row, int base, std::int64_t value) {
  if (!row.parts.empty()) {
    for (const RowPart& part : row.parts) {  // the heaviest part first
      const std::int64_t share = value / part.weight;
      Moved(part.field, base).Set(bytes, static_cast<std::uint32_t>(share));
      value -= share * part.weight;
    }
    return;
  }
  const BitField field = Moved(row.field, base);
  switch (row.stored) {
  case StoredAs::kInverted: field.Set(bytes, value != 0 ? 0 : 1); return;
  case StoredAs::kOnIsFF: field.Set(bytes, value != 0 ? 0xFF : 0); return;
  case StoredAs::kSigned:
  case StoredAs::kPlain: field.Set(bytes, static_cast<std::uint32_t>(value)); return;
  }
}

// Where the row's addresses start for the call (0, or the entry's address), or
// nothing when the cell has no place (its parameter is no entry of the row's
// table) or does not act now.
std::optional<int> BaseOf(const LinkCall& call, const RowField& row) {
  int base = 0;
  if (row.entries) {
    const std::optional<int> address = PlaceOf(*row.entries).AddressOf(call.number);
    if (!address) return std::nullopt;
    base = *address;
  }
  if (row.actsWhile && Moved(*row.actsWhile, base).Get(call.environment.image.Bytes()) == 0) return std::nullopt;
  return base;
}

RowAccess AccessAt(LinkCall& call, const RowField& row, int base) {
  cmcEeprom& image = call.environment.image;
  LinkValue value{[&image, &row, base] { return ReadField(image.Bytes(), row, base); },
                  [&image, &row, base, &call](std::int64_t v) {
                    WriteField(image.Bytes(), row, base, v);
                    if (row.afterStore) row.afterStore(call, v);
                  }};
  return RowAccess{std::move(value), [&row](std::int64_t v) { return Fits(row, v); }};
}

int FirstAddress(const RowField& row) {
  return row.parts.empty() ? row.field.address : row.parts.front().field.address;
}

const ParameterText* FixedTextOf(const RowField& row, std::int32_t parameter) {
  for (const ParameterText& fixed : row.fixedTexts) {
    if (fixed.parameter == parameter) return &fixed;
  }
  return nullptr;
}

void MarkOutside(cmcCellCapsule& request, std::int64_t value, std::int64_t minimum, std::int64_t maximum) {
  if (value < minimum || value > maximum) request.marks |= cellmark::kWarning;
}

// Registers each row: a parameter with a fixed text shows it, a cell without
// a place shows nothing, and both ignore keys; otherwise `run` serves the cell
// at the row's base address.
template <typename Row, typename Run>
void AddPlacedRows(LinkTable& table, std::span<const Row> rows, Run run) {
  for (const Row& row : rows) {
    table.Add(row.link, [&row, run](LinkCall& call) {
      if (const ParameterText* fixed = FixedTextOf(row.field, call.number)) {
        call.request.displayText = std::string(fixed->text);
        return LinkOutcome{};
      }
      const std::optional<int> base = BaseOf(call, row.field);
      if (!base) {
        call.request.displayText.clear();
        return LinkOutcome{};
      }
      LinkOutcome outcome = run(call, row, *base);
      DropMarkUnlessStored(call, *base + FirstAddress(row.field));
      return outcome;
    });
  }
}

// Registers each row as its family over the row's field.
template <typename Row, typename Family>
void AddRows(LinkTable& table, std::span<const Row> rows, Family family) {
  AddPlacedRows(table, rows, [family](LinkCall& call, const Row& row, int base) {
    RowAccess access = AccessAt(call, row.field, base);
    return family(call, row, access);
  });
}

// Nibble i of the digits from the byte at `first`, high nibble first.
std::uint8_t NibbleAt(const cmcEeprom& image, int first, int i) {
  const std::uint8_t byte = image.GetByte(first + i / 2);
  return static_cast<std::uint8_t>(i % 2 == 0 ? byte >> 4 : byte & 0x0F);
}

void SetNibble(cmcEeprom& image, int first, int i, std::uint8_t digit) {
  const int address = first + i / 2;
  const std::uint8_t byte = image.GetByte(address);
  image.SetByte(address,
                static_cast<std::uint8_t>(i % 2 == 0 ? (byte & 0x0F) | (digit << 4) : (byte & 0xF0) | (digit & 0x0F)));
}

int StoredDigitCount(const cmcEeprom& image, const ImageDigitCodeRow& row, int base) {
  if (row.spec.kind != DigitCodeKind::kDtmf) return kFiveToneDigits;
  if (!row.countAt) return kDtmfDigits;
  return image.GetByte(base + *row.countAt);
}

DigitCodeValue DigitCodeAt(cmcEeprom& image, const ImageDigitCodeRow& row, int base) {
  const int first = base + row.field.field.address;
  return {[&image, &row, base, first] {
            DigitCode code;
            const int count = std::min(StoredDigitCount(image, row, base), int{kDtmfDigits});
            for (int i = 0; i < count; ++i) code.digits.push_back(NibbleAt(image, first, i));
            if (row.plusMaskAt) code.plusMask = image.GetByte(base + *row.plusMaskAt);
            return code;
          },
          [&image, &row, base, first](const DigitCode& code) {
            for (std::size_t i = 0; i < code.digits.size(); ++i)
              SetNibble(image, first, static_cast<int>(i), code.digits[i]);
            if (row.spec.kind == DigitCodeKind::kDtmf && row.countAt) {
              image.SetByte(base + *row.countAt, static_cast<std::uint8_t>(code.digits.size()));
            }
            if (row.plusMaskAt) image.SetByte(base + *row.plusMaskAt, code.plusMask);
          }};
}

LinkOutcome MarkedChoice(LinkCall& call, const ChoiceSpec& spec, RowAccess& access) {
  LinkOutcome outcome = ChoiceFamily(call.request, call.services, spec, access.value, access.fits);
  const std::int64_t stored = access.value.get();
  if (!call.services.choices.Carries(spec.list, spec.column, static_cast<std::int32_t>(stored))) {
    call.request.marks |= cellmark::kWarning;
  }
  return outcome;
}

}  // namespace

void DropMarkUnlessStored(LinkCall& call, int address) {
  if (!memmap::IsStoredAt(address, call.environment.modelType))
    call.request.marks &= ~(cellmark::kWarning | cellmark::kError);
}

TextValue ImageTextValue(cmcEeprom& image, int address, std::size_t width, const Charset* charset) {
  TextValue value{[&image, address, width, charset] {
                    std::string bytes(width, ' ');
                    image.ReadBlock(address, reinterpret_cast<std::uint8_t*>(bytes.data()), width);
                    if (!charset) return bytes;
                    return charset->Decode(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                                           " ");
                  },
                  [&image, address, width, charset](const std::string& text) {
                    std::string bytes = text.substr(0, width);
                    bytes.resize(width, ' ');
                    if (charset) {
                      Charset::Encoded encoded = charset->Encode(text, width);
                      if (!encoded.Ok()) return false;
                      bytes.assign(encoded.bytes.begin(), encoded.bytes.end());
                    }
                    image.WriteBlock(address, reinterpret_cast<const std::uint8_t*>(bytes.data()), width);
                    return true;
                  }};
  value.maximum = width;
  value.charset = charset;
  if (charset) {
    value.glyphs = [&image, address, width, charset] {
      std::vector<std::uint8_t> bytes(width);
      image.ReadBlock(address, bytes.data(), width);
      return charset->Patterns(bytes);
    };
  }
  return value;
}

void AddImageRows(LinkTable& table, std::span<const ImageChoiceRow> rows) {
  AddRows(table, rows, [](LinkCall& call, const ImageChoiceRow& row, RowAccess& access) {
    return MarkedChoice(call, row.choice, access);
  });
}

void AddImageRows(LinkTable& table, std::span<const ImageModelChoiceRow> rows) {
  AddRows(table, rows, [](LinkCall& call, const ImageModelChoiceRow& row, RowAccess& access) {
    const auto type = static_cast<std::size_t>(call.environment.modelType);
    if (type >= row.lists.size()) {
      call.request.displayText.clear();
      return LinkOutcome{};
    }
    return MarkedChoice(call, ChoiceSpec{row.lists[type], row.column}, access);
  });
}

void AddImageRows(LinkTable& table, std::span<const ImageTypedChoiceRow> rows) {
  AddRows(table, rows, [](LinkCall& call, const ImageTypedChoiceRow& row, RowAccess& access) {
    LinkOutcome outcome = TypedChoiceFamily(call.request, call.services, row.choice, access.value);
    const auto stored = static_cast<std::int32_t>(access.value.get());
    if (outcome.editor == kNoEditor && !call.services.choices.Carries(row.choice.list, row.choice.column, stored)) {
      call.request.marks |= cellmark::kWarning;
    }
    return outcome;
  });
}

void AddImageRows(LinkTable& table, std::span<const ImageNumericRow> rows) {
  AddRows(table, rows, [](LinkCall& call, const ImageNumericRow& row, RowAccess& access) {
    LinkOutcome outcome = NumericFamily(call.request, row.spec, access.value);
    MarkOutside(call.request, access.value.get(), row.spec.minimum, row.spec.maximum);
    return outcome;
  });
}

void AddImageRows(LinkTable& table, std::span<const ImageMinSecRow> rows) {
  AddRows(table, rows, [](LinkCall& call, const ImageMinSecRow& row, RowAccess& access) {
    LinkOutcome outcome = MinSecTimerFamily(call.request, call.services, row.spec, access.value);
    const std::int64_t stored = access.value.get();
    if (!(row.spec.mayBeOff && stored == 0)) MarkOutside(call.request, stored, row.spec.minimum, row.spec.maximum);
    return outcome;
  });
}

void AddImageRows(LinkTable& table, std::span<const ImageDecimalRow> rows) {
  AddRows(table, rows, [](LinkCall& call, const ImageDecimalRow& row, RowAccess& access) {
    LinkOutcome outcome = DecimalTimerFamily(call.request, call.services, row.spec, access.value);
    const std::int64_t stored = access.value.get();
    if (stored != row.spec.offValue) MarkOutside(call.request, stored, row.spec.minimum, row.spec.maximum);
    return outcome;
  });
}

void AddImageRows(LinkTable& table, std::span<const ImageFixedPointRow> rows) {
  AddRows(table, rows, [](LinkCall& call, const ImageFixedPointRow& row, RowAccess& access) {
    return FixedPointFamily(call.request, row.spec, access.value);
  });
}

void AddImageRows(LinkTable& table, std::span<const ImageIdentityRow> rows) {
  AddRows(table, rows, [](LinkCall& call, const ImageIdentityRow& row, RowAccess& access) {
    return IdentityFamily(call.request, row.spec, access.value);
  });
}

void AddImageRows(LinkTable& table, std::span<const ImageHexDigitRow> rows) {
  AddRows(table, rows, [](LinkCall& call, const ImageHexDigitRow& row, RowAccess& access) {
    return HexDigitFamily(call.request, row.spec, access.value);
  });
}

void AddImageRows(LinkTable& table, std::span<const ImageSyncWordRow> rows) {
  AddRows(table, rows, [](LinkCall& call, const ImageSyncWordRow&, RowAccess& access) {
    return SyncWordFamily(call.request, access.value);
  });
}

void AddImageRows(LinkTable& table, std::span<const ImageDigitSetRow> rows) {
  AddRows(table, rows, [](LinkCall& call, const ImageDigitSetRow& row, RowAccess& access) {
    return DigitSetFamily(call.request, call.services, row.spec, access.value);
  });
}

void AddImageRows(LinkTable& table, std::span<const ImageDigitCodeRow> rows) {
  AddPlacedRows(table, rows, [](LinkCall& call, const ImageDigitCodeRow& row, int base) {
    cmcEeprom& image = call.environment.image;
    DigitCodeSpec spec = row.spec;
    if (row.groupDigitAt) spec.groupDigit = static_cast<std::uint8_t>(image.GetByte(*row.groupDigitAt) & 0x0F);
    DigitCodeValue value = DigitCodeAt(image, row, base);
    LinkOutcome outcome = DigitCodeFamily(call.request, spec, value);
    if (StoredDigitCount(image, row, base) > kDtmfDigits) call.request.marks |= cellmark::kWarning;
    return outcome;
  });
}

void AddImageRows(LinkTable& table, std::span<const ImagePackedDigitsRow> rows) {
  AddPlacedRows(table, rows, [](LinkCall& call, const ImagePackedDigitsRow& row, int base) {
    cmcEeprom& image = call.environment.image;
    const int first = base + row.field.field.address;
    DigitCodeValue value{[&image, &row, first] {
                           DigitCode code;
                           for (int i = 0; i < row.spec.count; ++i) code.digits.push_back(NibbleAt(image, first, i));
                           return code;
                         },
                         [&image, first](const DigitCode& code) {
                           for (std::size_t i = 0; i < code.digits.size(); ++i) {
                             SetNibble(image, first, static_cast<int>(i), code.digits[i]);
                           }
                         }};
    return PackedDigitsFamily(call.request, row.spec, value);
  });
}

void AddImageRows(LinkTable& table, std::span<const ImageFixedTextRow> rows) {
  for (const ImageFixedTextRow& row : rows) {
    table.Add(row.link, [&row](LinkCall& call) {
      call.request.displayText = std::string(row.text);
      return LinkOutcome{};
    });
  }
}

void AddImageRows(LinkTable& table, std::span<const ImageLabelRow> rows) {
  for (const ImageLabelRow& row : rows) {
    table.Add(row.link, [&row](LinkCall& call) {
      const std::int64_t line = row.line == ImageLabelRow::kLineOfParameter ? call.number : row.line;
      // Only the block's own lines: reading on would show its end mark or the next block.
      std::optional<std::string> label;
      if (line >= 0) {
        label =
            cmcGTex::GetField(call.environment.overlay.GetBlockText(row.block), '\n', static_cast<std::size_t>(line));
      }
      call.request.displayText = label.value_or(std::string());
      return LinkOutcome{};
    });
  }
}
