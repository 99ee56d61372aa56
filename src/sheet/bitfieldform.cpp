#include "sheet/bitfieldform.h"

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace {

std::string LetterWithCode(int code) { return std::string(1, static_cast<char>(code)); }

// Decimal, with 0 in place of 10 (the key that stands for ten).
std::string DecimalTenAsZero(int option) { return option == 10 ? "0" : std::to_string(option); }

constexpr std::array<std::string_view, 5> kSentences = {"RMC", "GGA", "GLL", "GSA", "VTG"};

}  // namespace

BitFieldForm::BitFieldForm(int first, int last, int labelStyle, std::uint32_t value)
    : first_(first), last_(Fits(first, last) ? last : first - 1), style_(labelStyle), value_(value) {}

std::string BitFieldForm::Label(int option) const {
  switch (style_) {
  case 1: {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(option));
    return hex;
  }
  case 2: return DecimalTenAsZero(option);
  case 3: return option == 17 ? "Z" : DecimalTenAsZero(option);
  case 4:
    if (option == 17) return "Z";
    if (option <= 9) return std::to_string(option);
    return option + 55 < 128 ? LetterWithCode(option + 55) : std::string();
  case 5: return option >= -63 && option + 64 < 128 ? LetterWithCode(option + 64) : std::string();
  case kSentenceStyle:
    return option >= 1 && option <= static_cast<int>(kSentences.size()) ? std::string(kSentences[option - 1])
                                                                        : std::string();
  case 7: return "B" + std::to_string(last_ - option);
  default: return std::to_string(option);
  }
}

std::vector<std::string> BitFieldForm::Labels() const {
  std::vector<std::string> labels;
  for (int option = first_; option <= last_; ++option) labels.push_back(Label(option));
  return labels;
}

std::vector<std::string> BitFieldForm::OverlayLines() const {
  std::string labelRow;
  for (const std::string& label : Labels()) labelRow += "|{($iChI)}" + label + "|";
  std::string cellRow;
  for (int n = 1; n <= Options(); ++n) {
    if (n > 1) cellRow += "{($iQp)}";
    cellRow += "|{($eWh)^(%CL_FBits[" + std::to_string(n) + "])}9|";
  }
  return {"#GI_Sheet_FBitsR_Style",
          "(FixedCols=1)(FixedRows=1)",
          "#GI_Sheet_FBitsR_BasicCell",
          "{($Basic)(PopupMenu=GI_PMenu_NoItem)}",
          "#GI_Sheet_FBitsR_Cells",
          "",
          labelRow,
          "",
          cellRow,
          "",
          "",
          "#",
          "#CellModel_iChI",
          "^-WH(Color=clGray)(Font=,,clWhite,,,fsBold,)",
          "#CellModel_eWh",
          "S<_WHB",
          "#CellModel_iQp",
          "(%CT_Null.CL_Misc_QuarterPillar)",
          "#CellModel_Basic",
          "<-(Color=clWindow)(Font=DEFAULT_CHARSET,,clWindowText,-17,,,)(PopupMenu=GI_PMenu_Edit)",
          "#GI_PMenu_NoItem_BasicCell",
          "{($Basic)}",
          "#GI_PMenu_NoItem_Body",
          "+No item\t{(%CT_PopupMenu.CL_PMenu_NoItem)}",
          "#",
          "#GI_PMenu_Edit_BasicCell",
          "{($Basic)(%CT_PopupMenu.)}",
          "#GI_PMenu_Edit_Body",
          "+Edit...\t{(%CT_PopupMenu.CL_PMenu_Edit:Enter)}",
          "#",
          "#End_Of_Ovl",
          ""};
}

bool BitFieldForm::IsOn(int n) const {
  if (n < 1 || n > Options()) return false;
  return (value_ >> BitOf(n)) & 1u;
}

bool BitFieldForm::Toggle(int n) {
  if (n < 1 || n > Options()) return false;
  value_ ^= std::uint32_t{1} << BitOf(n);
  return true;
}

bool BitFieldForm::Acceptable() const {
  if (style_ != kSentenceStyle) return true;
  int on = 0;
  for (int n = 1; n <= Options(); ++n) on += IsOn(n) ? 1 : 0;
  return on <= kMaxSentences;
}

std::array<std::array<double, 2>, 6> TickPolygon(double width, double height) {
  static constexpr std::array<std::array<double, 2>, 6> kUnit = {
      {{0, 0.4}, {0, 0.6}, {0.4, 1}, {1, 0.35}, {1, 0.15}, {0.4, 0.7}}};
  const double side = 0.7 * std::min(width, height);
  const double left = (width - side) / 2;
  const double top = (height - side) / 2;
  std::array<std::array<double, 2>, 6> points{};
  for (std::size_t i = 0; i < kUnit.size(); ++i) points[i] = {left + kUnit[i][0] * side, top + kUnit[i][1] * side};
  return points;
}
