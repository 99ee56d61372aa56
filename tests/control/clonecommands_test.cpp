// The controller's clone and port commands against the simulated radio: a
// read replaces the document, a write runs its steps in order, refusals,
// Cancel, verification, and the menu rows of the Clone and Port menus.

#include "control/clonecommands.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "clone/cloneman.h"
#include "control/document.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "links/celllinks.h"
#include "links/linktable.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/clonefile.h"
#include "model/cloneio.h"
#include "model/memorymap.h"
#include "platform/clock.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "support/child_process.h"
#include "support/locked_clone_file.h"
#include "support/radio_process.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

namespace {

using platform::MsgAnswer;

const std::string kRadioFile = std::string(RWQ_SOURCE_DATA_DIR) + "/Initial_dPMR446.rwc";
constexpr int kNamedPort = 161;

// Records what the commands asked of the window, in order.
class RecordingView : public CloneView {
 public:
  void SetRunning(bool running) override { log.push_back(running ? "running" : "idle"); }
  void OpenProgress(const std::string& caption) override { log.push_back("progress " + caption); }
  void ShowProgress(int segments) override {
    shownSegments.push_back(segments);
    if (onProgress) onProgress(segments);
  }
  void CloseProgress() override { log.push_back("progress closed"); }
  std::optional<std::string> AskClonePassword() override {
    log.push_back("password");
    return password;
  }
  void ShowCloneInformation(std::span<const std::uint8_t> identification) override {
    log.push_back("information " + std::to_string(identification.size()));
  }
  std::optional<int> ChoosePort(int style, int currentPort) override {
    log.push_back("port dialog " + std::to_string(style) + " from " + std::to_string(currentPort));
    return chosenPort;
  }
  bool OpenFolder(const std::string& path) override {
    log.push_back("folder " + path);
    return true;
  }

  std::vector<std::string> log;
  std::vector<int> shownSegments;
  std::optional<std::string> password;
  std::optional<int> chosenPort;
  std::function<void(int)> onProgress;
};

// Message boxes that also go into the view's log, so their order with the
// radio's steps shows.
class LoggingBoxes : public RecordingMessageBox {
 public:
  LoggingBoxes(std::vector<std::string>& log, std::deque<MsgAnswer> answers = {})
      : RecordingMessageBox(std::move(answers)), log_(log) {}
  MsgAnswer Show(const platform::MsgRequest& request) override {
    log_.push_back("box " + request.text.substr(0, request.text.find('\n')));
    return RecordingMessageBox::Show(request);
  }

 private:
  std::vector<std::string>& log_;
};

// A copy of the radio's file with a clone password in its settings.
std::string LockedFile(const TempDir& temp, const std::string& password) {
  const std::string path = LockedCloneFile(kRadioFile, temp.File("locked.rwc"), password);
  EXPECT_FALSE(path.empty());
  return path;
}

class CloneCommandsTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
    overlay.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
    document = std::make_unique<Document>(overlay);
    document->LoadModel(ModelType::kDpmr446);
    commands = std::make_unique<CloneCommands>(
        *document, manager, overlay, events, CloneSettings{comPort, comSpeedHigh, verify, backupRadio}, view, Hooks());
    commands->SetBackupFolder(temp.File("backups"));
    events.AddListener(&CountReplaced, &imagesReplaced);
  }
  void TearDown() override { unsetenv("RWQ_DATA_DIR"); }

  CloneControllerHooks Hooks() {
    CloneControllerHooks hooks;
    hooks.confirmDiscard = [this] {
      view.log.push_back("discard?");
      return discardAnswer;
    };
    hooks.warningMarks = [this] { return marks; };
    hooks.documentReplaced = [this] { view.log.push_back("replaced"); };
    hooks.documentWritten = [this] { view.log.push_back("written"); };
    hooks.portPaths = [this] {
      return platform::PortPaths{{kNamedPort, radio ? radio->TerminalPath() : std::string("/nonexistent")}};
    };
    return hooks;
  }
  static void CountReplaced(void* data, const Event& event) {
    if (event.code == ev::kImageReplaced) ++*static_cast<int*>(data);
  }

  void StartRadio(std::vector<std::string> options, const std::string& file = kRadioFile) {
    options.insert(options.begin(), {"--file", file, "--verbose"});
    radio = std::make_unique<RadioProcess>(BuiltProgram("rw-m52-q-radiosim"), options, temp.File("radio.log"));
    ASSERT_FALSE(radio->TerminalPath().empty());
  }
  // The radio's own account of what it did, one step a line.
  std::string RadioLog() const { return ReadWholeFile(temp.File("radio.log")); }

  // Starts a chain and steps the tasks until it ends; none when it did not start.
  std::optional<CloneCode> Run(const std::function<bool()>& start) {
    std::optional<CloneCode> code;
    commands->SetChainListener([&code](CloneCode c) { code = c; });
    if (!start()) return std::nullopt;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!code && std::chrono::steady_clock::now() < deadline) {
      scheduler.RunDue();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_TRUE(code.has_value()) << "the chain did not end";
    return code;
  }

  std::size_t Count(const std::string& line) const {
    std::size_t n = 0;
    for (const std::string& entry : view.log) n += entry == line;
    return n;
  }

  TempDir temp;
  cmcGTex overlay;
  platform::SteadyClock clock;
  TaskScheduler scheduler{clock};
  cmcEvMan events{scheduler};
  indCloneMan manager{scheduler, overlay, clock};
  std::unique_ptr<Document> document;
  int comPort = kNamedPort;
  int comSpeedHigh = 1;
  int verify = 1;
  int backupRadio = 0;
  RecordingView view;
  bool discardAnswer = true;
  WarningMarks marks;
  int imagesReplaced = 0;
  std::unique_ptr<RadioProcess> radio;
  std::unique_ptr<CloneCommands> commands;
};

