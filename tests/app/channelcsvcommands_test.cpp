#include "app/channelcsvcommands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/qt_application.h"
#include "control/document.h"
#include "control/documentundo.h"
#include "core/gtex.h"
#include "model/ch.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

namespace {

using platform::MsgAnswer;
using Result = ChannelCsvCommands::Result;

constexpr std::string_view kGenericColumns =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,Mode,TStep,Skip,Power,"
    "Comment,Bank";
// A file of the generic columns alone; an export adds the record's own columns after them.
const std::string kHeader = std::string(kGenericColumns) + "\r\n";
const std::string kExportHeaderStart = std::string(kGenericColumns) + ",rec.";
constexpr const char* kHomeLine = "1,HOME,446.006250,,0.000000,TSQL,67.0,67.0,023,NN,FM,5,S,High (5 W),,1\r\n";
constexpr const char* kOutOfRangeLine = "2,FAR,999.000000,,0.000000,TSQL,67.0,67.0,023,NN,FM,5,S,High (5 W),,1\r\n";

// A PMR document (channels "PMR 1" to "PMR 16") and the commands, with the
// file dialog answered by the test.
class ChannelCsvCommandsTest : public testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
    overlay_.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
    document_.LoadModel(ModelType::kPmr);
    commands_.SetStatusHandler([this](const std::string& text) { statuses_.push_back(text); });
  }
  void TearDown() override { unsetenv("RWQ_DATA_DIR"); }

  std::string WriteCsv(const std::string& name, const std::string& text) {
    const std::string path = dir_.File(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  std::string Name(int channel) {
    datCh record(document_.Edit());
    record.load(datCh::KindOf(ModelType::kPmr), channel);
    std::string name = record.name;
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name;
  }

  TempDir dir_;
  cmcGTex overlay_;
  Document document_{overlay_};
  DocumentUndo undo_{document_, overlay_, nullptr};
  std::optional<std::string> chosen_;
  std::vector<ChannelCsvCommands::FileUse> asked_;
  ChannelCsvCommands commands_{nullptr, document_, overlay_, undo_, [this](ChannelCsvCommands::FileUse use) {
                                 asked_.push_back(use);
                                 return chosen_;
                               }};
  std::vector<std::string> statuses_;
};

TEST_F(ChannelCsvCommandsTest, ExportWritesEveryChannelInUseToTheChosenFile) {
  RecordingMessageBox box;
  chosen_ = dir_.File("plan.csv");
  EXPECT_EQ(commands_.Export(), Result::kDone);
  ASSERT_EQ(asked_, std::vector{ChannelCsvCommands::FileUse::kSave});
  const std::string text = ReadWholeFile(*chosen_);
  EXPECT_TRUE(text.starts_with(kExportHeaderStart)) << text.substr(0, 300);
  EXPECT_NE(text.find("16,PMR 16,446.193750,"), std::string::npos);
  EXPECT_TRUE(box.shown.empty());
  ASSERT_EQ(statuses_.size(), 1u);
  EXPECT_NE(statuses_[0].find("16"), std::string::npos);
  EXPECT_FALSE(document_.IsModified());
}

TEST_F(ChannelCsvCommandsTest, AnExportThatCannotBeWrittenSaysSo) {
  RecordingMessageBox box;
  chosen_ = dir_.File("missing-folder/plan.csv");
  EXPECT_EQ(commands_.Export(), Result::kFailed);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].icon, platform::MsgIcon::Error);
  EXPECT_NE(box.shown[0].text.find("plan.csv"), std::string::npos);
  EXPECT_TRUE(statuses_.empty());
}

TEST_F(ChannelCsvCommandsTest, ACancelledFileDialogDoesNothing) {
  RecordingMessageBox box;
  EXPECT_EQ(commands_.Export(), Result::kCancelled);
  EXPECT_EQ(commands_.Import(), Result::kCancelled);
  EXPECT_TRUE(box.shown.empty());
  EXPECT_FALSE(document_.History().CanUndo());
}

TEST_F(ChannelCsvCommandsTest, AnImportIsOneStepThatUndoTakesBack) {
  RecordingMessageBox box;
  const cmcEeprom before = document_.Edit();
  chosen_ = WriteCsv("home.csv", std::string(kHeader) + kHomeLine);
  EXPECT_EQ(commands_.Import(), Result::kDone);
  EXPECT_EQ(asked_, std::vector{ChannelCsvCommands::FileUse::kOpen});
  EXPECT_TRUE(box.shown.empty());
  EXPECT_EQ(Name(0), "HOME");
  EXPECT_TRUE(document_.IsModified());
  EXPECT_EQ(document_.History().StepCount(), 1u);
  EXPECT_EQ(undo_.UndoWhat(), "Import channels");
  undo_.Undo();
  EXPECT_TRUE(document_.Edit() == before);
  EXPECT_FALSE(document_.IsModified());
}

