#include <gtest/gtest.h>

#include <QLabel>
#include <QPalette>
#include <QScreen>
#include <QTimer>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "app/environ.h"
#include "app/indmain.h"
#include "app/mainform.h"
#include "app/qt_application.h"
#include "core/gtex.h"
#include "platform/clock.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

using platform::MsgAnswer;

namespace {

// The application-wide objects of a start-up, on the shipped data and a fresh settings folder.
class ControllerTest : public testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR, 1);
    settings = std::make_unique<indEnviron>();
  }
  void TearDown() override {
    form.reset();
    controller.reset();
    settings.reset();
    unsetenv("RWQ_DATA_DIR");
    unsetenv("XDG_CONFIG_HOME");
  }

  void Construct() {
    controller = std::make_unique<indMain>(
        ControllerServices{*settings, mainOverlay, languageList, helpOverlay, events, scheduler});
  }
  void Start(std::vector<const char*> arguments = {"rw-m52-q"}) {
    Construct();
    form = std::make_unique<TForm1>(*controller);
    controller->Build(*form, arguments);
  }
  void Type(const std::string& text) {
    for (char c : text) controller->OnKeyChar(nullptr, c);
  }

  TempDir config;
  std::unique_ptr<indEnviron> settings;
  cmcGTex mainOverlay;
  cmcGTex languageList;
  cmcHelpGTex helpOverlay;
  platform::ManualClock clock;
  TaskScheduler scheduler{clock};
  cmcEvMan events{scheduler};
  std::unique_ptr<indMain> controller;
  std::unique_ptr<TForm1> form;
};

TEST_F(ControllerTest, StartsOnTheInitialImageWithTheTitleFontAndFittedBounds) {
  settings->left = 100000;  // far off the right edge
  Start();
  EXPECT_EQ(controller->LanguageCount(), 1);
  EXPECT_EQ(controller->Type(), ModelType::kLandMobile);
  EXPECT_EQ(controller->AcceptedModelCodes().main, 13856);
  EXPECT_EQ(controller->EditImage().Size(), 49543);
  EXPECT_EQ(controller->InitialImage().Size(), 49543);
  EXPECT_FALSE(controller->IsModified());
  EXPECT_EQ(form->windowTitle(), "Untitled - RW-M52-Q");
  EXPECT_EQ(form->font().pointSize(), 9);
  EXPECT_TRUE(form->isVisible());
  EXPECT_EQ(form->minimumSize(), QSize(400, 380));
  const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
  EXPECT_EQ(form->geometry().x(), area.x() + area.width() - 16);
  EXPECT_FALSE(controller->DocumentFolder().empty());
}

TEST_F(ControllerTest, StoredModelTypeAndLanguageThatCannotBeServedFallBackToZero) {
  settings->modelType = 7;
  settings->language = 3;
  Start();
  EXPECT_EQ(controller->Type(), ModelType::kLandMobile);
  EXPECT_EQ(settings->modelType, 0);
  EXPECT_EQ(settings->language, 0);
}

TEST_F(ControllerTest, MakerCautionRefusedLeavesTheModeOffAndAcceptedAddsTheMakerPanel) {
  RecordingMessageBox boxes({MsgAnswer::Cancel});
  Start({"rw-m52-q", "/Kestrel"});
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].caption, "RW-M52-Q");
  EXPECT_EQ(boxes.shown[0].icon, platform::MsgIcon::Warning);
  EXPECT_EQ(boxes.shown[0].buttons, platform::MsgButtons::OkCancel);
  EXPECT_TRUE(boxes.shown[0].topmost);
  EXPECT_FALSE(controller->IsMakerMode());
  EXPECT_EQ(form->MakerPanel(), nullptr);

  controller->RequestMakerMode();  // the queue is empty: OK
  EXPECT_TRUE(controller->IsMakerMode());
  ASSERT_NE(form->MakerPanel(), nullptr);
  EXPECT_EQ(form->MakerPanel()->text(), "Maker mode");
  EXPECT_EQ(form->MakerPanel()->palette().color(QPalette::Window), QColor(128, 0, 0));
  EXPECT_EQ(form->MakerPanel()->palette().color(QPalette::WindowText), QColor(Qt::white));

  controller->RequestMakerMode();
  EXPECT_EQ(boxes.shown.size(), 2u);  // a mode that is on is never asked for again
}

TEST_F(ControllerTest, TypedMakerWordAsksAndARefusalRestartsTheWord) {
  RecordingMessageBox boxes({MsgAnswer::Cancel});
  Start();
  Type("kestre");
  EXPECT_TRUE(boxes.shown.empty());
  Type("L");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_FALSE(controller->IsMakerMode());
  Type("l");  // the refusal restarted the word: one more letter completes nothing
  EXPECT_EQ(boxes.shown.size(), 1u);
  Type("kestrel");
  EXPECT_TRUE(controller->IsMakerMode());
}

TEST_F(ControllerTest, TypedExtendedWordNeedsModelTypeThree) {
  RecordingMessageBox boxes;
  settings->modelType = 3;
  Start();
  ASSERT_EQ(controller->Type(), ModelType::kDpmr446);
  Type("xvormelaq");
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_NE(boxes.shown[0].text.find("Extended mode is for Tarn service staff only."), std::string::npos);
  EXPECT_TRUE(controller->IsExtendedMode());
  EXPECT_FALSE(controller->IsMakerMode());
}

TEST_F(ControllerTest, ClosingStoresTheWindowBounds) {
  Start();
  form->setGeometry(120, 140, 640, 480);
  form->close();
  EXPECT_EQ(QRect(settings->left, settings->top, settings->width, settings->height), QRect(120, 140, 640, 480));
}

TEST_F(ControllerTest, RefreshEventAsksMenusAndToolBarForTheirStates) {
  Construct();
  std::vector<std::uint32_t> heard;
  events.AddListener(
      [](void* data, const Event& event) { static_cast<std::vector<std::uint32_t>*>(data)->push_back(event.code); },
      &heard);
  events.Send(ev::kRefresh, nullptr, 0);
  // The listener added last hears first, then the controller passes the request on.
  EXPECT_EQ(heard, (std::vector<std::uint32_t>{ev::kRefresh, ev::kMenuStates, ev::kToolbarStates}));
}

TEST(GuardedApplication, AnExceptionEscapingAHandlerIsShownAndTheLoopGoesOn) {
  TestApplication();
  RecordingMessageBox boxes;
  bool laterEventRan = false;
  QTimer::singleShot(0, [] { throw std::runtime_error("The handler failed."); });
  QTimer::singleShot(0, [&] { laterEventRan = true; });
  for (int i = 0; i < 5 && !laterEventRan; ++i) QCoreApplication::processEvents();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "The handler failed.");
  EXPECT_EQ(boxes.shown[0].icon, platform::MsgIcon::Error);
  EXPECT_TRUE(laterEventRan);
}

}  // namespace