TEST_F(CloneCommandsTest, ReadReplacesTheDocumentMarksItModifiedAndFillsTheProgress) {
  StartRadio({});
  ASSERT_EQ(document->SaveAs(temp.File("named.rwc")), Document::SaveResult::kSaved);
  ASSERT_FALSE(document->IsModified());
  LoggingBoxes boxes(view.log);
  EXPECT_EQ(Run([&] { return commands->Read(); }), CloneCode::kSuccess);
  EXPECT_TRUE(document->IsModified());
  EXPECT_TRUE(document->IsUntitled());
  EXPECT_EQ(document->Type(), ModelType::kDpmr446);
  EXPECT_EQ(imagesReplaced, 1);
  EXPECT_FALSE(commands->IsRunning());
  ASSERT_FALSE(view.shownSegments.empty());
  EXPECT_EQ(view.shownSegments.back(), indCloneMan::kProgressSegments);
  const std::vector<std::string> expected = {"discard?",        "running", "progress Reading from the radio",
                                             "progress closed", "idle",    "replaced"};
  EXPECT_EQ(view.log, expected);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(commands->Sequence().Backups().size(), 1u);
}

TEST_F(CloneCommandsTest, ReadStopsWhenTheUserKeepsUnsavedChanges) {
  StartRadio({});
  discardAnswer = false;
  EXPECT_EQ(Run([&] { return commands->Read(); }), std::nullopt);
  EXPECT_EQ(view.log, std::vector<std::string>{"discard?"});
  EXPECT_EQ(RadioLog().find("information request"), std::string::npos);
}

TEST_F(CloneCommandsTest, CancelEndsAReadAtOnceAndLeavesTheDocumentAsItWas) {
  // At the line's own pace a read lasts long enough to be stopped.
  StartRadio({"--pace"});
  const cmcEeprom before = document->Edit();
  LoggingBoxes boxes(view.log);
  view.onProgress = [this](int) { commands->Cancel(); };
  EXPECT_EQ(Run([&] { return commands->Read(); }), CloneCode::kCancelled);
  EXPECT_TRUE(document->Edit() == before);
  EXPECT_FALSE(document->IsModified());
  EXPECT_EQ(imagesReplaced, 0);
  EXPECT_TRUE(boxes.shown.empty());
  EXPECT_EQ(Count("progress closed"), 1u);
  EXPECT_EQ(view.log.back(), "idle");
  EXPECT_TRUE(commands->Sequence().Backups().empty());
}

