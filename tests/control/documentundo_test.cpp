#include "control/documentundo.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "control/document.h"
#include "core/gtex.h"
#include "links/celllinks.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/clipch.h"
#include "platform/clock.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "sheet/headless.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

namespace {

// A PMR document (16 channels "PMR 1" to "PMR 16" in bank 0) edited through
// the evaluator as the sheets edit it, with its undo wired as the controller
// wires it.
class DocumentUndoTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
    overlay_.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
    document_.LoadModel(ModelType::kPmr);
    environment_.modelType = ModelType::kPmr;
    environment_.clipboard = &clipboard_;
    environment_.initialImage = &document_.Initial();
    environment_.recorder = &undo_;
    environment_.undo = &undo_;
    undo_.SetAfterStep([this] { ++afterSteps_; });
  }
  void TearDown() override { unsetenv("RWQ_DATA_DIR"); }

  void Type(int link, int channel, const std::string& text) {
    cmcCellObj cell = ChannelCell(link, channel);
    cmcCellCapsule request;
    request.cell = &cell;
    request.editResult = kTextCommitted;
    request.editedText = text;
    links_.Evaluate(request, false);
  }
  // A pop-up menu command on a channel row; the change bits.
  int Menu(int command, int channel, std::optional<std::pair<int, int>> selection = std::nullopt) {
    cmcCellObj cell = ChannelCell(cl::CL_Mch_Text_Pmr, channel);
    cmcCellCapsule request;
    request.cell = &cell;
    request.menuCommand = command;
    if (selection) request.rowSelection = {0, 1, selection->first, selection->second};
    links_.Evaluate(request, false);
    return links_.LastChangeBits();
  }
  // An Edit menu item as the menu shows it (key 0) or clicks it (Enter).
  struct Item {
    std::string caption;
    bool disabled;
  };
  Item EditItem(int link, int key = cellkey::kEvaluate) {
    cmcCellObj cell;
    cell.type = ct::CT_Null;
    cell.link = link;
    cmcCellCapsule request;
    request.cell = &cell;
    request.key = key;
    links_.Evaluate(request, false);
    return {request.displayText, cell.StateFlag(cmcCellObj::kDisabledFlag)};
  }
  static cmcCellObj ChannelCell(int link, int channel) {
    cmcCellObj cell;
    cell.type = ct::CT_Mch;
    cell.link = link;
    cell.parameter = channel;
    cell.popupMenu = "GI_PMenu_Mch";
    return cell;
  }

  cmcGTex overlay_;
  Document document_{overlay_};
  platform::ManualClock clock_;
  TaskScheduler scheduler_{clock_};
  cmcEvMan events_{scheduler_};
  DocumentUndo undo_{document_, overlay_, &events_};
  cmcFCache choices_{overlay_};
  NoEditors editors_;
  datClipCh clipboard_;
  LinkEnvironment environment_{document_.Edit(), overlay_, choices_, editors_};
  CellLinks links_{environment_};
  RecordingMessageBox box_;
  int afterSteps_ = 0;
};

