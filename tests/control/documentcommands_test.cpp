#include "control/documentcommands.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "links/celllinks.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/cloneio.h"
#include "model/memorymap.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "sheet/headless.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

namespace {

using platform::MsgAnswer;
using Answer = DocumentCommands::Answer;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The window's side: answers the dialogs from queues and records the rest.
class FakeWindow : public DocumentWindow {
 public:
  std::optional<std::string> AskOpenPath(const FileDialogRequest& request) override {
    openRequests.push_back(request);
    return Next(openAnswers);
  }
  std::optional<std::string> AskSavePath(const FileDialogRequest& request) override {
    saveRequests.push_back(request);
    return Next(saveAnswers);
  }
  void SetBusy(bool busy) override {
    busyChanges.push_back(busy);
    if (busy) ++busyCount;
  }
  void SetTitle(const std::string& text) override { title = text; }
  void CloseSheet() override { ++sheetsClosed; }
  void RebuildTree() override { ++treesRebuilt; }
  void ModelTypeChosen(ModelType modelType) override { chosenModel = modelType; }

  std::deque<std::optional<std::string>> openAnswers, saveAnswers;
  std::vector<FileDialogRequest> openRequests, saveRequests;
  std::vector<bool> busyChanges;
  int busyCount = 0;
  std::string title;
  int sheetsClosed = 0;
  int treesRebuilt = 0;
  std::optional<ModelType> chosenModel;

 private:
  static std::optional<std::string> Next(std::deque<std::optional<std::string>>& answers) {
    if (answers.empty()) return std::nullopt;
    std::optional<std::string> answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

class DocumentCommandsTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
    overlay_.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
    document_.LoadModel(ModelType::kPmr);
    events_.AddListener(&DocumentCommandsTest::Hear, this);
  }
  void TearDown() override {
    events_.RemoveListener(&DocumentCommandsTest::Hear, this);
    unsetenv("RWQ_DATA_DIR");
  }
  static void Hear(void* self, const Event& event) {
    static_cast<DocumentCommandsTest*>(self)->heard_.push_back(event.code);
  }

  void Type(int channel, const std::string& text) {
    cmcFCache choices(overlay_);
    NoEditors editors;
    LinkEnvironment environment{document_.Edit(), overlay_, choices, editors};
    environment.modelType = document_.Type();
    CellLinks links(environment);
    cmcCellObj cell;
    cell.type = ct::CT_Mch;
    cell.link = cl::CL_Mch_Operating_Freq;
    cell.parameter = channel;
    cmcCellCapsule request;
    request.cell = &cell;
    request.editResult = kTextCommitted;
    request.editedText = text;
    links.Evaluate(request, false);
  }

  // A saved, titled, then edited document.
  std::string SavedAndEdited() {
    const std::string path = dir_.File("mine.rwc");
    EXPECT_FALSE(commands_.SaveFile(path));
    Type(16, "446.10625");
    EXPECT_TRUE(document_.IsModified());
    return path;
  }