TEST_F(ChannelCsvCommandsTest, RefusedLinesAreShownAndTheUserSkipsThemOrCancels) {
  struct Case {
    MsgAnswer answer;
    Result result;
    std::string firstName;  // of channel 1 afterwards
  };
  const Case cases[] = {{MsgAnswer::Cancel, Result::kCancelled, "PMR 1"}, {MsgAnswer::Ok, Result::kDone, "HOME"}};
  for (const Case& c : cases) {
    document_.New();
    RecordingMessageBox box({c.answer});
    chosen_ = WriteCsv("mixed.csv", std::string(kHeader) + kHomeLine + kOutOfRangeLine);
    EXPECT_EQ(commands_.Import(), c.result);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].icon, platform::MsgIcon::Warning);
    EXPECT_EQ(box.shown[0].buttons, platform::MsgButtons::OkCancel);
    EXPECT_NE(box.shown[0].text.find("mixed.csv"), std::string::npos);
    EXPECT_NE(box.shown[0].text.find("Line 3"), std::string::npos) << box.shown[0].text;
    EXPECT_EQ(Name(0), c.firstName);
    EXPECT_EQ(Name(1), "PMR 2");  // the refused line changed nothing
    EXPECT_EQ(document_.History().StepCount(), c.answer == MsgAnswer::Ok ? 1u : 0u);
  }
}

TEST_F(ChannelCsvCommandsTest, ALongListOfRefusalsIsCutAndCounted) {
  RecordingMessageBox box({MsgAnswer::Cancel});
  std::string text = kHeader;
  const int refused = ChannelCsvCommands::kListedRefusals + 5;
  for (int n = 0; n < refused; ++n) text += kOutOfRangeLine;
  chosen_ = WriteCsv("far.csv", text);
  EXPECT_EQ(commands_.Import(), Result::kCancelled);
  ASSERT_EQ(box.shown.size(), 1u);
  const std::string& shown = box.shown[0].text;
  EXPECT_NE(shown.find(std::to_string(refused)), std::string::npos);
  EXPECT_NE(shown.find("Line " + std::to_string(ChannelCsvCommands::kListedRefusals + 1)), std::string::npos);
  EXPECT_EQ(shown.find("Line " + std::to_string(ChannelCsvCommands::kListedRefusals + 2)), std::string::npos);
  EXPECT_NE(shown.find("5 more"), std::string::npos);
}

TEST_F(ChannelCsvCommandsTest, AFileThatCannotBeReadOrHoldsNothingChangesNothing) {
  struct Case {
    std::optional<std::string> content;  // none: no file
    platform::MsgIcon icon;
  };
  const Case cases[] = {{std::nullopt, platform::MsgIcon::Error},
                        {std::string(kHeader), platform::MsgIcon::Information}};
  for (const Case& c : cases) {
    RecordingMessageBox box;
    chosen_ = c.content ? WriteCsv("empty.csv", *c.content) : dir_.File("absent.csv");
    EXPECT_EQ(commands_.Import(), Result::kFailed);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].icon, c.icon);
    EXPECT_FALSE(document_.IsModified());
    EXPECT_FALSE(document_.History().CanUndo());
  }
}

// The file dialog itself: it offers comma-separated files, and the file
// chosen in it is the one written.
TEST_F(ChannelCsvCommandsTest, TheFileDialogOffersCsvFilesAndItsChoiceIsWritten) {
  RecordingMessageBox box;
  ChannelCsvCommands withDialog(nullptr, document_, overlay_, undo_);
  const std::string path = dir_.File("chosen.csv");
  QStringList filters;
  bool answered = false;
  // The dialog runs its own loop; the timer answers it once it is up.
  QTimer timer;
  QObject::connect(&timer, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    timer.stop();
    filters = dialog->nameFilters();
    dialog->selectFile(QString::fromStdString(path));
    static_cast<QDialog*>(dialog)->accept();  // public as a dialog; the file dialog's own runs
    answered = true;
  });
  timer.start(20);
  EXPECT_EQ(withDialog.Export(), Result::kDone);
  EXPECT_TRUE(answered);
  ASSERT_FALSE(filters.isEmpty());
  EXPECT_TRUE(filters.front().contains("*.csv"));
  EXPECT_TRUE(ReadWholeFile(path).starts_with(kExportHeaderStart));
}

}  // namespace
