#pragma once

#include <optional>
#include <string>

#include "sheet/sheet.h"

// A list sheet: one template row of its definition stands for every record of
// a list. A "LoopFrom" without a count repeats its body once per record of the
// list that the kind letter (the first character of the style line) names:
//   R  the memory channels in use, and a blank row for a new one;
//   M  the aliases in use, and a blank row for a new one;
//   Y  the languages;
//   C  the channels of the sheet's bank.
// When printing, no blank row is added. Another letter repeats once.
//
// A list of records (R, M, C) follows an insert or a delete in place: its
// rows grow or shrink at the end without a rebuild. Every list sheet recomputes
// its title, selects a cell and repaints a channel's row when asked.
class iuiSheet : public cuiSheet {
 public:
  using cuiSheet::cuiSheet;

  // The rows the list takes.
  int ListLength() const;
  // The kind letter names a list of records.
  bool ListsRecords() const;
  // The bank whose channels a 'C' list shows.
  virtual int Bank() const { return 0; }

  static constexpr int kMaxLanguages = 255;

 protected:
  int DefaultLoopRepetitions() const override { return ListLength(); }
  void OnEvent(const Event& event) override;
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
//
// With banks in use its title names the bank and the room left, in cyan for a
// flagged bank and yellow otherwise. Its current row is announced to the
// memory-channel window, and the window's moves are followed.
class iuiSh_ChBank : public iuiSh_Mch {
 public:
  iuiSh_ChBank(SheetServices services, SheetRef ref);
  ~iuiSh_ChBank() override;

  std::optional<std::string> TitleText() const override;
  std::optional<CellColour> TitleFontColour() const override;
  std::string PrintHead() const override;

  int Bank() const override { return bank_.value_or(0); }
  // The channel of the current row; none when no channel row is current.
  std::optional<int> CurrentChannel() const;

  static constexpr CellColour kFlaggedTitleColour = 0x00FFFF00;  // red 0, green 255, blue 255
  static constexpr CellColour kTitleColour = 0x0000FFFF;         // red 255, green 255, blue 0

 protected:
  bool Prepare() override;
  void OnEvent(const Event& event) override;
  void CurrentRowChanged() override;
  std::int32_t ContextNumber() const override { return Bank(); }
  void StartLoopVariables(LoopVariables& loops) const override;

 private:
  // The bank's name, and the flag's text when its flag is set.
  std::string Name() const;
  std::string FlagText() const;

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