TEST_F(DocumentUndoTest, EditsAndClipboardCommandsGoBackAndAgainStepByStep) {
  struct Action {
    std::string name;  // the step's words
    std::function<void()> run;
  };
  const std::vector<Action> actions = {
      {"Edit", [&] { Type(cl::CL_Mch_Text_Pmr, 0, "HOME"); }},
      {"Paste",
       [&] {
         Menu(cl::CL_PMenu_Copy, 1, std::pair{1, 3});  // copying changes nothing: no step
         Menu(cl::CL_PMenu_Paste, 12);
       }},
      {"Delete",
       [&] {
         Menu(cl::CL_PMenu_Delete, 5, std::pair{5, 6});
       }},
      {"Insert", [&] { Menu(cl::CL_PMenu_Insert, 2); }},
      {"Move down", [&] { Menu(cl::CL_PMenu_CarryDown, 7); }},
      {"Edit", [&] { Type(cl::CL_Mch_FreqR_Pmr, 3, "446.09375"); }},
      {"Clear", [&] { Menu(cl::CL_PMenu_Clear, 9); }},
  };
  std::vector<cmcEeprom> states{document_.Edit()};
  for (const Action& action : actions) {
    action.run();
    ASSERT_FALSE(document_.Edit() == states.back()) << action.name << " changed nothing";
    EXPECT_EQ(undo_.UndoWhat(), action.name);
    states.push_back(document_.Edit());
  }
  ASSERT_EQ(document_.History().StepCount(), actions.size());

  for (std::size_t n = actions.size(); n > 0; --n) {
    EXPECT_EQ(EditItem(cl::CL_Menu_Edit_Undo).caption, "Undo " + actions[n - 1].name);
    EditItem(cl::CL_Menu_Edit_Undo, cellkey::kEnter);
    EXPECT_TRUE(document_.Edit() == states[n - 1]) << "undo of " << actions[n - 1].name;
  }
  EXPECT_EQ(EditItem(cl::CL_Menu_Edit_Undo).caption, "Undo");
  EXPECT_TRUE(EditItem(cl::CL_Menu_Edit_Undo).disabled);
  for (std::size_t n = 1; n <= actions.size(); ++n) {
    EXPECT_EQ(EditItem(cl::CL_Menu_Edit_Redo).caption, "Redo " + actions[n - 1].name);
    EditItem(cl::CL_Menu_Edit_Redo, cellkey::kEnter);
    EXPECT_TRUE(document_.Edit() == states[n]) << "redo of " << actions[n - 1].name;
  }
  EXPECT_TRUE(EditItem(cl::CL_Menu_Edit_Redo).disabled);
  // Taking steps is no step itself.
  EXPECT_EQ(document_.History().StepCount(), actions.size());
  EXPECT_EQ(afterSteps_, static_cast<int>(2 * actions.size()));
}

TEST_F(DocumentUndoTest, UndoAndRedoFromASheetsPopUpMenuRebuildTheSheetAndAreNoSteps) {
  const cmcEeprom before = document_.Edit();
  Menu(cl::CL_PMenu_Insert, 2);
  const cmcEeprom inserted = document_.Edit();
  ASSERT_FALSE(inserted == before);
  const int undone = Menu(cl::CL_Menu_Edit_Undo, 5);
  EXPECT_TRUE(document_.Edit() == before);
  EXPECT_EQ(undone & changebit::kRebuildSheet, changebit::kRebuildSheet);
  EXPECT_EQ(Menu(cl::CL_Menu_Edit_Undo, 5) & changebit::kRebuildSheet, 0);  // nothing left to undo
  Menu(cl::CL_Menu_Edit_Redo, 0);
  EXPECT_TRUE(document_.Edit() == inserted);
  EXPECT_EQ(document_.History().StepCount(), 1u);
  EXPECT_FALSE(document_.History().CanRedo());
}

TEST_F(DocumentUndoTest, TheModifiedStateFollowsUndoAndRedoBackToTheSavedImage) {
  TempDir dir;
  EXPECT_FALSE(document_.IsModified());
  Type(cl::CL_Mch_Text_Pmr, 0, "ONE");
  Type(cl::CL_Mch_Text_Pmr, 1, "TWO");
  ASSERT_EQ(document_.SaveAs(dir.File("two.rwc")), Document::SaveResult::kSaved);
  EXPECT_TRUE(document_.History().CanUndo());  // a save keeps the history
  Type(cl::CL_Mch_Text_Pmr, 2, "THREE");
  EXPECT_TRUE(document_.IsModified());
  undo_.Undo();
  EXPECT_FALSE(document_.IsModified());
  undo_.Undo();
  EXPECT_TRUE(document_.IsModified());
  undo_.Undo();
  EXPECT_TRUE(document_.IsModified());
  undo_.Redo();
  undo_.Redo();
  EXPECT_FALSE(document_.IsModified());
}

