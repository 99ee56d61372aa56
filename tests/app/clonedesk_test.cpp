// The clone commands with their windows, offscreen, against the simulated
// radio: the tasks run from the Qt timer while the main window takes no input.

#include "app/clonedesk.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <optional>

#include "app/clonepassworddialog.h"
#include "app/cloneprogress.h"
#include "app/environ.h"
#include "app/qt_application.h"
#include "app/schedulerdriver.h"
#include "control/document.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "support/child_process.h"
#include "support/radio_process.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

namespace {

const std::string kRadioFile = std::string(RWQ_SOURCE_DATA_DIR) + "/Initial_dPMR446.rwc";

class CloneDeskTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("XDG_CONFIG_HOME", temp.File("config").c_str(), 1);
    setenv("XDG_DATA_HOME", temp.File("data").c_str(), 1);
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
    overlay.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
    settings = std::make_unique<indEnviron>();
    document = std::make_unique<Document>(overlay);
    document->LoadModel(ModelType::kLandMobile);
    window.setMenuBar(new QMenuBar(&window));
    window.menuBar()->addMenu(QStringLiteral("Clone"));
    window.setCentralWidget(new QLabel(QStringLiteral("sheet"), &window));
    window.show();
    desk = std::make_unique<CloneDesk>(scheduler, overlay, events, *document, *settings, &window);
  }
  void TearDown() override {
    desk.reset();
    radio.reset();
    unsetenv("RWQ_PORT_PATH");
    unsetenv("RWQ_DATA_DIR");
    unsetenv("XDG_DATA_HOME");
    unsetenv("XDG_CONFIG_HOME");
  }

  void StartRadio(std::vector<std::string> options) {
    options.insert(options.begin(), {"--file", kRadioFile});
    radio = std::make_unique<RadioProcess>(BuiltProgram("rw-m52-q-radiosim"), options, temp.File("radio.log"));
    ASSERT_FALSE(radio->TerminalPath().empty());
    // The port number the settings hold opens the simulated radio's terminal.
    setenv("RWQ_PORT_PATH", radio->TerminalPath().c_str(), 1);
  }

  // Runs Qt's events (and with them the tasks) until the chain has ended.
  std::optional<CloneCode> RunChain(const std::function<bool()>& start) {
    std::optional<CloneCode> code;
    desk->Commands().SetChainListener([&](CloneCode c) { code = c; });
    if (!start()) return std::nullopt;
    QElapsedTimer elapsed;
    elapsed.start();
    while (!code && elapsed.elapsed() < 60000) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return code;
  }

  // First: the timers and the window need the application.
  QApplication& application = TestApplication();
  TempDir temp;
  cmcGTex overlay;
  TaskScheduler scheduler;
  SchedulerDriver driver{scheduler};
  cmcEvMan events{scheduler};
  std::unique_ptr<indEnviron> settings;
  std::unique_ptr<Document> document;
  QMainWindow window;
  std::unique_ptr<RadioProcess> radio;
  std::unique_ptr<CloneDesk> desk;
};

TEST_F(CloneDeskTest, ReadReplacesTheDocumentWhileTheWindowTakesNoInputAndTheBarFills) {
  StartRadio({});
  RecordingMessageBox boxes;
  ASSERT_EQ(document->Type(), ModelType::kLandMobile);
  bool sawDisabled = false;
  bool closeRefused = false;
  QTimer watch;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (!desk->Windows().IsRunning()) return;
    sawDisabled = !window.centralWidget()->isEnabled() && !window.menuBar()->isEnabled();
    closeRefused = !window.close() && window.isVisible();
  });
  watch.start(10);
  EXPECT_EQ(RunChain([&] { return desk->Commands().Read(); }), CloneCode::kSuccess);
  watch.stop();
  EXPECT_TRUE(sawDisabled);
  EXPECT_TRUE(closeRefused);
  EXPECT_TRUE(window.centralWidget()->isEnabled());
  EXPECT_TRUE(window.menuBar()->isEnabled());
  // The document is now what the radio holds.
  EXPECT_EQ(document->Type(), ModelType::kDpmr446);
  EXPECT_TRUE(document->IsModified());
  EXPECT_TRUE(document->IsUntitled());
  CloneProgressWindow* progress = desk->Windows().ProgressWindow();
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(progress->windowTitle().toStdString(), overlay.GetLine(gi::GI_Mess_CloneRW_Title_Message, 1));
  EXPECT_EQ(progress->Segments(), 32);
  EXPECT_FALSE(progress->isVisible());
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CloneDeskTest, CancelDuringAReadLeavesTheDocumentAsItWas) {
  StartRadio({"--pace"});
  RecordingMessageBox boxes;
  const cmcEeprom before = document->Edit();
  QTimer press;
  QObject::connect(&press, &QTimer::timeout, [&] {
    CloneProgressWindow* progress = desk->Windows().ProgressWindow();
    if (progress != nullptr && progress->isVisible()) progress->CancelButton()->click();
  });
  press.start(20);
  EXPECT_EQ(RunChain([&] { return desk->Commands().Read(); }), CloneCode::kCancelled);
  press.stop();
  EXPECT_TRUE(document->Edit() == before);
  EXPECT_FALSE(document->IsModified());
  EXPECT_EQ(document->Type(), ModelType::kLandMobile);
  EXPECT_FALSE(desk->Windows().ProgressWindow()->isVisible());
  EXPECT_TRUE(window.centralWidget()->isEnabled());
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CloneDeskTest, CancelDuringAWriteAsksAboutThePartlyWrittenRadioFirst) {
  StartRadio({"--pace"});
  document->LoadModel(ModelType::kDpmr446);  // its initial file holds channels to write
  // OK to write, OK to stop.
  RecordingMessageBox boxes({platform::MsgAnswer::Ok, platform::MsgAnswer::Ok});
  QTimer press;
  QObject::connect(&press, &QTimer::timeout, [&] {
    CloneProgressWindow* progress = desk->Windows().ProgressWindow();
    if (progress != nullptr && progress->isVisible() && desk->Manager().RunningKind() == CloneKind::kWrite) {
      progress->CancelButton()->click();
    }
  });
  press.start(20);
  EXPECT_EQ(RunChain([&] { return desk->Commands().Write(); }), CloneCode::kCancelled);
  press.stop();
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].text, overlay.GetBlockText(gi::GI_AppMess_CloneCancel_Write));
  EXPECT_NE(boxes.shown[1].text.find("partly written"), std::string::npos);
  EXPECT_EQ(boxes.shown[1].icon, platform::MsgIcon::Warning);
  EXPECT_FALSE(desk->Windows().ProgressWindow()->isVisible());
  EXPECT_TRUE(window.centralWidget()->isEnabled());
}