TEST_F(CloneCommandsTest, WriteRunsInformationConfirmationInformationPasswordWriteAndVerifies) {
  // The radio asks for its password before a write only, so the read-back needs none.
  StartRadio({"--password-write-only"}, LockedFile(temp, "tarn"));
  view.password = "tarn";
  LoggingBoxes boxes(view.log);
  EXPECT_EQ(Run([&] { return commands->Write(); }), CloneCode::kSuccess);
  const std::vector<std::string> expected = {"running",
                                             "box The data will now be written to the radio, replacing everything "
                                             "the radio holds.",
                                             "password",
                                             "progress Writing to the radio",
                                             "progress closed",
                                             "box The data has been written to the radio.",
                                             "progress Reading from the radio",
                                             "progress closed",
                                             "box The radio's memory was read back and matches what was written.",
                                             "idle",
                                             "written"};
  EXPECT_EQ(view.log, expected);
  // Two information requests before the write: one before the question, one after it.
  const std::string log = RadioLog();
  const std::size_t first = log.find("information request");
  const std::size_t second = log.find("information request", first + 1);
  const std::size_t write = log.find("write request");
  ASSERT_NE(second, std::string::npos) << log;
  EXPECT_LT(second, write) << log;
  EXPECT_EQ(commands->Sequence().Backups().size(), 1u);
}

TEST_F(CloneCommandsTest, VerifyReportsWhereTheRadioHoldsSomethingElse) {
  StartRadio({"--fault", "store-wrong:3"});
  LoggingBoxes boxes(view.log);
  EXPECT_EQ(Run([&] { return commands->Write(); }), CloneCode::kVerifyMismatch);
  ASSERT_FALSE(boxes.shown.empty());
  const platform::MsgRequest& last = boxes.shown.back();
  EXPECT_EQ(last.icon, platform::MsgIcon::Error);
  // The third record of the write starts 32 bytes after the first.
  EXPECT_NE(last.text.find("First differing addresses: 0220"), std::string::npos) << last.text;
  EXPECT_EQ(Count("written"), 0u);
  EXPECT_EQ(commands->Sequence().Differences().front(), 0x0220);
}

TEST_F(CloneCommandsTest, WithoutVerifyTheWriteIsNotReadBack) {
  StartRadio({"--fault", "store-wrong"});
  verify = 0;
  LoggingBoxes boxes(view.log);
  EXPECT_EQ(Run([&] { return commands->Write(); }), CloneCode::kSuccess);
  EXPECT_EQ(Count("progress Reading from the radio"), 0u);
}

TEST_F(CloneCommandsTest, CancelDuringAWriteAsksFirst) {
  StartRadio({"--pace"});
  // OK to the write question, Cancel to the first stop question, OK to the second.
  LoggingBoxes boxes(view.log, {MsgAnswer::Ok, MsgAnswer::Cancel, MsgAnswer::Ok});
  int asked = 0;
  view.onProgress = [&](int) {
    if (manager.RunningKind() != CloneKind::kWrite || asked >= 2) return;
    ++asked;
    commands->Cancel();
  };
  EXPECT_EQ(Run([&] { return commands->Write(); }), CloneCode::kCancelled);
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[1].text, overlay.GetBlockText(gi::GI_AppMess_CloneCancel_Write));
  EXPECT_EQ(boxes.shown[1].buttons, platform::MsgButtons::OkCancel);
  EXPECT_EQ(boxes.shown[2].text, boxes.shown[1].text);
  EXPECT_EQ(Count("written"), 0u);
}

TEST_F(CloneCommandsTest, WriteRefusals) {
  RecordingMessageBox boxes;
  // Errors the warning check found; its warnings are not asked about then.
  marks.errors = {"Common"};
  marks.warnings = {"Other"};
  EXPECT_EQ(Run([&] { return commands->Write(); }), std::nullopt);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, overlay.GetBlockText(gi::GI_Mess_DataError));
  EXPECT_EQ(boxes.shown[0].icon, platform::MsgIcon::Error);
  marks = {};

  // No channel at all.
  cmcEeprom& image = document->Edit();
  for (int bank = 0; bank < memmap::kBankCount; ++bank) image.SetWord(memmap::addr::kBankSizes + 2 * bank, 0);
  ASSERT_EQ(datCh::ChannelsInUse(image), 0);
  EXPECT_EQ(Run([&] { return commands->Write(); }), std::nullopt);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text, overlay.GetBlockText(gi::GI_AppMess_CloneErr_NoActualCh));

  // More than the radio's memory holds: the encode fails before the radio is asked.
  for (int bank = 0; bank < memmap::kBankCount; ++bank) image.SetWord(memmap::addr::kBankSizes + 2 * bank, 16);
  memmap::SetAliasCount(image, 1000);
  cmcEeprom probe = image;
  ASSERT_FALSE(memmap::Encode(probe, document->Type()));
  EXPECT_EQ(Run([&] { return commands->Write(); }), std::nullopt);
  ASSERT_EQ(boxes.shown.size(), 3u);
  EXPECT_EQ(boxes.shown[2].text, overlay.GetBlockText(gi::GI_Mess_DataError));
  EXPECT_EQ(Count("running"), Count("idle"));
  EXPECT_FALSE(commands->IsRunning());
}

