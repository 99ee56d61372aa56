#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace {

const std::string kDataDir = RWQ_SOURCE_DATA_DIR;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
    fields.push_back(line.substr(start, tab - start));
  }
  fields.push_back(line.substr(start));
  return fields;
}

ChildResult Sheet(const std::vector<std::string>& operands) {
  std::vector<std::string> argv = {BuiltProgram("rw-m52-q-cli"), "sheet"};
  argv.insert(argv.end(), operands.begin(), operands.end());
  return RunChild(argv, {{{"RWQ_DATA_DIR", kDataDir}}, ""});
}

std::string InitialFile(const std::string& model) { return kDataDir + "/Initial_" + model + ".rwc"; }

TEST(SheetCommand, ThePmrBankZeroSheetListsItsSixteenChannelsOneRowEach) {
  for (const char* print : {"", "--print"}) {
    std::vector<std::string> operands = {"show", InitialFile("PMR"), "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0"};
    if (*print) operands.push_back(print);
    ChildResult run = Sheet(operands);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 17u) << run.out;
    const std::vector<std::string> titles = Fields(lines[0]);
    ASSERT_GE(titles.size(), 6u);
    EXPECT_EQ(titles[0], "Channel");
    EXPECT_EQ(titles[2], "Frequency (MHz)");
    EXPECT_EQ(titles[5], "Name");
    for (int channel = 0; channel < 16; ++channel) {
      const std::vector<std::string> row = Fields(lines[channel + 1]);
      ASSERT_EQ(row.size(), titles.size()) << lines[channel + 1];
      char number[16];
      std::snprintf(number, sizeof number, "1-%3d", channel + 1);
      EXPECT_EQ(row[0], number);
      const std::uint32_t hertz = 446006250 + 12500 * channel;
      char mhz[16];
      std::snprintf(mhz, sizeof mhz, "%u.%06u", hertz / 1000000, hertz % 1000000);
      EXPECT_EQ(row[2], mhz);
      EXPECT_EQ(row[5].substr(0, row[5].find_last_not_of(' ') + 1), "PMR " + std::to_string(channel + 1));
    }
    EXPECT_EQ(Fields(lines[1])[1], "AB");
  }
}

TEST(SheetCommand, EveryChannelSheetOfEveryModelsInitialFileShowsOneRowPerChannelOfItsBank) {
  struct Model {
    std::string file, word;
    int bankZero;
  };
  const Model models[] = {{"LMR", "Lmr", 0}, {"PMR", "Pmr", 16}, {"VexlPMR", "PmrB", 16}, {"dPMR446", "DPmr446", 16}};
  for (const Model& model : models) {
    for (int bank = 0; bank < 8; ++bank) {
      const std::string ref = "[St_ChBank]GI_Sheet_Mch_" + model.word + ",Bank " + std::to_string(bank);
      ChildResult run = Sheet({"show", InitialFile(model.file), ref});
      ASSERT_EQ(run.status, 0) << ref << ": " << run.err;
      EXPECT_EQ(Lines(run.out).size(), 1u + (bank == 0 ? model.bankZero : 0)) << model.file << ' ' << ref;
    }
  }
}

TEST(SheetCommand, JoinedCellsPrintEmptyAndCountersShowTheirValues) {
  ChildResult run = Sheet({"show", InitialFile("PMR"), "GI_Sheet_TopPage"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 5u) << run.out;
  EXPECT_EQ(lines[0], "RW-M52-Q\t");
  EXPECT_EQ(lines[2], "Channels in use\t16");
  EXPECT_EQ(Fields(lines[3])[0], "Channels that still fit");
  // A choice list shows each cell's own text.
  ChildResult list = Sheet({"show", InitialFile("LMR"), "GI_Sheet_Sel_Mch_Dup"});
  ASSERT_EQ(list.status, 0) << list.err;
  EXPECT_EQ(list.out, "Off\nPlus\nMinus\n");
}

TEST(SheetCommand, AReferenceThatNamesNoSheetIsAnErrorNotACrash) {
  struct Case {
    std::vector<std::string> operands;
    int status;
    std::string err;
  };
  const std::string pmr = InitialFile("PMR");
  const Case cases[] = {
      {{"show", pmr, "GI_Sheet_Nope"}, 1, "has no block 'GI_Sheet_Nope_Style'"},
      {{"show", pmr, "GI_Sheet_Sel_Mch_Dup_Cells"}, 1, "has no block 'GI_Sheet_Sel_Mch_Dup_Cells_Style'"},
      {{"show", pmr, "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 8"}, 1, "names no bank"},
      {{"show", pmr, "[St_ChBank]GI_Sheet_Mch_Pmr"}, 1, "names no bank"},
      {{"show", pmr, "[St_ChBank"}, 1, "names no sheet"},
      {{"show", pmr, ""}, 1, "names no sheet"},
      {{"show", kDataDir + "/no such file.rwc", "GI_Sheet_TopPage"}, 1, "The file cannot be opened."},
      {{"show", pmr}, 2, "usage: rw-m52-q-cli sheet show FILE SHEETREF [--print]"},
      {{"show", pmr, "GI_Sheet_TopPage", "--printer"}, 2, "usage:"},
      {{"list", pmr, "GI_Sheet_TopPage"}, 2, "usage:"},
  };
  for (const Case& c : cases) {
    ChildResult run = Sheet(c.operands);
    EXPECT_EQ(run.status, c.status) << c.operands.back();
    EXPECT_EQ(run.out, "") << c.operands.back();
    EXPECT_NE(run.err.find(c.err), std::string::npos) << c.operands.back() << ": " << run.err;
  }
}

}  // namespace
