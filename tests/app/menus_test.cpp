#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardItemModel>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <cstdlib>
#include <memory>

#include "app/environ.h"
#include "app/iconlist.h"
#include "app/indmain.h"
#include "app/mainform.h"
#include "app/mainmenus.h"
#include "app/mchwinform.h"
#include "app/menu.h"
#include "app/qt_application.h"
#include "app/toolbar.h"
#include "app/workarea.h"
#include "control/itemdispatch.h"
#include "control/sheetopener.h"
#include "core/gtex.h"
#include "links/celllinks.h"
#include "links/linktable.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "platform/clock.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "sheet/headless.h"
#include "sheet/sheet.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

namespace {

// Lets Qt's timers run until `done` holds or two seconds pass.
template <typename Condition>
bool ProcessEventsUntil(Condition done) {
  const QDeadlineTimer deadline(2000);
  while (!done() && !deadline.hasExpired()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  return done();
}

// A small family of command links for the widgets: one that follows the
// test's states and counts its runs.
class ItemWidgetsTest : public testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR, 1);
    table_.Add(cl::CL_Menu_File_New, [this](LinkCall& call) {
      cmcCellObj& cell = *call.request.cell;
      cell.SetStateFlag(0, ticked_);
      cell.SetStateFlag(1, hidden_);
      cell.SetStateFlag(3, !caption_.empty());
      call.request.displayText = caption_;
      if (call.request.key == cellkey::kEnter) ++runs_;
      return LinkOutcome{};
    });
  }
  void TearDown() override { unsetenv("RWQ_DATA_DIR"); }

  void Open(const std::string& text) { overlay_.OpenText(text + "#End_Of_Ovl\n"); }

  cmcGTex overlay_;
  cmcFCache choices_{overlay_};
  NoEditors editors_;
  cmcEeprom image_{cmcEeprom::kImageSize};
  LinkEnvironment environment_{image_, overlay_, choices_, editors_};
  LinkTable table_;
  CellLinks links_{environment_, table_};
  LinkItemDispatch dispatch_{links_};
  platform::ManualClock clock_;
  TaskScheduler scheduler_{clock_};
  cmcEvMan events_{scheduler_};
  bool ticked_ = false, hidden_ = false;
  std::string caption_;
  int runs_ = 0;
};

TEST_F(ItemWidgetsTest, MenuItemsNestAndTakeTheirStatesFromTheLinks) {
  Open(
      "#M_BasicCell\n{(%CT_Null.)}\n#\n"
      "#M_Body\n+&File\n +&New\t{(%CL_Menu_File_New:Ctrl+N)}\n +-\n +&Deeper\n  +&Open\t{(%CL_Menu_File_Open)}\n"
      "+&Edit\t{(%CL_Menu_Edit_Top)}\n#\n"
      "#GI_PMenu_NoItem_Body\n+No item\t{(%CL_PMenu_NoItem)}\n#\n");
  QMainWindow form;
  cuiMenu menu(*form.menuBar(), overlay_, "M", dispatch_, events_);
  menu.Rebuild();
  const QList<QAction*> top = form.menuBar()->actions();
  ASSERT_EQ(top.size(), 2);
  EXPECT_EQ(top[0]->text(), "&File");
  const QList<QAction*> file = top[0]->menu()->actions();
  ASSERT_EQ(file.size(), 3);
  EXPECT_EQ(file[0]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
  EXPECT_TRUE(file[1]->isSeparator());
  ASSERT_NE(file[2]->menu(), nullptr);
  QAction* open = file[2]->menu()->actions().value(0);
  ASSERT_NE(open, nullptr);
  EXPECT_FALSE(open->isEnabled());  // a link without behaviour
  EXPECT_TRUE(file[0]->isEnabled());
  EXPECT_TRUE(file[2]->isEnabled());  // a submenu is no command
  EXPECT_EQ(menu.FindByLink(cl::CL_Menu_File_Open), open);

  ticked_ = true;
  caption_ = "&1 radio.rwc";
  events_.Send(ev::kMenuStates, nullptr, 0);
  EXPECT_TRUE(file[0]->isChecked());
  EXPECT_EQ(file[0]->text(), "&1 radio.rwc");
  hidden_ = true;
  Q_EMIT top[0]->menu()->aboutToShow();  // states are refreshed before the menu opens
  EXPECT_FALSE(file[0]->isVisible());

  file[0]->trigger();
  EXPECT_EQ(runs_, 1);

  // A pop-up menu fills the Edit menu, and a clear empties it.
  events_.Send(ev::kMenuFill, nullptr, cl::CL_Menu_Edit_Top, "GI_PMenu_NoItem");
  ASSERT_EQ(top[1]->menu()->actions().size(), 1);
  EXPECT_EQ(top[1]->menu()->actions()[0]->text(), "No item");
  events_.Send(ev::kMenuClear, nullptr, cl::CL_Menu_Edit_Top);
  EXPECT_TRUE(top[1]->menu()->actions().isEmpty());

  // A rebuild (after a language change) replaces the menus rather than adding to them.
  menu.Rebuild();
  ASSERT_EQ(form.menuBar()->actions().size(), 2);
  EXPECT_EQ(form.menuBar()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly).size(), 2);
  events_.Send(ev::kMenuStates, nullptr, 0);
  EXPECT_EQ(menu.FindByLink(cl::CL_Menu_File_New), form.menuBar()->actions()[0]->menu()->actions()[0]);
}