  cmcGTex overlay_;
  TempDir dir_;
  RecordingMessageBox box_;
  TaskScheduler scheduler_;
  cmcEvMan events_{scheduler_};
  Document document_{overlay_};
  std::string folder_ = "/nowhere";
  std::string stored_;
  cmcRecent recent_{10};
  FakeWindow window_;
  DocumentCommands commands_{document_, overlay_, events_, {folder_, stored_, recent_}, window_};
  std::vector<std::uint32_t> heard_;
};

TEST_F(DocumentCommandsTest, OpenEditSaveAsAndReopenGiveTheSameBytes) {
  window_.openAnswers = {RWQ_SOURCE_DATA_DIR "/Initial_PMR.rwc"};
  EXPECT_FALSE(commands_.OpenDocument());
  EXPECT_EQ(window_.openRequests.at(0).folder, "/nowhere");
  EXPECT_EQ(window_.openRequests.at(0).extension, "rwc");
  EXPECT_EQ(window_.title, "Initial_PMR.rwc - RW-M52-Q");
  Type(16, "446.10625");

  const std::string path = dir_.File("edited.rwc");
  window_.saveAnswers = {path};
  EXPECT_FALSE(commands_.SaveDocumentAs());
  EXPECT_EQ(window_.saveRequests.at(0).fileName, "Initial_PMR.rwc");
  EXPECT_EQ(window_.saveRequests.at(0).folder, RWQ_SOURCE_DATA_DIR);
  EXPECT_EQ(window_.title, "edited.rwc - RW-M52-Q");
  EXPECT_EQ(folder_, dir_.path().string());
  EXPECT_EQ(stored_, folder_);
  EXPECT_EQ(recent_.At(0), path);
  EXPECT_FALSE(document_.IsModified());
  const cmcEeprom saved = document_.Edit();
  const std::string bytes = ReadBytes(path);

  EXPECT_FALSE(commands_.OpenFile(path));
  EXPECT_EQ(document_.Edit(), saved);
  EXPECT_EQ(datCh::ChannelsInUse(document_.Edit()), 17);
  // Saving what was opened writes the same file again.
  EXPECT_FALSE(commands_.SaveDocument());
  EXPECT_EQ(ReadBytes(path), bytes);
  EXPECT_TRUE(box_.shown.empty());
  EXPECT_EQ(window_.busyChanges, (std::vector<bool>{true, false, true, false, true, false, true, false}));
}

TEST_F(DocumentCommandsTest, RefusedFilesShowTheirMessageAndChangeNothing) {
  const std::string lmr = ReadBytes(RWQ_SOURCE_DATA_DIR "/Initial_LMR.rwc");
  cmcEeprom newer = document_.Edit();
  newer.SetByte(memmap::addr::kDataFormatMarker, 2);
  const std::string newerPath = dir_.File("newer.rwc");
  ASSERT_EQ(cloneio::Save(overlay_, newerPath, newer, ModelType::kPmr), cloneio::SaveResult::kSaved);
  struct Case {
    std::string path;
    std::string_view messageBlock;
  };
  const Case cases[] = {
      {dir_.Write("damaged.rwc", lmr.substr(0, lmr.size() / 2)), gi::GI_Mess_FileErr_Format},
      {newerPath, gi::GI_Mess_FileErr_Newer},
      {dir_.Write("othermodel.rwc", "12340006\r\n" + lmr.substr(lmr.find('\n') + 1)), gi::GI_Mess_FileErr_Model},
  };
  const std::string path = SavedAndEdited();
  const cmcEeprom before = document_.Edit();
  for (const Case& c : cases) {
    box_.shown.clear();
    RecordingMessageBox box({MsgAnswer::No});
    EXPECT_TRUE(commands_.OpenFile(c.path)) << c.path;
    ASSERT_EQ(box.shown.size(), 2u) << c.path;
    EXPECT_NE(box.shown[1].text.find(overlay_.GetLine(c.messageBlock, 0)), std::string::npos)
        << box.shown[1].text << " / " << overlay_.GetLine(c.messageBlock, 0);
    EXPECT_EQ(document_.Edit(), before) << c.path;
    EXPECT_EQ(document_.FileName(), path) << c.path;
    EXPECT_TRUE(document_.IsModified()) << c.path;
    EXPECT_EQ(document_.Type(), ModelType::kPmr) << c.path;
  }
  EXPECT_EQ(window_.title, "mine.rwc - RW-M52-Q");
}

TEST_F(DocumentCommandsTest, UnsavedChangesAskFirstAndCancelChangesNothing) {
  const std::string path = SavedAndEdited();
  const cmcEeprom before = document_.Edit();
  const int closedBefore = window_.sheetsClosed;
  struct Case {
    const char* command;
    std::function<void()> run;
    std::string question;
  };
  const std::string other = RWQ_SOURCE_DATA_DIR "/Initial_LMR.rwc";
  const Case cases[] = {
      {"new", [&] { commands_.NewDocument(); }, "mine.rwc has changes that are not saved. Save them first?"},
      {"open another", [&] { commands_.OpenFile(other); }, overlay_.GetLine(gi::GI_Mess_Confirm_WriteAnother, 0)},
      {"open itself", [&] { commands_.OpenFile(path); }, "mine.rwc has changes that are not saved. Save them first?"},
      {"close", [&] { EXPECT_EQ(commands_.ConfirmDiscard(false), Answer::kCancel); },
       "mine.rwc has changes that are not saved. Save them first?"},
  };
  for (const Case& c : cases) {
    RecordingMessageBox box({MsgAnswer::Cancel});
    c.run();
    ASSERT_EQ(box.shown.size(), 1u) << c.command;
    EXPECT_EQ(box.shown[0].text, c.question) << c.command;
    EXPECT_EQ(box.shown[0].buttons, platform::MsgButtons::YesNoCancel);
    EXPECT_EQ(box.shown[0].icon, platform::MsgIcon::Warning);
    EXPECT_EQ(document_.Edit(), before) << c.command;
    EXPECT_EQ(document_.FileName(), path) << c.command;
    EXPECT_TRUE(document_.IsModified()) << c.command;
  }
  EXPECT_EQ(window_.sheetsClosed, closedBefore);
}

TEST_F(DocumentCommandsTest, YesSavesFirstAndACancelledSaveDialogCancelsTheCommand) {
  const std::string path = SavedAndEdited();
  {
    // Opening another file offers the save dialog even for a titled document.
    RecordingMessageBox box({MsgAnswer::Yes});
    EXPECT_TRUE(commands_.OpenFile(RWQ_SOURCE_DATA_DIR "/Initial_LMR.rwc"));
    EXPECT_EQ(window_.saveRequests.size(), 1u);
    EXPECT_EQ(document_.FileName(), path);
    EXPECT_TRUE(document_.IsModified());
  }
  {
    // New saves a titled document under its own name.
    RecordingMessageBox box({MsgAnswer::Yes});
    commands_.NewDocument();
    EXPECT_EQ(window_.saveRequests.size(), 1u);
    EXPECT_TRUE(document_.IsUntitled());
    EXPECT_FALSE(document_.IsModified());
    EXPECT_EQ(window_.title, "Untitled - RW-M52-Q");
  }
  Document reopened(overlay_);
  ASSERT_EQ(reopened.Open(path), Document::OpenResult::kOpened);
  EXPECT_EQ(datCh::ChannelsInUse(reopened.Edit()), 17);
}

TEST_F(DocumentCommandsTest, NoAnswerDiscardsAndAFileOfAnotherModelBringsItsModel) {
  SavedAndEdited();
  RecordingMessageBox box({MsgAnswer::No});
  window_.chosenModel.reset();
  EXPECT_FALSE(commands_.OpenFile(RWQ_SOURCE_DATA_DIR "/Initial_LMR.rwc"));
  EXPECT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(document_.Type(), ModelType::kLandMobile);
  EXPECT_EQ(window_.chosenModel, ModelType::kLandMobile);
  EXPECT_FALSE(document_.IsModified());
  EXPECT_NE(std::find(heard_.begin(), heard_.end(), ev::kImageReplaced), heard_.end());
  EXPECT_NE(std::find(heard_.begin(), heard_.end(), ev::kModelChanged), heard_.end());
}

TEST_F(DocumentCommandsTest, ModelChangeAsksWithTheWholeCautionAndSameModelDoesNothing) {
  SavedAndEdited();
  commands_.ChangeModel(ModelType::kPmr, true);
  EXPECT_TRUE(box_.shown.empty());
  {
    RecordingMessageBox box({MsgAnswer::Cancel});
    commands_.ChangeModel(ModelType::kDpmr446, true);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, overlay_.GetBlockText(gi::GI_AppMess_ChangeModel));
    EXPECT_EQ(box.shown[0].icon, platform::MsgIcon::Warning);
    EXPECT_EQ(document_.Type(), ModelType::kPmr);
    EXPECT_TRUE(document_.IsModified());
  }
  RecordingMessageBox box({MsgAnswer::Ok});
  commands_.ChangeModel(ModelType::kDpmr446, true);
  EXPECT_EQ(document_.Type(), ModelType::kDpmr446);
  EXPECT_EQ(window_.chosenModel, ModelType::kDpmr446);
  EXPECT_TRUE(document_.IsUntitled());
  EXPECT_FALSE(document_.IsModified());
  EXPECT_EQ(window_.title, "Untitled - RW-M52-Q");
}

