#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "core/bitfield.h"
#include "links/digitfamilies.h"
#include "links/families.h"
#include "model/entryplaces.h"

class Charset;
class LinkTable;
struct LinkCall;

// Links whose field has a fixed place in the image (the radio's common
// settings) or a place in the entry the cell's parameter names: each is one
// row of its family. The rows must outlive the table.

// One part of a composite value: value = Σ weight × part.
struct RowPart {
  BitField field;
  std::int64_t weight;
};

// A text a cell shows instead of its value for one parameter ("----" for
// entry 0); the cell ignores keys there.
struct ParameterText {
  std::int32_t parameter;
  std::string_view text;
};

// How a row's field holds its value.
enum class StoredAs {
  kPlain,
  kInverted,  // a one-bit flag stored inverted (0 means on)
  kOnIsFF,    // a byte holding 0xFF for on and 0 for off
  kSigned,    // the field read as a two's complement number
};

// Where a row's value lives. Addresses are image addresses, or offsets in the
// entry when `entries` names a table; a parameter outside that table's entries
// leaves the cell empty and inert.
struct RowField {
  constexpr RowField(BitField plain) : field(plain) {}  // NOLINT: a plain field is the common case
  constexpr RowField(EntryTable table, BitField inEntry) : field(inEntry), entries(table) {}

  constexpr RowField As(StoredAs how) const {
    RowField copy = *this;
    copy.stored = how;
    return copy;
  }
  // The value is Σ weight × part of the parts instead of `field` (composite and level values).
  constexpr RowField Of(std::span<const RowPart> composite) const {
    RowField copy = *this;
    copy.parts = composite;
    return copy;
  }
  // The cell acts only while this bit (same base as the field) is set; otherwise it is empty and ignores keys.
  constexpr RowField While(BitField flag) const {
    RowField copy = *this;
    copy.actsWhile = flag;
    return copy;
  }
  // Parameters whose cell shows a fixed text instead of the value.
  constexpr RowField Showing(std::span<const ParameterText> texts) const {
    RowField copy = *this;
    copy.fixedTexts = texts;
    return copy;
  }
  // Runs after each store, for fields derived from this one.
  constexpr RowField Then(void (*hook)(LinkCall& call, std::int64_t stored)) const {
    RowField copy = *this;
    copy.afterStore = hook;
    return copy;
  }

  BitField field;
  std::optional<EntryTable> entries;
  StoredAs stored = StoredAs::kPlain;
  std::span<const RowPart> parts;
  std::optional<BitField> actsWhile;
  std::span<const ParameterText> fixedTexts;
  void (*afterStore)(LinkCall& call, std::int64_t stored) = nullptr;
};

// A stored value a row could never have written carries the warning mark,
// unless the image's model type does not store the field: such a field is
// never sent to the radio, so nothing about it is worth a warning.
// A stored choice value its list lacks shows "error" with the warning mark; a
// value the field cannot hold is never offered.
struct ImageChoiceRow {
  int link;
  RowField field;
  ChoiceSpec choice;
};
// A choice per model type: the list of model type t is lists[t].
struct ImageModelChoiceRow {
  int link;
  RowField field;
  std::span<const std::string_view> lists;
  int column;
};
struct ImageTypedChoiceRow {
  int link;
  RowField field;
  ChoiceSpec choice;
};
struct ImageNumericRow {
  int link;
  RowField field;
  NumericSpec spec;
};
struct ImageMinSecRow {
  int link;
  RowField field;
  MinSecTimerSpec spec;
};
struct ImageDecimalRow {
  int link;
  RowField field;
  DecimalTimerSpec spec;
};
struct ImageFixedPointRow {
  int link;
  RowField field;
  FixedPointSpec spec;
};
struct ImageIdentityRow {
  int link;
  RowField field;
  IdentitySpec spec;
};
struct ImageHexDigitRow {
  int link;
  RowField field;
  HexDigitSpec spec;
};
struct ImageSyncWordRow {
  int link;
  RowField field;
};
struct ImageDigitSetRow {
  int link;
  RowField field;
  DigitSetSpec spec;
};
// Digits as nibbles, the first in the high nibble of the byte at the field's
// address (its entries, fixed texts and acts-while bit apply; its bits do not).
// The other places are at the same base: the DTMF digit count, where a count
// above 24 reads as 24 with the warning mark; the plus mask of five-tone codes
// with "+". A five-tone code keeps its eighth nibble. The group digit is the
// low nibble of an image byte.
struct ImageDigitCodeRow {
  int link;
  RowField field;
  DigitCodeSpec spec;
  std::optional<int> countAt;
  std::optional<int> plusMaskAt;
  std::optional<int> groupDigitAt;
};
// spec.count decimal digits as nibbles, the first in the high nibble.
struct ImagePackedDigitsRow {
  int link;
  RowField field;
  PackedDigitsSpec spec;
};
// A fixed text ("----", empty, a label) that ignores keys.
struct ImageFixedTextRow {
  int link;
  std::string_view text;
};
// A label from the overlay that ignores keys: line `line` of `block`, or
// with kLineOfParameter the line the cell's parameter names.
struct ImageLabelRow {
  static constexpr int kLineOfParameter = -1;
  int link;
  std::string_view block;
  int line = kLineOfParameter;
};

// Clears the warning and error marks of a field at `address` that the image's model type
// does not store; every row does so, and a link of its own should too.
void DropMarkUnlessStored(LinkCall& call, int address);

// A name of `width` bytes at an image address, in the radio's character set
// when one is given (a code the set lacks shows as a space), padded with
// spaces; a text the set cannot encode is refused.
TextValue ImageTextValue(cmcEeprom& image, int address, std::size_t width, const Charset* charset);

void AddImageRows(LinkTable& table, std::span<const ImageChoiceRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImageModelChoiceRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImageTypedChoiceRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImageNumericRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImageMinSecRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImageDecimalRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImageFixedPointRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImageIdentityRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImageHexDigitRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImageSyncWordRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImageDigitSetRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImageDigitCodeRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImagePackedDigitsRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImageFixedTextRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImageLabelRow> rows);