TEST_F(ItemWidgetsTest, ToolBarRowsGapsAndStates) {
  Open(
      "#B_BasicCell\n{(%CT_Null.)}\n#\n"
      "#B_Body\n{(%CL_Menu_File_New)(ImageIndex=0)}A\n-\n{(%CL_Menu_File_Open)(ImageIndex=1)}B\n/\n"
      "{(ImageIndex=2)}C\n#\n");
  QMainWindow form;
  const IconList images(IconList::ToolBarImages());
  cuiToolBar bar(form, overlay_, "B", images, dispatch_, events_);
  bar.Rebuild();
  ASSERT_EQ(bar.Rows().size(), 2u);
  const QList<QAction*> first = bar.Rows()[0]->actions();
  ASSERT_EQ(first.size(), 3);  // A, the gap, B
  EXPECT_EQ(first[0]->toolTip(), "A");
  EXPECT_FALSE(first[0]->icon().isNull());
  EXPECT_EQ(bar.Rows()[0]->widgetForAction(first[1])->width(), cuiToolBar::kGapWidth);
  EXPECT_FALSE(first[2]->isEnabled());
  EXPECT_EQ(bar.Rows()[1]->actions().size(), 1);
  EXPECT_EQ(form.toolBarBreak(bar.Rows()[1]), true);

  ticked_ = true;
  events_.Send(ev::kToolbarStates, nullptr, 0);
  EXPECT_TRUE(first[0]->isCheckable());
  EXPECT_TRUE(first[0]->isChecked());
  first[0]->trigger();
  EXPECT_EQ(runs_, 1);
  bar.SetVisible(false);
  EXPECT_TRUE(bar.Rows()[0]->isHidden());
}

// Records the sheets the tree opens.
class RecordingOpener : public SheetOpener {
 public:
  void OpenSheet(const std::string& reference) override { opened.push_back(reference); }
  std::vector<std::string> opened;
};

TEST_F(ItemWidgetsTest, MakerNodesShowAfterTheTreeIsRebuiltInMakerMode) {
  Open(
      "#GI_Sys_TreeChangeDelay\n0\n#\n#GI_AppInd_Model\nLMR\nPMR\nVEXL\nDPMR\n#\n"
      "#GI_Tree_Branch_Mch_BankOperation\nNone\n#\n#GI_Tree_Branch_Mch_Bank\n+{(%CallSheet:X%s,%d)}\n#\n"
      "#GI_Tree_Main_BasicCell\n{(%CT_Null.CallSheet)}\n#\n"
      "#GI_Tree_Main_Body\n+Top: \t{(%CallSheet:Top)}\n +Maker\t{(%CallSheet:M)(Flag0=1)}\n +Shown\t{(%CallSheet:S)}\n"
      "#\n");
  QWidget panel;
  panel.setLayout(new QVBoxLayout);
  const IconList images(IconList::TreeImages());
  RecordingOpener opener;
  TreeFacts facts;
  iuiTree tree(panel, overlay_, images, opener, events_,
               {[&facts] { return facts; }, [this]() -> const cmcEeprom& { return image_; }});
  tree.Rebuild();
  EXPECT_EQ(tree.FindByArgument("M"), nullptr);
  ASSERT_NE(tree.FindByArgument("S"), nullptr);
  EXPECT_EQ(tree.Model().Root().children.front()->caption, "Top:LMR");

  facts.makerMode = true;
  facts.modelType = ModelType::kPmr;
  iuiTree rebuilt(panel, overlay_, images, opener, events_,
                  {[&facts] { return facts; }, [this]() -> const cmcEeprom& { return image_; }});
  rebuilt.Rebuild();
  EXPECT_NE(rebuilt.FindByArgument("M"), nullptr);
  EXPECT_EQ(rebuilt.Model().Root().children.front()->caption, "Top:PMR");
}

