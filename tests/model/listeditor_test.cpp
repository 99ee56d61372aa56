#include "model/listeditor.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "channel_images.h"
#include "core/gtex.h"
#include "model/chlayout.h"
#include "model/memorymap.h"
#include "support/recording_message_box.h"

namespace {

using channelimages::Images;
using channelimages::kKind;
using platform::MsgAnswer;
using platform::MsgIcon;
using Op = ListOperation;

constexpr ModelType kPmr = ModelType::kPmr;  // the model type of the channel kind of the images
constexpr ModelType kDpmr446 = ModelType::kDpmr446;
constexpr int kPriority1Of3 = 0xAB7C + 18 * 3 + 16;

// Each message block carries its own name, so a test sees which one was shown.
std::vector<std::string> Messages() {
  std::vector<std::string> lines = {"#GI_Sys_AppTitle", "Title", "#"};
  for (const char* name :
       {"GI_AppMess_ChErr_Overflow", "GI_AppMess_ChErr_DelPrio", "GI_AppMess_ChErr_NoCh", "GI_AppMess_ChErr_NotBlank",
        "GI_AppMess_Conv_Overwrite", "GI_AppMess_Conv_Clear", "GI_AppMess_Conv_Delete", "GI_AppMess_S_Copy",
        "GI_AppMess_S_Paste", "GI_AppMess_S_Clear", "GI_AppMess_S_Delete", "GI_AppMess_S_Insert"}) {
    lines.insert(lines.end(), {std::string("#") + name, name, "#"});
  }
  return lines;
}

class ListEditorTest : public ::testing::Test {
 protected:
  void SetUp() override { overlay_.OpenLines(Messages()); }

  // Builds the editor over `images` (banks of 4 and 3 channels unless told otherwise).
  void Use(std::vector<int> sizes, ModelType modelType = kPmr, bool banksInUse = true) {
    images_ = std::make_unique<Images>(sizes);
    recorded_.clear();
    editor_ = std::make_unique<ListEditor>(ListEditorSetup{images_->image, images_->initial, overlay_, clipboard_,
                                                           modelType, banksInUse,
                                                           [this](ListOperation operation, const cmcEeprom& before) {
                                                             recorded_.push_back({operation, before});
                                                           }});
  }
  RecordList Bank(int bank) {
    const int first = datCh::FirstChannel(images_->image, bank);
    return {kKind, first, first + datCh::BankSize(images_->image, bank) - 1, bank};
  }
  ListCommand Command(Op operation, int bank, int row, std::optional<RowRange> selection = std::nullopt) {
    return {operation, Bank(bank), row, selection, 0};
  }
  ListOutcome Run(const ListCommand& command, std::deque<MsgAnswer> answers = {}) {
    box_.reset();  // uninstalls itself: the new box goes in after
    box_ = std::make_unique<RecordingMessageBox>(std::move(answers));
    return editor_->Run(command);
  }
  // The texts of the boxes shown by the last Run.
  std::string Shown() {
    std::string texts;
    for (const platform::MsgRequest& request : box_->shown) texts += (texts.empty() ? "" : ",") + request.text;
    return texts;
  }
  std::string Names(int first, int last) { return images_->Names(first, last); }
  cmcEeprom& Image() { return images_->image; }
  void Blank(int channel) { channelimages::NameChannel(Image(), channel, "BL", false); }

