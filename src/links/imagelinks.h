#pragma once

#include <span>

#include "core/bitfield.h"
#include "links/families.h"

class LinkTable;

// Links whose field has a fixed place in the image (the radio's common
// settings): each is one row of its family. The rows must outlive the table.
struct ImageChoiceRow {
  int link;
  BitField field;
  ChoiceSpec choice;
};
struct ImageNumericRow {
  int link;
  BitField field;
  NumericSpec spec;
};
struct ImageMinSecRow {
  int link;
  BitField field;
  MinSecTimerSpec spec;
};
struct ImageDecimalRow {
  int link;
  BitField field;
  DecimalTimerSpec spec;
};

void AddImageRows(LinkTable& table, std::span<const ImageChoiceRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImageNumericRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImageMinSecRow> rows);
void AddImageRows(LinkTable& table, std::span<const ImageDecimalRow> rows);