TEST_F(ItemWidgetsTest, WhenARefreshRemovesTheSelectedNodeTheNodeThatFollowsIsSelected) {
  // "A" shows only for the second and third model types.
  Open(
      "#GI_Sys_TreeChangeDelay\n0\n#\n#GI_AppInd_Model\nLMR\nPMR\nVEXL\nDPMR\n#\n"
      "#GI_Tree_Branch_Mch_BankOperation\nNone\n#\n#GI_Tree_Branch_Mch_Bank\n+{(%CallSheet:X%s,%d)}\n#\n"
      "#GI_Tree_Main_BasicCell\n{(%CT_Null.CallSheet)}\n#\n"
      "#GI_Tree_Main_Body\n+Top: \t{(%CallSheet:Top)}\n +Before\t{(%CallSheet:P)}\n"
      " +Gone\t{(%CallSheet:A)(Flag2=1)}\n  +Inside\t{(%CallSheet:I)}\n +After\t{(%CallSheet:B)}\n#\n");
  QWidget panel;
  panel.setLayout(new QVBoxLayout);
  const IconList images(IconList::TreeImages());
  RecordingOpener opener;
  TreeFacts facts;
  facts.modelType = ModelType::kPmr;
  iuiTree tree(panel, overlay_, images, opener, events_,
               {[&facts] { return facts; }, [this]() -> const cmcEeprom& { return image_; }});
  tree.Rebuild();
  tree.Select(tree.FindByArgument("A"));
  facts.modelType = ModelType::kLandMobile;
  tree.Refresh();
  EXPECT_EQ(tree.FindByArgument("A"), nullptr);
  EXPECT_EQ(tree.SelectedArgument(), "B");
  // A node still there keeps the selection.
  tree.Refresh();
  EXPECT_EQ(tree.SelectedArgument(), "B");
}

// The whole window on the shipped data, as the program starts.
class MainWindowMenusTest : public testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR, 1);
    settings_ = std::make_unique<indEnviron>();
  }
  void TearDown() override {
    form_.reset();
    controller_.reset();
    settings_.reset();
    unsetenv("RWQ_DATA_DIR");
    unsetenv("XDG_CONFIG_HOME");
  }
  void Start(int modelType) {
    settings_->modelType = modelType;
    controller_ = std::make_unique<indMain>(
        ControllerServices{*settings_, mainOverlay_, languageList_, helpOverlay_, events_, scheduler_});
    form_ = std::make_unique<TForm1>(*controller_);
    controller_->Build(*form_, std::vector<const char*>{"rw-m52-q"});
  }
  iuiTree& Tree() { return *form_->Menus().Tree(); }
  std::vector<std::string> BankCaptions() {
    std::vector<std::string> captions;
    for (auto& node : Tree().FindByArgument("GI_Sheet_Memory_CH_Top")->children) captions.push_back(node->caption);
    return captions;
  }
  void Pump() {
    for (int i = 0; i < 20; ++i) {
      clock_.Advance(cmcEvMan::kPumpIntervalMs);
      scheduler_.RunDue();
    }
  }

  TempDir config_;
  std::unique_ptr<indEnviron> settings_;
  cmcGTex mainOverlay_;
  cmcGTex languageList_;
  cmcHelpGTex helpOverlay_;
  platform::ManualClock clock_;
  TaskScheduler scheduler_{clock_};
  cmcEvMan events_{scheduler_};
  std::unique_ptr<indMain> controller_;
  std::unique_ptr<TForm1> form_;
};