TEST_F(CloneCommandsTest, WarningsAskFirstAndOnlyOkGoesOn) {
  marks.warnings = {"[St_ChBank]GI_Sheet_Mch_DPmr446,Bank 2", "Common settings"};
  // Cancel: nothing starts. OK: the chain starts (and ends at the port, as no radio runs).
  RecordingMessageBox boxes({MsgAnswer::Cancel, MsgAnswer::Ok});
  comPort = 5;
  setenv("RWQ_PORT_PATH", temp.File("no-such-tty").c_str(), 1);
  EXPECT_EQ(Run([&] { return commands->Write(); }), std::nullopt);
  EXPECT_EQ(Run([&] { return commands->Write(); }), CloneCode::kPortNotOpen);
  unsetenv("RWQ_PORT_PATH");
  ASSERT_GE(boxes.shown.size(), 2u);
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(boxes.shown[i].buttons, platform::MsgButtons::OkCancel);
    EXPECT_EQ(boxes.shown[i].icon, platform::MsgIcon::Warning);
    EXPECT_EQ(boxes.shown[i].text,
              "The check of the data found warnings in: Bank 2, Common settings\nWrite to the radio anyway?");
  }
}

TEST_F(CloneCommandsTest, WhatIsSentHasThePreparationOfASave) {
  StartRadio({});
  verify = 0;
  // An emergency key in the old coding: a save turns it into the plain key.
  using namespace memmap::addr;
  document->Edit().SetByte(kKeyFunctions, 27);
  RecordingMessageBox boxes;
  EXPECT_EQ(Run([&] { return commands->Write(); }), CloneCode::kSuccess);
  EXPECT_EQ(document->Edit().GetByte(kKeyFunctions), 27) << "the document itself is left as it is";
  ASSERT_EQ(commands->Sequence().Backups().size(), 1u);
  // Read without the preparation an open gives.
  cmcEeprom sent;
  ASSERT_EQ(cloneio::Open(overlay, commands->Sequence().Backups()[0], sent, nullptr), cmcCloneFile::kOk);
  memmap::Decode(sent);
  EXPECT_EQ(sent.GetByte(kKeyFunctions), 67);
}

TEST_F(CloneCommandsTest, BackupOfTheRadioComesBeforeTheQuestionAndAnotherModelIsAskedAbout) {
  StartRadio({});
  backupRadio = 1;
  verify = 0;
  {
    LoggingBoxes boxes(view.log);
    EXPECT_EQ(Run([&] { return commands->Write(); }), CloneCode::kSuccess);
  }
  const std::vector<std::string> expected = {"running",
                                             "progress Reading from the radio",
                                             "progress closed",
                                             "box The data will now be written to the radio, replacing everything "
                                             "the radio holds.",
                                             "progress Writing to the radio",
                                             "progress closed",
                                             "box The data has been written to the radio.",
                                             "idle",
                                             "written"};
  EXPECT_EQ(view.log, expected);
  ASSERT_EQ(commands->Sequence().Backups().size(), 2u);
  EXPECT_TRUE(commands->Sequence().Backups()[0].ends_with("_read.rwc"));
  EXPECT_TRUE(commands->Sequence().Backups()[1].ends_with("_sent.rwc"));

  // The radio now holds dPMR446 data; PMR446 data is asked about, and Cancel sends nothing.
  document->LoadModel(ModelType::kPmr);
  RecordingMessageBox boxes({MsgAnswer::Cancel});
  EXPECT_EQ(Run([&] { return commands->Write(); }), CloneCode::kCancelled);
  ASSERT_EQ(boxes.shown.size(), 1u);
  const std::string& question = boxes.shown[0].text;
  EXPECT_TRUE(
      question.starts_with("The radio holds data of the model dPMR446, but the data to be written is for the "
                           "model PMR446."))
      << question;
  ASSERT_EQ(commands->Sequence().Backups().size(), 1u);
  EXPECT_NE(question.find(commands->Sequence().Backups()[0]), std::string::npos) << question;
  const std::string log = RadioLog();
  EXPECT_EQ(log.find("write request", log.rfind("read request")), std::string::npos) << log;
}

