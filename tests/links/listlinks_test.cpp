#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "core/gtex.h"
#include "link_host.h"
#include "links/celllinks.h"
#include "links/linktable.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/clipch.h"
#include "model/cloneio.h"
#include "model/memorymap.h"
#include "platform/clock.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "support/recording_message_box.h"

namespace {

constexpr ModelType kPmr = ModelType::kPmr;
constexpr int kPriority1Of0 = 0xAB7C + 16;

// The shipped overlay and the PMR initial image (16 channels "PMR 1" to
// "PMR 16" in bank 0, the A and B markers on channel 0), with an evaluator
// that has a clipboard, the initial image and a status line.
class ListLinksTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
    overlay_.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
    cloneio::LoadInitialImage(overlay_, kPmr, initial_);
    image_ = initial_;
    environment_.modelType = kPmr;
    environment_.clipboard = &clipboard_;
    environment_.initialImage = &initial_;
    environment_.showStatus = [this](const std::string& text) { statuses_.push_back(text); };
    environment_.recordChange = [this](ListOperation operation, const cmcEeprom&) { recorded_.push_back(operation); };
  }
  void TearDown() override { unsetenv("RWQ_DATA_DIR"); }

  struct Result {
    int changes;
    std::optional<ListResult> result;
    cmcCellCapsule::RowSelection selection;
    cmcCellCapsule::Redirect redirect;
    bool disabled;
  };
  Result Evaluate(int type, int link, std::int32_t number, int menuCommand,
                  std::optional<std::pair<int, int>> selection = std::nullopt) {
    cmcCellObj cell;
    cell.type = type;
    cell.link = link;
    cell.parameter = number;
    cmcCellCapsule request;
    request.cell = &cell;
    request.menuCommand = menuCommand;
    if (selection) request.rowSelection = {0, 1, selection->first, selection->second};
    links_.Evaluate(request, false);
    return {links_.LastChangeBits(), links_.LastListResult(), request.rowSelection, request.redirect,
            cell.StateFlag(cmcCellObj::kDisabledFlag)};
  }
  Result Menu(int command, std::int32_t row, std::optional<std::pair<int, int>> selection = std::nullopt) {
    return Evaluate(ct::CT_Mch, cl::CL_Mch_Text, row, command, selection);
  }
  bool ItemEnabled(int item, std::int32_t row, int type = ct::CT_Mch) { return !Evaluate(type, item, row, 0).disabled; }
  std::string Name(int channel) {
    datCh ch(image_);
    ch.load(datCh::KindOf(kPmr), channel);
    std::string name = ch.name;
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
  }
  std::string Names(int first, int last) {
    std::string names;
    for (int n = first; n <= last; ++n) names += (n > first ? "," : "") + Name(n);
    return names;
  }
  std::string Status(std::string_view name) { return overlay_.GetLine(name, 0); }

  cmcGTex overlay_;
  cmcFCache choices_{overlay_};
  cmcEeprom initial_;
  cmcEeprom image_;
  RecordingLinkHost host_;
  datClipCh clipboard_;
  LinkEnvironment environment_{image_, overlay_, choices_, host_};
  CellLinks links_{environment_};
  std::vector<std::string> statuses_;
  std::vector<ListOperation> recorded_;
};

TEST_F(ListLinksTest, AMenuCommandOnARowRunsOnItsBankAndSaysWhereTheCursorGoes) {
  image_.SetByte(kPriority1Of0, 3);
  Result carried = Menu(cl::CL_PMenu_CarryDown, 3);
  EXPECT_EQ(carried.result, ListResult::kDone);
  EXPECT_EQ(carried.changes, changebit::kEvaluated | changebit::kRecordModified | changebit::kRebuildSheet);
  EXPECT_TRUE(carried.redirect.active);
  EXPECT_EQ(carried.redirect.number, 4);
  EXPECT_EQ(Names(2, 5), "PMR 3,PMR 5,PMR 4,PMR 6");
  EXPECT_EQ(image_.GetByte(kPriority1Of0), 4);
  EXPECT_EQ(recorded_, std::vector<ListOperation>{ListOperation::kCarryDown});
  // The image was encoded again: a decode of it gives the same channels.
  cmcEeprom decoded = image_;
  memmap::Decode(decoded);
  EXPECT_EQ(decoded, image_);
  // The last channel of the bank goes no further.
  EXPECT_EQ(Menu(cl::CL_PMenu_CarryDown, 15).result, ListResult::kNotApplicable);
  EXPECT_EQ(recorded_.size(), 1u);
}

TEST_F(ListLinksTest, CopyAndPasteCarryTheSelectionAndTheStatusTexts) {
  Result copied = Menu(cl::CL_PMenu_Copy, 1, std::pair{1, 2});
  EXPECT_EQ(copied.result, ListResult::kDone);
  EXPECT_EQ(copied.changes, changebit::kEvaluated);
  RecordingMessageBox box;
  Result pasted = Menu(cl::CL_PMenu_Paste, 14);
  EXPECT_EQ(pasted.result, ListResult::kDone);
  ASSERT_EQ(box.shown.size(), 1u);  // rows in use are overwritten only after asking
  EXPECT_EQ(box.shown[0].icon, platform::MsgIcon::Warning);
  EXPECT_EQ(box.shown[0].buttons, platform::MsgButtons::OkCancel);
  EXPECT_EQ(Names(13, 15), "PMR 14,PMR 2,PMR 3");
  EXPECT_EQ(pasted.selection.flags, 3);
  EXPECT_EQ(pasted.selection.first, 14);
  EXPECT_EQ(pasted.selection.last, 15);
  EXPECT_EQ(statuses_, (std::vector<std::string>{Status("GI_AppMess_S_Copy"), Status("GI_AppMess_S_Paste")}));
  EXPECT_FALSE(statuses_[0].empty());
}