TEST_F(MainWindowMenusTest, MenuToolBarAndTreeFromTheShippedOverlayForEachModelType) {
  const char* modelItems[] = {"&Land Mobile (LMR)", "&PMR446", "PMR446 with &VEXL", "&dPMR446"};
  for (int type = 0; type < kModelTypeCount; ++type) {
    Start(type);
    QStringList menus;
    for (QAction* action : form_->menuBar()->actions()) menus << action->text();
    EXPECT_EQ(menus.join(","), "&File,&Edit,&View,&Port,&Clone,&Model,&Help,&Language");
    // The model menu ticks the model shown.
    QMenu* models = form_->menuBar()->actions()[5]->menu();
    Q_EMIT models->aboutToShow();
    for (QAction* item : models->actions()) {
      EXPECT_EQ(item->isChecked(), item->text() == modelItems[type]) << type << item->text().toStdString();
    }
    EXPECT_FALSE(form_->Menus().ToolBar().Rows().empty());

    Pump();  // the bank labels arrive by event
    const std::vector<std::string> banks = BankCaptions();
    ASSERT_EQ(banks.size(), type == 3 ? 8u : 9u) << type;  // "Banks" and 8 banks, 7 for dPMR446
    EXPECT_EQ(banks[0], "Banks");
    EXPECT_EQ(banks[1].rfind("1: ", 0), 0u) << banks[1];
    const std::string firstCaption = Tree().Model().Root().children.front()->caption;
    EXPECT_EQ(firstCaption, "RW-M52-Q: " + mainOverlay_.GetLine("GI_AppInd_Model", static_cast<std::size_t>(type)));
    form_.reset();
    controller_.reset();
  }
}

// The reference of the sheet the main window shows, or "" when none.
std::string OpenSheetName(const cuiMain& controller) {
  const cuiSheet* sheet = controller.CurrentSheet();
  return sheet != nullptr ? sheet->Ref().Text() : std::string();
}

TEST_F(MainWindowMenusTest, SelectingANodeOpensItsSheetAfterTheDelay) {
  Start(1);
  ASSERT_TRUE(ProcessEventsUntil([this] { return OpenSheetName(*controller_) == "GI_Sheet_TopPage"; }));
  const TreeNode* bank = Tree().FindByArgument("[St_ChBank]GI_Sheet_Mch_Pmr,Bank 2");
  ASSERT_NE(bank, nullptr);
  Tree().Select(bank);
  EXPECT_TRUE(
      ProcessEventsUntil([this] { return OpenSheetName(*controller_) == "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 2"; }));
  EXPECT_EQ(Tree().SelectedCell()->argument, "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 2");
}

TEST_F(MainWindowMenusTest, ARefreshRebuildsTheBankBranchAndKeepsTheSelection) {
  Start(2);
  const std::string bank = "[St_ChBank]GI_Sheet_Mch_PmrB,Bank 5";
  Tree().Select(Tree().FindByArgument(bank));
  events_.Send(ev::kImageReplaced, nullptr, 0);
  ASSERT_NE(Tree().SelectedCell(), nullptr);
  EXPECT_EQ(Tree().SelectedCell()->argument, bank);
  EXPECT_EQ(Tree().FindByArgument("GI_Sheet_Memory_CH_Top")->children.size(), 9u);
  Pump();
  EXPECT_EQ(Tree().FindByArgument(bank)->caption.rfind("6: ", 0), 0u);
}

TEST_F(MainWindowMenusTest, AWarningFromACheckCellMarksTheNodeAndItsCollapsedParent) {
  Start(1);
  // A channel of bank 0 asks for the middle bandwidth, which this image does not enable.
  cmcEeprom image = controller_->EditImage();
  datCh channel(image);
  ASSERT_TRUE(channel.load(datCh::KindOf(ModelType::kPmr), 0));
  channel.wnm = 2;
  channel.store();
  cmcFCache choices(mainOverlay_);
  NoEditors editors;
  LinkEnvironment environment{image, mainOverlay_, choices, editors};
  environment.modelType = ModelType::kPmr;
  CellLinks links(environment);
  const int marks = links.FlagsOf(ct::CT_Mch_Check, cl::CL_Check_Mch, 0);
  ASSERT_NE(marks & cellmark::kWarning, 0);
  const std::string bankSheet = "[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0";

  TreeNode* memory = Tree().FindByArgument("GI_Sheet_Memory_CH_Top");
  QTreeView& view = Tree().View();
  auto* model = static_cast<QStandardItemModel*>(view.model());
  const QModelIndex memoryIndex = model->index(0, 0, model->index(0, 0));
  ASSERT_EQ(memoryIndex.data().toString(), "Memory Channels");
  view.collapse(memoryIndex);
  const QImage plain = memoryIndex.data(Qt::DecorationRole).value<QIcon>().pixmap(32).toImage();
  Tree().MarkNodes({bankSheet}, {});
  EXPECT_EQ(Tree().FindByArgument(bankSheet)->mark, TreeNode::kWarningMark);
  EXPECT_EQ(memory->mark, TreeNode::kWarningMark);
  const QImage marked = memoryIndex.data(Qt::DecorationRole).value<QIcon>().pixmap(32).toImage();
  EXPECT_NE(plain, marked);  // the warning is drawn over the icon

  view.expand(memoryIndex);  // the branch opens: the mark moves to the bank
  EXPECT_EQ(memory->mark, std::nullopt);
  EXPECT_EQ(Tree().FindByArgument(bankSheet)->mark, TreeNode::kWarningMark);
}

