#include <gtest/gtest.h>

#include <QLabel>
#include <QLayout>
#include <QPalette>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

#include "app/environ.h"
#include "app/filedialogs.h"
#include "app/indmain.h"
#include "app/mainform.h"
#include "app/mainmenus.h"
#include "app/navigationtree.h"
#include "app/qt_application.h"
#include "app/signalcloser.h"
#include "app/statuspanels.h"
#include "app/workarea.h"
#include "control/statusmessage.h"
#include "core/gtex.h"
#include "grid/grid.h"
#include "grid/sheetframe.h"
#include "markup/ids.h"
#include "platform/clock.h"
#include "platform/loggingmessagebox.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "sheet/sheet.h"
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
  // Enters a frequency on a channel row through the window's evaluator.
  void Edit() {
    cmcCellObj cell;
    cell.type = ct::CT_Mch;
    cell.link = cl::CL_Mch_Operating_Freq;
    cell.parameter = 0;
    cmcCellCapsule request;
    request.cell = &cell;
    request.editResult = kTextCommitted;
    request.editedText = "146.52";
    controller->Links().Evaluate(request, false);
    ASSERT_TRUE(controller->IsModified());
  }
  // Activates a menu item as a click does.
  void Activate(int link) {
    cmcCellObj cell;
    cell.type = ct::CT_Null;
    cell.link = link;
    cmcCellCapsule request;
    request.cell = &cell;
    request.key = cellkey::kEnter;
    controller->Links().Evaluate(request, false);
  }
  // Lets the controller's 50 ms task run once.
  void Tick() {
    clock.Advance(50);
    scheduler.RunDue();
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

TEST_F(ControllerTest, TheTickOpensTheTopPageInTheSheetArea) {
  Start();
  EXPECT_EQ(controller->CurrentSheet(), nullptr);
  Tick();
  ASSERT_NE(controller->CurrentSheet(), nullptr);
  EXPECT_EQ(controller->CurrentSheet()->Name(), "GI_Sheet_TopPage");
  EXPECT_EQ(form->SheetFrame()->Grid().Sheet(), controller->CurrentSheet());
  EXPECT_EQ(controller->CurrentSheet()->CellText(0, 0), "RW-M52-Q");
  // The top page admits no help window: the sheet area fills the work area.
  EXPECT_EQ(controller->Layout().State(), 1);
  EXPECT_FALSE(form->Work()->HelpArea()->isVisibleTo(form.get()));
}

TEST_F(ControllerTest, AnEditRunsTheWarningCheckOnceTypingPauses) {
  Start();
  Tick();
  std::vector<std::uint32_t> heard;
  events.AddListener(
      [](void* data, const Event& event) { static_cast<std::vector<std::uint32_t>*>(data)->push_back(event.code); },
      &heard);
  Edit();
  Tick();
  Tick();
  EXPECT_EQ(std::count(heard.begin(), heard.end(), ev::kWarningCheckDone), 0);
  for (int i = 0; i < 6; ++i) Tick();
  EXPECT_EQ(std::count(heard.begin(), heard.end(), ev::kWarningCheckDone), 1);
  EXPECT_EQ(std::count(heard.begin(), heard.end(), ev::kBankImages), 1);
  EXPECT_EQ(std::count(heard.begin(), heard.end(), ev::kTreeRefresh), 1);
  for (int i = 0; i < 6; ++i) Tick();
  EXPECT_EQ(std::count(heard.begin(), heard.end(), ev::kWarningCheckDone), 1);
}

TEST_F(ControllerTest, ANewFontSizeClosesTheSheetAndTheTickReopensItWhereItWas) {
  settings->modelType = 1;
  Start();
  // Chosen in the tree: the tick reopens the selected node's sheet.
  iuiTree& tree = *form->Menus().Tree();
  tree.Select(tree.FindByArgument("[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0"));
  controller->OpenSheet("[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0");
  ASSERT_TRUE(controller->CurrentSheet()->MoveCurrent(0, 3));
  const CellPosition before = controller->CurrentSheet()->Current();
  cmcCellObj cell;
  cell.type = ct::CT_Null;
  cell.link = cl::CL_Menu_View_FontSize;
  cell.parameter = 2;
  cmcCellCapsule request;
  request.cell = &cell;
  request.key = cellkey::kEnter;
  controller->Links().Evaluate(request, false);
  EXPECT_EQ(settings->fontSizePercentage, 2);
  EXPECT_EQ(controller->CurrentSheet(), nullptr);
  Tick();
  ASSERT_NE(controller->CurrentSheet(), nullptr);
  EXPECT_EQ(controller->CurrentSheet()->Ref().Text(), "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0");
  EXPECT_EQ(controller->CurrentSheet()->Current(), before);
}

TEST_F(ControllerTest, TheEditMenuTakesTheOpenSheetsOwnMenuElseNoItem) {
  Start();
  std::vector<std::string> menus;
  events.AddListener(
      [](void* data, const Event& event) {
        if (event.code == ev::kMenuFill) static_cast<std::vector<std::string>*>(data)->emplace_back(event.Text());
      },
      &menus);
  auto showEditMenu = [this] {
    cmcCellObj cell;
    cell.type = ct::CT_Null;
    cell.link = cl::CL_Menu_Edit_Top;
    cmcCellCapsule request;
    request.cell = &cell;
    controller->Links().Evaluate(request, false);
  };
  controller->OpenSheet("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
  showEditMenu();
  // The grid announces the sheet's own menu as it takes the focus.
  events.Send(ev::kMenuFill, &form->SheetFrame()->Grid(), cl::CL_Menu_Edit_Top, "GI_PMenu_Edit");
  showEditMenu();
  controller->OpenSheet("GI_Sheet_TopPage");
  showEditMenu();
  EXPECT_EQ(menus, (std::vector<std::string>{"GI_PMenu_NoItem", "GI_PMenu_Edit", "GI_PMenu_NoItem"}));
}

TEST_F(ControllerTest, ABankSheetWithTheMemoryChannelWindowWantedShowsItsArea) {
  settings->mchView = 1;
  settings->pHelpView = 0;
  Start();
  controller->OpenSheet("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
  EXPECT_EQ(controller->Layout().State(), 6);
  EXPECT_TRUE(form->Work()->MchArea()->isVisibleTo(form.get()));
  EXPECT_FALSE(form->Work()->HelpArea()->isVisibleTo(form.get()));
  Activate(cl::CL_Menu_View_MchWin);
  EXPECT_EQ(controller->Layout().State(), 5);
  EXPECT_FALSE(form->Work()->MchArea()->isVisibleTo(form.get()));
  EXPECT_EQ(settings->mchView, 0);
}

TEST_F(ControllerTest, AreaHeightsComeFromTheSettingsAndGoBackAtClose) {
  settings->sHelpWinHeight = 120;
  settings->pHelpView = 1;
  Start();
  new QWidget(form->Work()->HelpArea());  // a help window docked there
  form->resize(800, 700);
  QCoreApplication::processEvents();
  controller->OpenSheet("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0");
  EXPECT_EQ(controller->Layout().State(), 3);
  EXPECT_EQ(form->Work()->ShownHeights().help, 120);
  form->close();
  EXPECT_EQ(settings->sHelpWinHeight, 120);
  EXPECT_GT(settings->sMemWinHeightWithHelp, 0);
}

TEST_F(ControllerTest, TheMessagePanelKeepsItsMinimumWidth) {
  RecordingMessageBox boxes;
  Start();
  controller->RequestMakerMode();
  form->resize(TForm1::kMinimumWidth, TForm1::kMinimumHeight);
  form->statusBar()->setFixedWidth(150);
  QCoreApplication::processEvents();
  form->statusBar()->layout()->activate();
  EXPECT_GE(form->Message()->width(), MessagePanel::kMinimumWidth);
  PostStatusMessage(events, {0x0000FF, clWindow, "Channel 3 copied"});
  Tick();
  EXPECT_EQ(form->Message()->Message(), "Channel 3 copied");
}

TEST_F(ControllerTest, TheCloseQueryAsksAboutUnsavedChangesAndCancelKeepsTheWindow) {
  Start();
  form->close();  // nothing changed: closes without a question
  EXPECT_FALSE(form->isVisible());
  form->show();
  controller->Build(*form, std::vector<const char*>{"rw-m52-q"});
  Edit();
  RecordingMessageBox boxes({MsgAnswer::Cancel, MsgAnswer::No});
  EXPECT_FALSE(form->close());
  EXPECT_TRUE(form->isVisible());
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, "Untitled has changes that are not saved. Save them first?");
  EXPECT_EQ(boxes.shown[0].buttons, platform::MsgButtons::YesNoCancel);
  form->setEnabled(false);  // a transfer runs: no question, no close
  EXPECT_FALSE(form->close());
  EXPECT_EQ(boxes.shown.size(), 1u);
  form->setEnabled(true);
  EXPECT_TRUE(form->close());
  EXPECT_EQ(boxes.shown.size(), 2u);
}

TEST_F(ControllerTest, SigtermWithUnsavedChangesAsksThroughTheAnswerLog) {
  Start();
  Edit();
  SignalCloser closer;
  QObject::connect(&closer, &SignalCloser::closeRequested, form.get(), &QWidget::close);
  const std::string log = config.File("boxes.jsonl");
  platform::LoggingMessageBox box(log, "cancel,no");
  platform::InstallMessageBox(&box);
  auto logText = [&log] {
    std::ifstream in(log);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  };
  std::raise(SIGTERM);
  for (int i = 0; i < 50 && logText().empty(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_NE(logText().find(R"("answer":"cancel")"), std::string::npos) << logText();
  EXPECT_TRUE(form->isVisible());
  std::raise(SIGTERM);
  for (int i = 0; i < 50 && form->isVisible(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  EXPECT_FALSE(form->isVisible());
  EXPECT_NE(logText().find(R"("answer":"no")"), std::string::npos) << logText();
  platform::InstallMessageBox(nullptr);
}

TEST_F(ControllerTest, MenuCommandsReachTheDocumentThroughTheirLinks) {
  Start();
  Edit();
  {
    RecordingMessageBox boxes({MsgAnswer::Cancel});
    Activate(cl::CL_Menu_File_New);
    EXPECT_EQ(boxes.shown.size(), 1u);
    EXPECT_TRUE(controller->IsModified());
  }
  {
    RecordingMessageBox boxes({MsgAnswer::No});
    Activate(cl::CL_Menu_File_New);
    EXPECT_FALSE(controller->IsModified());
  }
  RecordingMessageBox boxes({MsgAnswer::Ok});
  Activate(cl::CL_Model_Pmr);
  EXPECT_EQ(controller->Type(), ModelType::kPmr);
  EXPECT_EQ(settings->modelType, 1);
  EXPECT_EQ(boxes.shown.at(0).text, mainOverlay.GetBlockText("GI_AppMess_ChangeModel"));
}

TEST_F(ControllerTest, ToolWindowRequestsAreAnsweredByTheirWindowEvents) {
  Construct();
  std::vector<std::uint32_t> heard;
  events.AddListener(
      [](void* data, const Event& event) { static_cast<std::vector<std::uint32_t>*>(data)->push_back(event.code); },
      &heard);
  struct Case {
    std::uint32_t code;
    std::intptr_t argument;
    std::uint32_t answer;  // 0: none
  };
  const Case cases[] = {
      {ev::kMchWindow, 0, 0},
      {ev::kMchWindow, 1, ev::kCloseMchWindow},
      {ev::kMchWindowVisible, 1, ev::kShowMchWindow},
      {ev::kMchWindowVisible, 0, ev::kHideMchWindow},
      {ev::kHelpWindow, 1, ev::kCloseHelpWindow},
      {ev::kHelpWindowState, 0, ev::kHideHelpWindow},
      {ev::kHelpWindowState, 1, ev::kDockHelpWindow},
      {ev::kHelpWindowState, 2, ev::kShowHelpWindow},
      {ev::kHelpWindowState, 4, 0},
  };
  for (const Case& c : cases) {
    heard.clear();
    events.Send(c.code, nullptr, c.argument);
    std::vector<std::uint32_t> expected{c.code};
    if (c.answer != 0) expected.push_back(c.answer);
    EXPECT_EQ(heard, expected) << c.code << " " << c.argument;
  }
}

TEST(FileDialogs, TheOverlayFilterTakesQtsForm) {
  struct Case {
    std::string overlay;
    QString qt;
  };
  const Case cases[] = {
      {"Clone files (*.rwc)|*.rwc|All files (*.*)|*.*", "Clone files (*.rwc);;All files (*.*)"},
      {"Clone files|*.rwc;*.RWC", "Clone files (*.rwc *.RWC)"},
      {"Broken|", ""},
      {"", ""},
      {"Odd|*.x|Lonely", "Odd (*.x)"},
  };
  for (const Case& c : cases) EXPECT_EQ(QtFileFilter(c.overlay), c.qt) << c.overlay;
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