TEST_F(ListLinksTest, DeletingTheAChannelIsRefusedWithItsMessage) {
  RecordingMessageBox box;
  const cmcEeprom before = image_;
  Result refused = Menu(cl::CL_PMenu_Delete, 0);
  EXPECT_EQ(refused.result, ListResult::kRefused);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, overlay_.GetBlockText("GI_AppMess_ChErr_DelPrio"));
  EXPECT_EQ(box.shown[0].caption, "RW-M52-Q");
  EXPECT_EQ(box.shown[0].icon, platform::MsgIcon::Error);
  EXPECT_EQ(image_, before);
  Result deleted = Menu(cl::CL_PMenu_Delete, 6);
  EXPECT_EQ(deleted.result, ListResult::kDone);
  EXPECT_EQ(deleted.selection.flags, 2);  // the selection is removed
  EXPECT_EQ(deleted.redirect.number, 6);
  EXPECT_EQ(datCh::BankSize(image_, 0), 15);
  EXPECT_EQ(Names(5, 6), "PMR 6,PMR 8");
}

TEST_F(ListLinksTest, ListEventsAreTheRefreshesOfTheSheetTitleAndTree) {
  platform::ManualClock clock;
  TaskScheduler scheduler{clock};
  cmcEvMan events{scheduler};
  environment_.events = &events;
  Menu(cl::CL_PMenu_Copy, 1);
  EXPECT_EQ(events.QueuedCount(), 0u);  // nothing changed
  Menu(cl::CL_PMenu_Insert, 1);
  EXPECT_EQ(events.QueuedCount(), 4u);  // inserted, title, bank images, cells
  environment_.events = nullptr;
}

TEST_F(ListLinksTest, MenuItemsAreDisabledWhereTheirCommandCannotRun) {
  struct Case {
    int item;
    int row;
    bool enabled;
  };
  const Case before[] = {
      {cl::CL_PMenu_Copy, 3, true},     {cl::CL_PMenu_Copy, 16, false},  {cl::CL_PMenu_Paste, 3, false},
      {cl::CL_PMenu_CarryUp, 0, false}, {cl::CL_PMenu_CarryUp, 1, true}, {cl::CL_PMenu_CarryDown, 15, false},
      {cl::CL_PMenu_Delete, 16, false}, {cl::CL_PMenu_Insert, 16, true}, {cl::CL_PMenu_Clear, 16, false},
  };
  for (const Case& c : before) EXPECT_EQ(ItemEnabled(c.item, c.row), c.enabled) << c.item << " on " << c.row;
  Menu(cl::CL_PMenu_Copy, 3);
  EXPECT_TRUE(ItemEnabled(cl::CL_PMenu_Paste, 3));
  // A blank row of the bank takes a paste; the row after the bank does not.
  datCh blank(image_);
  blank.load(datCh::KindOf(kPmr), 5);
  blank.inUse = false;
  blank.store();
  EXPECT_TRUE(ItemEnabled(cl::CL_PMenu_Paste, 5));
  EXPECT_FALSE(ItemEnabled(cl::CL_PMenu_Copy, 5));
  EXPECT_FALSE(ItemEnabled(cl::CL_PMenu_Paste, 16));
  // Without a clipboard nothing is offered and nothing runs.
  environment_.clipboard = nullptr;
  EXPECT_FALSE(ItemEnabled(cl::CL_PMenu_Copy, 3));
  const cmcEeprom unchanged = image_;
  EXPECT_EQ(Menu(cl::CL_PMenu_Insert, 3).result, ListResult::kNotApplicable);
  EXPECT_EQ(image_, unchanged);
}

TEST_F(ListLinksTest, TheBankSizeCellInsertsAndDeletesAtTheBanksEnd) {
  auto typed = [this](const std::string& text) {
    cmcCellObj cell;
    cell.type = ct::CT_BankOp;
    cell.link = cl::CL_Mch_Bank;
    cmcCellCapsule request;
    request.cell = &cell;
    request.editResult = kTextCommitted;
    request.editedText = text;
    links_.Evaluate(request, false);
    return request.displayText;
  };
  RecordingMessageBox box;
  cmcCellObj size;
  size.type = ct::CT_BankOp;
  size.link = cl::CL_Mch_Bank;
  EXPECT_EQ(links_.TextOf(size, 0), "16");
  EXPECT_EQ(typed("18"), "18");
  EXPECT_EQ(links_.LastChangeBits() & changebit::kRowRewritten, changebit::kRowRewritten);
  EXPECT_EQ(datCh::ChannelsInUse(image_), 18);
  EXPECT_EQ(Name(15), "PMR 16");
  EXPECT_TRUE(box.shown.empty());
  // Channel 15 is in use: the bank shrinks only by its two blank channels.
  EXPECT_EQ(typed("10"), "16");
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, overlay_.GetBlockText("GI_AppMess_ChErr_NotBlank"));
  const int most = 16 + datCh::ChannelsThatFit(image_, kPmr);
  EXPECT_EQ(typed("200"), std::to_string(most));
  EXPECT_EQ(box.shown.back().text, overlay_.GetBlockText("GI_AppMess_ChErr_Overflow"));
  EXPECT_EQ(recorded_.size(), 3u);
}

}  // namespace
