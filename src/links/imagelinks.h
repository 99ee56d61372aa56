#pragma once

#include <span>

#include "links/bitfield.h"
#include "links/families.h"

class cmcLinkTable;

// Links whose field has a fixed place in the image (the radio's common
// settings): each is one row of its family. The rows must outlive the table.
struct ImageChoiceRow {
  int link;
  cmcBitField field;
  ChoiceSpec choice;
};
struct ImageNumericRow {
  int link;
  cmcBitField field;
  NumericSpec spec;
};
struct ImageMinSecRow {
  int link;
  cmcBitField field;
  MinSecTimerSpec spec;
};
struct ImageDecimalRow {
  int link;
  cmcBitField field;
  DecimalTimerSpec spec;
};

void AddImageRows(cmcLinkTable& table, std::span<const ImageChoiceRow> rows);
void AddImageRows(cmcLinkTable& table, std::span<const ImageNumericRow> rows);
void AddImageRows(cmcLinkTable& table, std::span<const ImageMinSecRow> rows);
void AddImageRows(cmcLinkTable& table, std::span<const ImageDecimalRow> rows);