  cmcGTex overlay_;
  datClipCh clipboard_;
  std::unique_ptr<Images> images_;
  std::unique_ptr<ListEditor> editor_;
  std::unique_ptr<RecordingMessageBox> box_;
  struct Recorded {
    ListOperation operation;
    cmcEeprom before;
  };
  std::vector<Recorded> recorded_;
};

TEST_F(ListEditorTest, CopyFillsTheClipboardWithTheRangeCutToTheList) {
  Use({4, 3});
  struct Case {
    int row;
    std::optional<RowRange> selection;
    int first;
    int count;
  };
  const Case cases[] = {{2, std::nullopt, 2, 1}, {1, RowRange{3, 1}, 1, 3}, {3, RowRange{2, 6}, 2, 2}};
  for (const Case& c : cases) {
    ListOutcome outcome = Run(Command(Op::kCopy, 0, c.row, c.selection));
    EXPECT_EQ(outcome.result, ListResult::kDone);
    EXPECT_EQ(outcome.status, "GI_AppMess_S_Copy");
    EXPECT_FALSE(outcome.changed);
    EXPECT_EQ(clipboard_.first(), c.first);
    EXPECT_EQ(clipboard_.count(), c.count);
  }
  // A row outside the list does nothing.
  clipboard_.clear();
  EXPECT_EQ(Run(Command(Op::kCopy, 0, 5)).result, ListResult::kNotApplicable);
  EXPECT_EQ(clipboard_.kind(), 0);
  EXPECT_TRUE(recorded_.empty());
}

TEST_F(ListEditorTest, PasteFillsUpToTheEndOfTheBankAndAsksOnlyOverRowsInUse) {
  struct Case {
    const char* what;
    int row;
    std::vector<int> blanks;
    std::deque<MsgAnswer> answers;
    ListResult result;
    std::string shown;
    std::string names;  // channels 0-6
  };
  const Case cases[] = {
      {"onto used rows", 1, {}, {}, ListResult::kDone, "GI_AppMess_Conv_Overwrite", "CH0 CH4 CH5 CH3 CH4 CH5 CH6"},
      {"cancelled",
       1,
       {},
       {MsgAnswer::Cancel},
       ListResult::kCancelled,
       "GI_AppMess_Conv_Overwrite",
       "CH0 CH1 CH2 CH3 CH4 CH5 CH6"},
      {"onto blank rows", 2, {2, 3}, {}, ListResult::kDone, "", "CH0 CH1 CH4 CH5 CH4 CH5 CH6"},
      {"at the end of the bank", 3, {3}, {}, ListResult::kDone, "", "CH0 CH1 CH2 CH4 CH4 CH5 CH6"},
  };
  for (const Case& c : cases) {
    Use({4, 3});
    for (int blank : c.blanks) Blank(blank);
    ASSERT_EQ(Run(Command(Op::kCopy, 1, 4, RowRange{4, 5})).result, ListResult::kDone);
    const cmcEeprom before = Image();
    ListOutcome outcome = Run(Command(Op::kPaste, 0, c.row), c.answers);
    EXPECT_EQ(outcome.result, c.result) << c.what;
    EXPECT_EQ(Shown(), c.shown) << c.what;
    EXPECT_EQ(Names(0, 6), c.names) << c.what;
    if (c.result == ListResult::kCancelled) {
      EXPECT_EQ(Image(), before) << c.what;
      EXPECT_TRUE(recorded_.empty());
      continue;
    }
    const int pasted = std::min(2, 4 - c.row);
    ASSERT_TRUE(outcome.selection) << c.what;
    EXPECT_EQ(outcome.selection->first, c.row);
    EXPECT_EQ(outcome.selection->last, c.row + pasted - 1);
    EXPECT_EQ(outcome.oneRow, pasted == 1);
    EXPECT_EQ(outcome.status, "GI_AppMess_S_Paste");
    ASSERT_EQ(recorded_.size(), 1u) << c.what;
    EXPECT_EQ(recorded_[0].operation, Op::kPaste);
    EXPECT_EQ(recorded_[0].before, before);
  }
}

TEST_F(ListEditorTest, APastedRecordLeavesTheAMarkerWhereItWas) {
  Use({4, 3});
  Image().SetByte(chlayout::kAtrA, 0);
  Image().SetByte(chlayout::kAtrB, 3);
  Run(Command(Op::kCopy, 0, 0));
  Run(Command(Op::kPaste, 0, 3));
  EXPECT_EQ(images_->Name(3), "CH0");
  EXPECT_EQ(Image().GetByte(chlayout::kAtrA), 0);
  EXPECT_EQ(Image().GetByte(chlayout::kAtrB), 3);
  EXPECT_EQ(images_->Channel(3).atrLetters(), "B");
}

TEST_F(ListEditorTest, CarryMovesTheRangePastItsNeighbourWithinTheBank) {
  struct Case {
    const char* what;
    Op operation;
    int row;
    std::optional<RowRange> selection;
    ListResult result;
    std::string names;  // channels 0-6
    int cursor;
    std::optional<RowRange> selected;
    int priority1;  // a reference to channel 2 afterwards
    int a;          // the A marker, on channel 1 before
  };
  const Case cases[] = {
      {"one row down", Op::kCarryDown, 1, std::nullopt, ListResult::kDone, "CH0 CH2 CH1 CH3 CH4 CH5 CH6", 2,
       std::nullopt, 1, 2},
      {"a range up", Op::kCarryUp, 3, RowRange{2, 3}, ListResult::kDone, "CH0 CH2 CH3 CH1 CH4 CH5 CH6", 1,
       RowRange{1, 2}, 1, 3},
      {"the first row up", Op::kCarryUp, 0, std::nullopt, ListResult::kNotApplicable, "CH0 CH1 CH2 CH3 CH4 CH5 CH6", -1,
       std::nullopt, 2, 1},
      {"the last row of the bank down", Op::kCarryDown, 3, std::nullopt, ListResult::kNotApplicable,
       "CH0 CH1 CH2 CH3 CH4 CH5 CH6", -1, std::nullopt, 2, 1},
      {"the first row of bank 1 up", Op::kCarryUp, 4, std::nullopt, ListResult::kNotApplicable,
       "CH0 CH1 CH2 CH3 CH4 CH5 CH6", -1, std::nullopt, 2, 1},
  };
  for (const Case& c : cases) {
    Use({4, 3});
    Image().SetByte(kPriority1Of3, 2);
    Image().SetByte(chlayout::kAtrA, 1);
    const int bank = c.row < 4 ? 0 : 1;
    const cmcEeprom before = Image();
    ListOutcome outcome = Run(Command(c.operation, bank, c.row, c.selection));
    EXPECT_EQ(outcome.result, c.result) << c.what;
    EXPECT_EQ(Names(0, 6), c.names) << c.what;
    EXPECT_EQ(Image().GetByte(kPriority1Of3), c.priority1) << c.what;
    EXPECT_EQ(Image().GetByte(chlayout::kAtrA), c.a) << c.what;
    EXPECT_EQ(outcome.cursor.value_or(-1), c.cursor) << c.what;
    EXPECT_EQ(outcome.selection.has_value(), c.selected.has_value()) << c.what;
    if (c.selected && outcome.selection) {
      EXPECT_EQ(outcome.selection->first, c.selected->first) << c.what;
      EXPECT_EQ(outcome.selection->last, c.selected->last) << c.what;
    }
    if (c.result != ListResult::kDone) {
      EXPECT_EQ(Image(), before) << c.what;
    }
  }
}

TEST_F(ListEditorTest, ClearReturnsTheRowsToTheInitialRecordsKeepingTheirMarkers) {
  Use({4, 3});
  Image().SetByte(chlayout::kAtrB, 2);
  ListOutcome cancelled = Run(Command(Op::kClear, 0, 1, RowRange{1, 2}), {MsgAnswer::Cancel});
  EXPECT_EQ(cancelled.result, ListResult::kCancelled);
  EXPECT_EQ(Names(0, 3), "CH0 CH1 CH2 CH3");
  ListOutcome cleared = Run(Command(Op::kClear, 0, 1, RowRange{1, 2}));
  EXPECT_EQ(Shown(), "GI_AppMess_Conv_Clear");
  EXPECT_EQ(cleared.status, "GI_AppMess_S_Clear");
  EXPECT_EQ(Names(0, 3), "CH0 INI1 INI2 CH3");
  EXPECT_FALSE(images_->Channel(1).inUse);
  EXPECT_EQ(images_->Channel(2).atrLetters(), "B");
}

TEST_F(ListEditorTest, DeleteIsRefusedOnTheAAndBChannelsExceptOnDpmr446) {
  struct Case {
    ModelType modelType;
    int marker;
    ListResult result;
    std::string shown;
    std::string names;
  };
  const Case cases[] = {
      {kPmr, chlayout::kAtrA, ListResult::kRefused, "GI_AppMess_ChErr_DelPrio", "CH0 CH1 CH2 CH3"},
      {kPmr, chlayout::kAtrB, ListResult::kRefused, "GI_AppMess_ChErr_DelPrio", "CH0 CH1 CH2 CH3"},
      {kDpmr446, chlayout::kAtrA, ListResult::kDone, "GI_AppMess_Conv_Delete", "CH0 CH3 CH4 CH5"},
  };
  for (const Case& c : cases) {
    Use({4, 3}, c.modelType);
    Image().SetByte(c.marker, 2);
    ListOutcome outcome = Run(Command(Op::kDelete, 0, 1, RowRange{1, 2}));
    EXPECT_EQ(outcome.result, c.result) << ModelNumber(c.modelType);
    EXPECT_EQ(Shown(), c.shown) << ModelNumber(c.modelType);
    EXPECT_EQ(Names(0, 3), c.names) << ModelNumber(c.modelType);
    if (c.result == ListResult::kRefused) {
      EXPECT_EQ(box_->shown[0].icon, MsgIcon::Error);
      EXPECT_EQ(box_->shown[0].caption, "Title");
    }
  }
}

TEST_F(ListEditorTest, DeleteRemovesTheRangeAndResetsReferencesToIt) {
  Use({4, 3});
  Image().SetByte(kPriority1Of3, 2);
  Image().SetByte(kPriority1Of3 - 3, 0x55);  // priority channel 1 names a channel (mode 5)
  Image().SetByte(kPriority1Of3 + 1, 5);     // priority channel 2: channel 5, after the range
  Image().SetByte(chlayout::kAtrE, 1);
  Image().SetByte(chlayout::kAtrEActive, chlayout::kAtrEActiveBit);
  ListOutcome cancelled = Run(Command(Op::kDelete, 0, 2, RowRange{1, 2}), {MsgAnswer::Cancel});
  EXPECT_EQ(cancelled.result, ListResult::kCancelled);
  EXPECT_EQ(Names(0, 6), "CH0 CH1 CH2 CH3 CH4 CH5 CH6");

  ListOutcome outcome = Run(Command(Op::kDelete, 0, 2, RowRange{1, 2}));
  EXPECT_EQ(outcome.result, ListResult::kDone);
  EXPECT_EQ(outcome.status, "GI_AppMess_S_Delete");
  EXPECT_EQ(Names(0, 4), "CH0 CH3 CH4 CH5 CH6");
  EXPECT_EQ(datCh::BankSize(Image(), 0), 2);
  EXPECT_EQ(outcome.deleted, 2);
  EXPECT_TRUE(outcome.selectionRemoved);
  EXPECT_EQ(outcome.cursor, 1);
  EXPECT_EQ(Image().GetByte(kPriority1Of3), 0);
  EXPECT_EQ(Image().GetByte(kPriority1Of3 - 3), 0x15);  // back to mode 1
  EXPECT_EQ(Image().GetByte(kPriority1Of3 + 1), 3);
  EXPECT_EQ(Image().GetByte(chlayout::kAtrEActive) & chlayout::kAtrEActiveBit, 0);  // the E marker went off first
}

TEST_F(ListEditorTest, DeletingBlankRowsAsksNothingAndShrinksTheBank) {
  Use({6, 3});
  Blank(4);
  Blank(5);
  ListOutcome outcome = Run(Command(Op::kDelete, 0, 4, RowRange{4, 5}));
  EXPECT_EQ(outcome.result, ListResult::kDone);
  EXPECT_EQ(Shown(), "");
  EXPECT_EQ(datCh::BankSize(Image(), 0), 4);
  EXPECT_EQ(Names(3, 4), "CH3 CH6");
}

TEST_F(ListEditorTest, InsertPutsInitialRecordsAtTheFirstRowOfTheRange) {
  Use({4, 3});
  Image().SetByte(kPriority1Of3, 2);
  ListOutcome outcome = Run(Command(Op::kInsert, 0, 2, RowRange{1, 2}));
  EXPECT_EQ(outcome.result, ListResult::kDone);
  EXPECT_EQ(outcome.status, "GI_AppMess_S_Insert");
  EXPECT_EQ(outcome.inserted, 2);
  ASSERT_TRUE(outcome.selection);
  EXPECT_EQ(outcome.selection->first, 1);
  EXPECT_EQ(Names(0, 8), "CH0 INI1 INI1 CH1 CH2 CH3 CH4 CH5 CH6");
  EXPECT_EQ(datCh::BankSize(Image(), 0), 6);
  EXPECT_EQ(Image().GetByte(kPriority1Of3), 4);
  // The row after the bank appends to it.
  Run(Command(Op::kInsert, 0, 6));
  EXPECT_EQ(Names(5, 7), "CH3 INI6 CH4");
  EXPECT_EQ(datCh::BankSize(Image(), 0), 7);
}

TEST_F(ListEditorTest, AnInsertWithoutRoomChangesNothing) {
  struct Case {
    std::vector<int> sizes;
    std::optional<RowRange> selection;
    ModelType modelType;
    int aliases;
  };
  const Case cases[] = {
      {{128}, std::nullopt, kPmr, 0},              // 128 channels in use
      {{100, 27}, RowRange{0, 1}, kPmr, 0},        // room for one, two asked
      {{120}, std::nullopt, kDpmr446, 100},        // the memory is full before 128 channels
      {{4, 3}, RowRange{0, 2147483647}, kPmr, 0},  // a selection past every limit
  };
  for (const Case& c : cases) {
    Use(c.sizes, c.modelType);
    memmap::SetAliasCount(Image(), c.aliases);
    const cmcEeprom before = Image();
    ListOutcome outcome = Run(Command(Op::kInsert, 0, 0, c.selection));
    EXPECT_EQ(outcome.result, ListResult::kRefused);
    EXPECT_EQ(Shown(), "GI_AppMess_ChErr_Overflow");
    EXPECT_EQ(Image(), before);
  }
  EXPECT_TRUE(recorded_.empty());
}

TEST_F(ListEditorTest, AliasRangesAreDeletedAndInsertedAsAWhole) {
  Use({4, 3});
  for (int n = 0; n < 100; ++n) images_->SetAlias(images_->initial, n, 'z');
  for (int n = 0; n < 6; ++n) images_->SetAlias(Image(), n, static_cast<char>('a' + n));
  memmap::SetAliasCount(Image(), 6);
  const RecordList aliases{recordkind::kAlias, 0, 5};
  ListOutcome deleted = Run({Op::kDelete, aliases, 1, RowRange{1, 3}, 0});
  EXPECT_EQ(deleted.result, ListResult::kDone);
  EXPECT_EQ(Shown(), "GI_AppMess_Conv_Delete");
  EXPECT_EQ(images_->AliasLetters(0, 2), "aef");
  EXPECT_EQ(memmap::AliasCount(Image()), 3);
  const RecordList three{recordkind::kAlias, 0, 2};
  Run({Op::kInsert, three, 3, std::nullopt, 0});
  EXPECT_EQ(images_->AliasLetters(0, 3), "aefz");
  // A full list takes no more.
  memmap::SetAliasCount(Image(), 100);
  const cmcEeprom full = Image();
  EXPECT_EQ(Run({Op::kInsert, RecordList{recordkind::kAlias, 0, 99}, 0, std::nullopt, 0}).result, ListResult::kRefused);
  EXPECT_EQ(Image(), full);
}

TEST_F(ListEditorTest, TheBankSizeGrowsAndShrinksWithinItsLimits) {
  struct Case {
    const char* what;
    std::vector<int> sizes;
    std::vector<int> blanks;  // channels not in use
    int asked;
    std::string shown;
    int size0;
    int size1;
  };
  const Case cases[] = {
      {"grow", {4, 3}, {}, 6, "", 6, 3},
      {"grow past the memory", {4, 3}, {}, 200, "GI_AppMess_ChErr_Overflow", 125, 3},
      {"shrink over blank channels", {6, 3}, {4, 5}, 4, "", 4, 3},
      {"shrink past a channel in use", {6, 3}, {5}, 3, "GI_AppMess_ChErr_NotBlank", 5, 3},
      {"below nothing", {0, 3}, {}, -1, "GI_AppMess_ChErr_NoCh", 0, 3},
  };
  for (const Case& c : cases) {
    Use(c.sizes);
    for (int blank : c.blanks) Blank(blank);
    ListCommand command = Command(Op::kResizeBank, 0, 0);
    command.size = c.asked;
    ListOutcome outcome = Run(command);
    EXPECT_EQ(Shown(), c.shown) << c.what;
    EXPECT_EQ(datCh::BankSize(Image(), 0), c.size0) << c.what;
    EXPECT_EQ(datCh::BankSize(Image(), 1), c.size1) << c.what;
    // Bank 1 keeps its channels, moved along.
    const int first1 = datCh::FirstChannel(Image(), 1);
    EXPECT_EQ(Names(first1, first1 + 2), c.sizes[0] == 0 ? "CH0 CH1 CH2"
                                                         : "CH" + std::to_string(c.sizes[0]) + " CH" +
                                                               std::to_string(c.sizes[0] + 1) + " CH" +
                                                               std::to_string(c.sizes[0] + 2))
        << c.what;
    if (!c.shown.empty()) {
      EXPECT_EQ(box_->shown[0].icon, MsgIcon::Error) << c.what;
    }
  }
  Use({6, 3});
  Blank(5);
  Image().SetByte(chlayout::kAtrB, 5);  // a marked blank channel stays
  EXPECT_EQ(editor_->BankSizeLimits(kKind, 0).minimum, 6);
  EXPECT_EQ(editor_->BankSizeLimits(kKind, 0).maximum, 6 + 128 - 9);
}

TEST_F(ListEditorTest, MenuItemsAreEnabledWhereTheirCommandCanRun) {
  Use({6, 3});
  Blank(5);
  struct Case {
    Op operation;
    int row;
    std::optional<RowRange> selection;
    bool clipboardHoldsChannels;
    bool enabled;
  };
  const Case cases[] = {
      {Op::kCopy, 1, std::nullopt, false, true},         {Op::kCopy, 5, std::nullopt, false, false},
      {Op::kClear, 5, std::nullopt, false, false},       {Op::kDelete, 5, std::nullopt, false, false},
      {Op::kDelete, 6, std::nullopt, false, false},      {Op::kPaste, 1, std::nullopt, false, false},
      {Op::kPaste, 1, std::nullopt, true, true},         {Op::kPaste, 5, std::nullopt, true, true},
      {Op::kPaste, 6, std::nullopt, true, false},        {Op::kCarryUp, 0, std::nullopt, false, false},
      {Op::kCarryUp, 1, std::nullopt, false, true},      {Op::kCarryDown, 5, std::nullopt, false, false},
      {Op::kCarryDown, 3, RowRange{3, 5}, false, false}, {Op::kCarryDown, 3, RowRange{2, 4}, false, true},
      {Op::kInsert, 6, std::nullopt, false, true},       {Op::kInsert, 7, std::nullopt, false, false},
  };
  for (const Case& c : cases) {
    clipboard_.clear();
    if (c.clipboardHoldsChannels) clipboard_.copy(Image(), kKind, 0, 1);
    EXPECT_EQ(editor_->Enabled(Command(c.operation, 0, c.row, c.selection)), c.enabled)
        << static_cast<int>(c.operation) << " on " << c.row;
  }
  // Alias rows beyond the entries in use.
  memmap::SetAliasCount(Image(), 2);
  const RecordList aliases{recordkind::kAlias, 0, 1};
  clipboard_.copy(Image(), recordkind::kAlias, 0, 1);
  EXPECT_TRUE(editor_->Enabled({Op::kCopy, aliases, 1, std::nullopt, 0}));
  EXPECT_FALSE(editor_->Enabled({Op::kCopy, aliases, 2, std::nullopt, 0}));
  EXPECT_FALSE(editor_->Enabled({Op::kPaste, aliases, 2, std::nullopt, 0}));
  EXPECT_TRUE(editor_->Enabled({Op::kInsert, aliases, 2, std::nullopt, 0}));
  EXPECT_FALSE(editor_->Enabled({Op::kCopy, RecordList{9, 0, 5}, 1, std::nullopt, 0}));
}

}  // namespace
