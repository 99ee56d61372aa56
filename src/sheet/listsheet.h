#pragma once

#include "sheet/sheet.h"

// A list sheet: one template row of its definition stands for every record of
// a list. A "LoopFrom" without a count repeats its body once per record of the
// list that the kind letter (the first character of the style line) names:
//   R  the memory channels in use, and a blank row for a new one;
//   M  the aliases in use, and a blank row for a new one;
//   Y  the languages;
//   C  the channels of the sheet's bank.
// When printing, no blank row is added. Another letter repeats once.
class iuiSheet : public cuiSheet {
 public:
  using cuiSheet::cuiSheet;

  // The rows the list takes.
  int ListLength() const;

  static constexpr int kMaxLanguages = 255;

 protected:
  int DefaultLoopRepetitions() const override { return ListLength(); }
  // The bank whose channels a 'C' list shows.
  virtual int Bank() const { return 0; }
};

// A record-list sheet (channels, aliases), whose definition may keep lines for
// the printer: "Only_Print n" skips the next n lines on screen.
class iuiSh_Mch : public iuiSheet {
 public:
  using iuiSheet::iuiSheet;

 protected:
  void ApplyControlGroup(const ControlGroup& group, RowReading& reading) override;
};

// The channel sheet of one bank, "[St_ChBank]GI_Sheet_Mch_<model word>,Bank n":
// its list is the bank's channels, its cell requests carry the bank, and loop
// variable 0 starts at the bank's first channel, so the template row's cells
// "[@ch0]" address the bank's channels.
class iuiSh_ChBank : public iuiSh_Mch {
 public:
  iuiSh_ChBank(SheetServices services, SheetRef ref);

 protected:
  bool Prepare() override;
  int Bank() const override { return bank_.value_or(0); }
  std::int32_t ContextNumber() const override { return Bank(); }
  void StartLoopVariables(LoopVariables& loops) const override;

 private:
  std::optional<int> bank_;
};

// A sheet of common settings, whose definition lines carry conditions on the
// radio model and the operating modes ("Only_Pmr n", "Only_Maker n", ...).
class iuiSh_Common : public iuiSheet {
 public:
  using iuiSheet::iuiSheet;

 protected:
  void ApplyControlGroup(const ControlGroup& group, RowReading& reading) override;
};