TEST_F(DocumentCommandsTest, AFailedSaveKeepsNameFlagAndTitle) {
  const std::string path = SavedAndEdited();
  const cmcEeprom before = document_.Edit();
  EXPECT_TRUE(commands_.SaveFile(dir_.File("no/such/folder/x.rwc")));
  EXPECT_EQ(box_.shown.size(), 1u);
  EXPECT_EQ(document_.FileName(), path);
  EXPECT_EQ(document_.Edit(), before);
  EXPECT_TRUE(document_.IsModified());
  EXPECT_EQ(window_.title, "mine.rwc - RW-M52-Q");
  EXPECT_EQ(recent_.Count(), 1u);
}

TEST_F(DocumentCommandsTest, RecentEntriesShowTheirDisplayNameAndOpen) {
  const std::string path = SavedAndEdited();
  recent_.AddFirst("/elsewhere/R&D.rwc");
  EXPECT_EQ(commands_.RecentDisplayName(0), "/elsewhere/R&D.rwc");
  EXPECT_EQ(commands_.RecentDisplayName(1), "mine.rwc");
  EXPECT_EQ(commands_.RecentDisplayName(2), "");
  EXPECT_EQ(commands_.RecentDisplayName(-1), "");
  RecordingMessageBox box({MsgAnswer::No});
  EXPECT_FALSE(commands_.OpenRecent(1));
  EXPECT_EQ(document_.FileName(), path);
  EXPECT_FALSE(document_.IsModified());
  EXPECT_TRUE(commands_.OpenRecent(5));
}

}  // namespace