TEST_F(CloneDeskTest, InformationShowsTheRadiosFieldsInTheDialog) {
  StartRadio({});
  RecordingMessageBox boxes;
  EXPECT_EQ(RunChain([&] { return desk->Commands().Information(); }), CloneCode::kSuccess);
  CloneInfoDialog* dialog = desk->Windows().InformationDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->windowTitle().toStdString(), overlay.GetLine(gi::GI_Sys_AppTitle, 0));
  ASSERT_EQ(dialog->RowCount(), 8);
  EXPECT_EQ(dialog->Value(0), "Type: analogue\nFront panel: no display");
  EXPECT_EQ(dialog->Value(1), "1.0");
  EXPECT_EQ(dialog->Value(4), "0001000074565");
  dialog->OkButton()->click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(desk->Windows().InformationDialog(), nullptr) << "closing releases the dialog";
}

TEST_F(CloneDeskTest, VerifyAfterWritingIsOnByDefaultAndRemembered) {
  EXPECT_TRUE(desk->Commands().VerifyAfterWrite());
  desk->Commands().ToggleVerifyAfterWrite();
  desk.reset();
  desk = std::make_unique<CloneDesk>(scheduler, overlay, events, *document, *settings, &window);
  EXPECT_FALSE(desk->Commands().VerifyAfterWrite());
}

TEST_F(CloneDeskTest, TheProgressWindowCannotBeClosedByTheUserAndPaintsItsSegments) {
  CloneProgressWindow progress(&window, QStringLiteral("Cancel"), nullptr);
  progress.Open("Reading from the radio");
  progress.SetSegments(40);
  EXPECT_EQ(progress.Segments(), 32) << "never more segments than there are";
  progress.SetSegments(16);
  EXPECT_FALSE(progress.close());
  EXPECT_TRUE(progress.isVisible());
  const QImage bar = progress.findChild<ProgressSegmentsBox*>()->grab().toImage();
  const QColor highlight = progress.palette().color(QPalette::Highlight);
  // Segment 0 and 15 filled, segment 16 and the gap after segment 0 not.
  EXPECT_EQ(bar.pixelColor(3, 8), highlight);
  EXPECT_EQ(bar.pixelColor(15 * 8 + 3, 8), highlight);
  EXPECT_NE(bar.pixelColor(16 * 8 + 3, 8), highlight);
  EXPECT_NE(bar.pixelColor(7, 8), highlight);
  progress.Finish();
  EXPECT_FALSE(progress.isVisible());
}

TEST_F(CloneDeskTest, ThePasswordDialogRefusesAnEmptyFieldAndHidesWhatIsTyped) {
  RecordingMessageBox boxes;
  ClonePasswordDialog dialog(&window, overlay);
  EXPECT_EQ(dialog.windowTitle().toStdString(), overlay.GetLine(gi::GI_AppInd_Opt_ClonePwd_Caption, 0));
  EXPECT_EQ(dialog.Field()->maxLength(), 16);
  EXPECT_EQ(dialog.Field()->echoMode(), QLineEdit::Password);
  dialog.OkButton()->click();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, overlay.GetBlockText(gi::GI_AppInd_Opt_ClonePwd_OutofRange));
  EXPECT_EQ(boxes.shown[0].icon, platform::MsgIcon::Error);
  EXPECT_EQ(dialog.Password(), std::nullopt);
  dialog.Field()->setText(QStringLiteral("tarn"));
  dialog.OkButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Password(), "tarn");
}

TEST_F(CloneDeskTest, TheMainWindowMayGoBeforeItsCloneWindows) {
  auto* main = new QMainWindow;
  {
    CloneWindows windows(main, overlay, events, nullptr);
    windows.OpenProgress("Reading from the radio");
    ASSERT_NE(windows.ProgressWindow(), nullptr);
    delete main;
    EXPECT_EQ(windows.ProgressWindow(), nullptr);
    windows.SetRunning(true);
    windows.SetRunning(false);
  }
}

TEST_F(CloneDeskTest, ThePasswordDialogCancelGivesNothing) {
  ClonePasswordDialog dialog(&window, overlay);
  dialog.Field()->setText(QStringLiteral("tarn"));
  dialog.CancelButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(dialog.Password(), std::nullopt);
}

}  // namespace