TEST_F(CloneCommandsTest, InformationOpensTheDialogAfterTheChainEnded) {
  StartRadio({});
  EXPECT_EQ(Run([&] { return commands->Information(); }), CloneCode::kSuccess);
  const std::vector<std::string> expected = {"running", "idle", "information 78"};
  EXPECT_EQ(view.log, expected);
}

TEST_F(CloneCommandsTest, APortThatDoesNotOpenIsNamedByItsNumber) {
  RecordingMessageBox boxes;
  comPort = 5;
  setenv("RWQ_PORT_PATH", temp.File("no-such-tty").c_str(), 1);
  const std::optional<CloneCode> code = Run([&] { return commands->Information(); });
  unsetenv("RWQ_PORT_PATH");
  EXPECT_EQ(code, CloneCode::kPortNotOpen);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_TRUE(boxes.shown[0].text.starts_with("Port 5 could not be opened.\n" + temp.File("no-such-tty")))
      << boxes.shown[0].text;
}

TEST_F(CloneCommandsTest, AUserPortWithoutAStoredPathSaysSo) {
  RecordingMessageBox boxes;
  comPort = kNamedPort + 1;
  EXPECT_EQ(Run([&] { return commands->Information(); }), CloneCode::kPortNotOpen);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_TRUE(boxes.shown[0].text.starts_with(
      "Port 162 could not be opened.\nNo device path is stored for this port. Choose the port again and give the "
      "path of its device.\n\n"))
      << boxes.shown[0].text;
}

// The menu rows, evaluated as the menu does: the state before showing, the
// action on Enter.
class CloneMenuRowsTest : public CloneCommandsTest {
 protected:
  struct Item {
    int statesFlags;
    std::string text;
  };
  Item Evaluate(int link, int parameter, int key) {
    LinkTable table;
    AddCloneCommandLinks(table, *commands);
    cmcFCache choices(overlay);
    NoHost host;
    LinkEnvironment environment{document->Edit(), overlay, choices, host};
    CellLinks links(environment, table);
    cmcCellObj cell;
    cell.type = ct::CT_Null;
    cell.link = link;
    cell.parameter = parameter;
    cmcCellCapsule request;
    request.cell = &cell;
    request.key = key;
    links.Evaluate(request, false);
    return {cell.stateFlags, request.displayText};
  }
  bool Ticked(int link, int parameter) { return Evaluate(link, parameter, cellkey::kEvaluate).statesFlags & 1; }
  void Choose(int link, int parameter) { Evaluate(link, parameter, cellkey::kEnter); }

  class NoHost : public LinkHost {
   public:
    bool OpenChoiceList(cmcCellCapsule&, std::string_view, int, std::int32_t) override { return false; }
    bool OpenFlagEditor(cmcCellCapsule&, const FlagEditorForm&, std::uint32_t) override { return false; }
    bool OpenTextEditor(cmcCellCapsule&, const TextEditorForm&) override { return false; }
    bool OpenSegmentCharacterEditor(cmcCellCapsule&, std::uint16_t) override { return false; }
  };
};

TEST_F(CloneMenuRowsTest, PortItemsTickTheChosenPortAndChooseOnEnter) {
  int refreshes = 0;
  events.AddListener(
      [](void* data, const Event& event) {
        if (event.code == ev::kRefresh) ++*static_cast<int*>(data);
      },
      &refreshes);
  comPort = 3;
  struct Case {
    int link;
    int parameter;
    bool ticked;
  };
  const Case before[] = {{cl::CL_Menu_Port_Com, 3, true},       {cl::CL_Menu_Port_Com, 4, false},
                         {cl::CL_Menu_Port_Usb, 0, false},      {cl::CL_Menu_Port_ComList0, 0, false},
                         {cl::CL_Menu_Port_SpeedHigh, 1, true}, {cl::CL_Menu_Port_SpeedHigh, 0, false}};
  for (const Case& c : before) EXPECT_EQ(Ticked(c.link, c.parameter), c.ticked) << c.link << " " << c.parameter;

  Choose(cl::CL_Menu_Port_Com, 2);
  EXPECT_EQ(comPort, 2);
  EXPECT_EQ(refreshes, 1);
  EXPECT_TRUE(Ticked(cl::CL_Menu_Port_Com, 2));
  EXPECT_FALSE(Ticked(cl::CL_Menu_Port_Com, 3));

  Choose(cl::CL_Menu_Port_SpeedHigh, 0);
  EXPECT_EQ(comSpeedHigh, 0);
  EXPECT_TRUE(Ticked(cl::CL_Menu_Port_SpeedHigh, 0));
}