TEST_F(MainWindowMenusTest, AModelItemChangesTheModelAfterItsQuestionAndTheTreeFollows) {
  Start(0);
  QMenu* models = form_->menuBar()->actions()[5]->menu();
  Q_EMIT models->aboutToShow();
  QAction* pmr = models->actions()[1];
  ASSERT_TRUE(pmr->isEnabled());
  RecordingMessageBox boxes({platform::MsgAnswer::Ok});
  pmr->trigger();
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(controller_->Type(), ModelType::kPmr);
  EXPECT_TRUE(pmr->isChecked());  // the states follow the click
  EXPECT_FALSE(models->actions()[0]->isChecked());
  EXPECT_EQ(Tree().Model().Root().children.front()->caption, "RW-M52-Q: PMR446");
  EXPECT_NE(Tree().FindByArgument("[St_ChBank]GI_Sheet_Mch_Pmr,Bank 7"), nullptr);
  EXPECT_EQ(Tree().FindByArgument("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0"), nullptr);
}

}  // namespace

// The shipped menu's radio, channel-list and window items reach the commands
// the main window wires to them.
TEST_F(MainWindowMenusTest, RadioChannelListAndWindowItemsAreWiredToTheirCommands) {
  Start(1);
  // The tool bar is live from the start: its clone buttons are enabled without any further event.
  cuiToolBar& toolBar = form_->Menus().ToolBar();
  int cloneButtons = 0;
  for (QToolBar* row : toolBar.Rows()) {
    for (QAction* button : row->actions()) {
      const cmcCellObj* cell = toolBar.CellOf(button);
      if (cell == nullptr || cell->link != cl::CL_Menu_Clone_Read) continue;
      ++cloneButtons;
      EXPECT_TRUE(button->isEnabled());
    }
  }
  EXPECT_EQ(cloneButtons, 1);
  events_.Send(ev::kMenuStates, nullptr, 0);
  cuiMenu& menu = form_->Menus().Menu();
  for (int link : {cl::CL_Menu_Clone_Read, cl::CL_Menu_Clone_Write, cl::CL_Menu_Clone_Info, cl::CL_Menu_Port_Com,
                   cl::CL_Menu_File_ExportCsv, cl::CL_Menu_File_ImportCsv, cl::CL_Menu_View_MchWin}) {
    QAction* item = menu.FindByLink(link);
    ASSERT_NE(item, nullptr) << link;
    EXPECT_TRUE(item->isEnabled()) << link;
  }
  // "Verify after writing" is on until the user turns it off; "Back up the radio
  // before writing" is off until the user turns it on.
  QAction* verify = nullptr;
  QAction* backupRadio = nullptr;
  auto* cloneMenu = qobject_cast<QMenu*>(menu.FindByLink(cl::CL_Menu_Clone_Read)->parent());
  ASSERT_NE(cloneMenu, nullptr);
  for (QAction* item : cloneMenu->actions()) {
    const cmcCellObj* cell = menu.CellOf(item);
    if (cell == nullptr || cell->link != cl::CL_Menu_Clone_Write) continue;
    if (cell->parameter == 1) verify = item;
    if (cell->parameter == 2) backupRadio = item;
  }
  ASSERT_NE(verify, nullptr);
  EXPECT_TRUE(verify->isChecked());
  ASSERT_NE(backupRadio, nullptr);
  EXPECT_FALSE(backupRadio->isChecked());

  // View > Memory Channel Window places the window in its area, shown beside a bank's sheet.
  controller_->OpenSheet("[St_ChBank]GI_Sheet_Mch_Pmr,Bank 0");
  QWidget* area = form_->Work()->MchArea();
  EXPECT_EQ(area->findChild<MchWinForm*>(), nullptr);
  menu.FindByLink(cl::CL_Menu_View_MchWin)->trigger();
  Pump();
  auto* window = area->findChild<MchWinForm*>();
  ASSERT_NE(window, nullptr);
  EXPECT_FALSE(window->isHidden());
  // Its own Close button ends it, and the View item loses its tick.
  window->CloseButton().click();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(area->findChild<MchWinForm*>(), nullptr);
  events_.Send(ev::kMenuStates, nullptr, 0);
  EXPECT_FALSE(menu.FindByLink(cl::CL_Menu_View_MchWin)->isChecked());
}