TEST_F(DocumentUndoTest, NewOpenModelChangeAndARadioReadStartAFreshHistory) {
  TempDir dir;
  ASSERT_EQ(document_.SaveAs(dir.File("plain.rwc")), Document::SaveResult::kSaved);
  const cmcEeprom radio = document_.Edit();
  const std::vector<std::pair<std::string, std::function<void()>>> flows = {
      {"new", [&] { document_.New(); }},
      {"open", [&] { ASSERT_EQ(document_.Open(dir.File("plain.rwc")), Document::OpenResult::kOpened); }},
      {"model change", [&] { document_.LoadModel(ModelType::kPmr); }},
      {"clone read", [&] { document_.TakeFromRadio(radio); }},
  };
  for (const auto& [name, flow] : flows) {
    Type(cl::CL_Mch_Text_Pmr, 0, "X" + name.substr(0, 3));
    undo_.Undo();
    Type(cl::CL_Mch_Text_Pmr, 1, "Y" + name.substr(0, 3));
    ASSERT_TRUE(undo_.UndoWhat() != "") << name;
    flow();
    EXPECT_EQ(document_.History().StepCount(), 0u) << name;
    EXPECT_EQ(undo_.UndoWhat(), "") << name;
    EXPECT_EQ(undo_.RedoWhat(), "") << name;
    EXPECT_TRUE(EditItem(cl::CL_Menu_Edit_Undo).disabled) << name;
  }
}

TEST_F(DocumentUndoTest, AModelChangedFromItsMenuItemLeavesAFreshHistory) {
  environment_.changeModel = [this](ModelType modelType) {
    document_.LoadModel(modelType);
    environment_.modelType = modelType;
  };
  Type(cl::CL_Mch_Text_Pmr, 0, "HOME");
  ASSERT_EQ(document_.History().StepCount(), 1u);
  EditItem(cl::CL_Model_Lmr, cellkey::kEnter);  // confirmed by the first button
  ASSERT_EQ(document_.Type(), ModelType::kLandMobile);
  EXPECT_EQ(document_.History().StepCount(), 0u);
  EXPECT_TRUE(EditItem(cl::CL_Menu_Edit_Undo).disabled);
}

TEST_F(DocumentUndoTest, AnImportMadeOutsideTheCellsIsOneStepWithItsName) {
  const cmcEeprom before = document_.Edit();
  // Typed with no recorder, as the import types into its own evaluator.
  environment_.recorder = nullptr;
  for (int channel = 0; channel < 4; ++channel) Type(cl::CL_Mch_Text_Pmr, channel, "IMP" + std::to_string(channel));
  EXPECT_EQ(document_.History().StepCount(), 0u);
  undo_.Record(before, "Import channels");
  EXPECT_EQ(document_.History().StepCount(), 1u);
  EXPECT_EQ(EditItem(cl::CL_Menu_Edit_Undo).caption, "Undo Import channels");
  EditItem(cl::CL_Menu_Edit_Undo, cellkey::kEnter);
  EXPECT_TRUE(document_.Edit() == before);
}

TEST_F(DocumentUndoTest, ATakenStepTellsTheViews) {
  std::vector<std::uint32_t> heard;
  struct Listener {
    static void Hear(void* data, const Event& event) {
      static_cast<std::vector<std::uint32_t>*>(data)->push_back(event.code);
    }
  };
  Type(cl::CL_Mch_Text_Pmr, 0, "HOME");
  clock_.Advance(cmcEvMan::kPumpIntervalMs);
  scheduler_.RunDue();
  events_.AddListener(&Listener::Hear, &heard);
  undo_.Undo();
  clock_.Advance(cmcEvMan::kPumpIntervalMs);
  scheduler_.RunDue();
  events_.RemoveListener(&Listener::Hear, &heard);
  for (std::uint32_t code : {ev::kCellsChangedAll, ev::kTitleRefresh, ev::kBankImages, ev::kRebuildMchWindow,
                             ev::kMenuStates, ev::kToolbarStates}) {
    EXPECT_NE(std::find(heard.begin(), heard.end(), code), heard.end()) << code;
  }
}

}  // namespace
