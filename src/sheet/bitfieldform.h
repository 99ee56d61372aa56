#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The bit-field editor without a window: the options first to last of a
// 32-bit value, each a cell of link CL_FBits whose parameter n (from 1)
// stands for bit 26 - n, their labels, and the overlay of the generated form.
class BitFieldForm {
 public:
  static constexpr int kMaxOptions = 26;  // option 26 is bit 0
  static constexpr const char* kSheet = "GI_Sheet_FBitsR";
  // Sentence types (label style 6): the radio sends at most this many.
  static constexpr int kSentenceStyle = 6;
  static constexpr int kMaxSentences = 3;

  // Nothing is built for an empty range or one of more than kMaxOptions.
  static bool Fits(int first, int last) { return last >= first && last - first + 1 <= kMaxOptions; }

  BitFieldForm(int first, int last, int labelStyle, std::uint32_t value);

  int Options() const { return last_ - first_ + 1; }
  static int BitOf(int n) { return 26 - n; }

  // The label of option number `option` in the form's style.
  std::string Label(int option) const;
  std::vector<std::string> Labels() const;
  // The generated overlay: style, basic cell, the label row and the cell row,
  // and the models and menus it names, 32 lines.
  std::vector<std::string> OverlayLines() const;

  std::uint32_t Value() const { return value_; }
  bool IsOn(int n) const;
  // Switches cell n's bit; false for a parameter outside the form.
  bool Toggle(int n);
  // False while the value cannot be accepted: more than three sentence types on.
  bool Acceptable() const;

 private:
  int first_;
  int last_;
  int style_;
  std::uint32_t value_;
};

// The tick a set option shows in draw mode 1: a polygon in a cell of
// width × height, on an s × s square centred in the cell (s = 0.7 × the
// smaller side).
std::array<std::array<double, 2>, 6> TickPolygon(double width, double height);