TEST_F(CloneMenuRowsTest, PortDialogsInTheirStylesStoreOnlyAChosenPort) {
  comPort = 2;
  view.chosenPort = 40;
  Choose(cl::CL_Menu_Port_ComList2, 0);
  EXPECT_EQ(comPort, 40);
  EXPECT_TRUE(Ticked(cl::CL_Menu_Port_Usb, 0)) << "above port 4";
  view.chosenPort.reset();
  Choose(cl::CL_Menu_Port_ComList1, 0);
  Choose(cl::CL_Menu_Port_Usb, 0);
  Choose(cl::CL_Menu_Port_ComList0, 0);
  commands->ChoosePortInDialog(-1);
  commands->ChoosePortInDialog(3);
  EXPECT_EQ(comPort, 40);
  const std::vector<std::string> expected = {"port dialog 2 from 2",  "port dialog 1 from 40", "port dialog 0 from 40",
                                             "port dialog 0 from 40", "port dialog 0 from 40", "port dialog 0 from 40"};
  EXPECT_EQ(view.log, expected);
}

TEST_F(CloneMenuRowsTest, WriteOptionItemsToggleAndCarryTheirCaptions) {
  struct Case {
    int parameter;
    std::string_view caption;
    int& setting;
  };
  const Case cases[] = {{1, gi::GI_AppItem_Clone_Verify, verify}, {2, gi::GI_AppItem_Clone_BackupRadio, backupRadio}};
  for (const Case& c : cases) {
    const int before = c.setting;
    const Item item = Evaluate(cl::CL_Menu_Clone_Write, c.parameter, cellkey::kEvaluate);
    EXPECT_EQ(item.text, overlay.GetLine(c.caption, 0));
    EXPECT_EQ(item.statesFlags & 0x09, before != 0 ? 0x09 : 0x08) << "ticked as set, caption from the display text";
    Choose(cl::CL_Menu_Clone_Write, c.parameter);
    EXPECT_EQ(c.setting, before != 0 ? 0 : 1) << c.parameter;
    EXPECT_EQ(Ticked(cl::CL_Menu_Clone_Write, c.parameter), before == 0);
    Choose(cl::CL_Menu_Clone_Write, c.parameter);
    EXPECT_EQ(c.setting, before);
  }
  // The write item itself is neither ticked nor relabelled.
  EXPECT_EQ(Evaluate(cl::CL_Menu_Clone_Write, 0, cellkey::kEvaluate).statesFlags, 0);
}

TEST_F(CloneMenuRowsTest, BackupFolderItemCreatesAndShowsTheFolder) {
  Choose(cl::CL_Menu_Clone_Info, 1);
  EXPECT_TRUE(std::filesystem::is_directory(temp.File("backups")));
  EXPECT_EQ(view.log, std::vector<std::string>{"folder " + temp.File("backups")});
}

TEST_F(CloneMenuRowsTest, CloneItemsStartTheirCommands) {
  StartRadio({});
  std::optional<CloneCode> code;
  commands->SetChainListener([&code](CloneCode c) { code = c; });
  Choose(cl::CL_Menu_Clone_Info, 0);
  EXPECT_TRUE(commands->IsRunning());
  // A second command while one runs does nothing.
  Choose(cl::CL_Menu_Clone_Read, 0);
  EXPECT_EQ(Count("discard?"), 0u);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!code && std::chrono::steady_clock::now() < deadline) {
    scheduler.RunDue();
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  EXPECT_EQ(code, CloneCode::kSuccess);
  EXPECT_EQ(Count("information 78"), 1u);
}

}  // namespace
