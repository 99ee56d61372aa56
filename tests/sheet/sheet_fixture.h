#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/eeprom.h"
#include "platform/clock.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "sheet/sheetfactory.h"
#include "sheet_support.h"

// Sheets over a small overlay in memory, with a recording view, widths kept
// in memory and the faults collected instead of stopping the program.
class SheetFixture : public ::testing::Test {
 protected:
  // The cell models every test overlay has, then the blocks given.
  void UseOverlay(const std::vector<std::string>& blocks) {
    std::vector<std::string> lines = {"#CellModel_Basic",
                                      "<-(Color=clWindow)(Font=DEFAULT_CHARSET,,clWindowText,-16,,,)",
                                      "#",
                                      "#CellModel_Sel",
                                      "S<-WH",
                                      "#"};
    lines.insert(lines.end(), blocks.begin(), blocks.end());
    overlay_ = MemoryOverlay(lines);
  }
  // An overlay with the one sheet GI_T.
  void UseSheet(const std::string& style, const std::vector<std::string>& cells,
                const std::string& basic = "{($Basic)}") {
    UseOverlay(SheetBlocks("GI_T", style, basic, cells));
  }

  SheetServices Services() {
    SheetServices services{*overlay_, *overlay_, image_, measurer_};
    services.view = &view_;
    services.widths = &store_;
    services.events = &events_;
    services.modes = modes_;
    services.segchar = segchar_;
    services.onFault = [this](const std::string& text) { faults_.push_back(text); };
    return services;
  }
  std::unique_ptr<cuiSheet> Make(const std::string& ref = "GI_T") {
    return CreateSheet(SheetRef::Parse(ref), Services());
  }
  std::unique_ptr<cuiSheet> Built(const std::string& ref = "GI_T") {
    std::unique_ptr<cuiSheet> sheet = Make(ref);
    EXPECT_TRUE(sheet->Build()) << ref << (faults_.empty() ? "" : ": " + faults_.back());
    return sheet;
  }
  static std::vector<std::size_t> RowLines(const cuiSheet& sheet) {
    std::vector<std::size_t> lines;
    for (const RowEntry& row : sheet.RowEntries()) lines.push_back(row.line);
    return lines;
  }
  void Pump() {
    clock_.Advance(cmcEvMan::kPumpIntervalMs);
    scheduler_.RunDue();
  }

  std::unique_ptr<cmcGTex> overlay_;
  cmcEeprom image_{cmcEeprom::kImageSize};
  FixedWidthMeasurer measurer_;
  RecordingView view_;
  MemoryWidthStore store_;
  SheetModes modes_;
  const Segchar* segchar_ = nullptr;  // the segment shapes glyph cells are drawn with
  std::vector<std::string> faults_;
  platform::ManualClock clock_;
  TaskScheduler scheduler_{clock_};
  cmcEvMan events_{scheduler_};
};
