#include "app/cuimain.h"

#include <QDir>
#include <QStandardPaths>

#include "app/environ.h"
#include "control/mainview.h"
#include "control/startupchoices.h"
#include "control/statusmessage.h"
#include "control/warningcheck.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "platform/fatal.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"

namespace {

constexpr int kTaskIntervalMs = 50;
// After an edit, the tree's marks follow once typing pauses this long.
constexpr std::uint32_t kRefreshDelayMs = 250;

// Where each group of layout states keeps its area heights between runs; a
// group without an area of that kind has no setting for it.
struct StoredHeights {
  LayoutGroup group;
  int indEnviron::*sheet;
  int indEnviron::*mch;
  int indEnviron::*help;
};
const StoredHeights kStoredHeights[] = {
    {LayoutGroup::kSheetAlone, &indEnviron::sMemWinHeight, nullptr, nullptr},
    {LayoutGroup::kWithHelp, &indEnviron::sMemWinHeightWithHelp, nullptr, &indEnviron::sHelpWinHeight},
    {LayoutGroup::kWithMch, &indEnviron::sMemWinHeightWithMch, &indEnviron::sMchWinHeight, nullptr},
    {LayoutGroup::kWithMchAndHelp, &indEnviron::sMemWinHeightWithMchAndHelp, &indEnviron::sMchWinHeightWithHelp,
     &indEnviron::sHelpWinHeightWithMch},
};

int Read(const indEnviron& settings, int indEnviron::*member) { return member != nullptr ? settings.*member : 0; }

std::string DefaultDocumentFolder() {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return (documents.isEmpty() ? QDir::currentPath() : documents).toStdString();
}

}  // namespace

cuiMain::cuiMain(const ControllerServices& services, std::string baseName, int imageSize)
    : settings_(services.settings),
      overlay_(services.mainOverlay),
      languageList_(services.languageList),
      events_(services.events),
      baseName_(std::move(baseName)),
      imageSize_(imageSize),
      selectionCache_(services.mainOverlay),
      scheduler_(services.scheduler),
      document_(services.mainOverlay, imageSize),
      undo_(document_, services.mainOverlay, &services.events),
      documentCommands_(document_, services.mainOverlay, services.events,
                        {documentFolder_, services.settings.currentDirectory, services.settings.recent}, *this),
      widths_(services.settings),
      environment_{document_.Edit(), services.mainOverlay, selectionCache_, editors_},
      linkTable_(LinkTable::Instance()),
      sheets_(*this, services.mainOverlay, services.events, wants_),
      clock_(services.scheduler.TimeSource()),
      task_(services.scheduler.NewTask()) {
  const std::string dataDir = platform::DataDir();
  services.languageList.Open(dataDir + baseName_ + ".OVL");
  languageCount_ = CountLanguages(services.languageList);
  const LanguageChoice language = ChooseLanguage(services.languageList, settings_.language, dataDir);
  settings_.language = language.index;
  overlay_.Open(language.mainOverlayPath);
  services.helpOverlay.Open(dataDir + overlay_.GetLine(gi::GI_Sys_MyHelpOvl, 0));
  charset_ = Charset::LoadShipped();
  segchar_ = Segchar::FromOverlay(overlay_);

  documentFolder_ = settings_.currentDirectory.empty() ? DefaultDocumentFolder() : settings_.currentDirectory;
  wants_.mchWanted = settings_.mchView != 0;
  wants_.helpWanted = settings_.pHelpView != 0;
  LoadStoredHeights();

  environment_.events = &events_;
  environment_.initialImage = &document_.Initial();
  environment_.showStatus = [this](const std::string& text) {
    PostStatusMessage(events_, {clWindowText, clBtnFace, text});
  };
  environment_.afterUserAction = [this] { MarkModifiedIfChanged(); };
  environment_.charset = &*charset_;
  environment_.recorder = &undo_;
  environment_.undo = &undo_;
  undo_.SetSheets([this] {
    std::vector<cuiSheet*> sheets;
    if (cuiSheet* sheet = sheets_.Current()) sheets.push_back(sheet);
    return sheets;
  });
  undo_.SetAfterStep([this] { MarkModifiedIfChanged(); });
  AddCommandLinks(linkTable_, *this);
  links_ = std::make_unique<CellLinks>(environment_, linkTable_);
  items_ = std::make_unique<LinkItemDispatch>(*links_);

  events_.AddListener(&cuiMain::OnEvent, this);
}

cuiMain::~cuiMain() {
  events_.RemoveListener(&cuiMain::OnEvent, this);
  task_->Stop();
  task_->Release();
}

void cuiMain::Build(MainView& view, std::span<const char* const>) {
  view_ = &view;
  // Choice lists are built for the model, modes and font size in force when one opens.
  editors_.SetSheetServices([this] {
    SheetServices choiceLists = ServicesForSheet();
    choiceLists.view = nullptr;
    return choiceLists;
  });
  const ModelType type = ChooseModelType(overlay_, settings_.modelType);
  settings_.modelType = ModelNumber(type);
  LoadModel(type);
  RebuildTree();
  if (imageSize_ < cmcEeprom::kImageSize) platform::Fatal("Self Check Error.\nEEPROM Map is too large.");
  BuildTools(view);
  view.SetToolBarVisible(settings_.toolbarVisible != 0);
  task_->SetCallback([this](cmcTask&) { OnTick(); });
  task_->SetInterval(kTaskIntervalMs);
  view.ShowView();
  UpdateLayout();
  // The menu and tool bar were built with the window; their states now see every command.
  events_.Send(ev::kRefresh, nullptr, 0);
  // The tree shows the start-up data's warnings too, not only those after an edit.
  MarkModifiedIfChanged();
}

void cuiMain::LoadModel(ModelType modelType) {
  document_.LoadModel(modelType);
  environment_.modelType = modelType;
  UpdateTitle();
}

void cuiMain::MarkModifiedIfChanged() {
  if (!refreshTimer_) refreshTimer_.emplace(clock_);
  refreshTimer_->Start(kRefreshDelayMs);
}

void cuiMain::OnTick() {
  if (view_ == nullptr) return;
  if (sheets_.Current() == nullptr && view_->IsViewVisible()) OpenFallbackSheet();
  if (refreshTimer_ && refreshTimer_->Remaining() == 0) {
    refreshTimer_.reset();
    RunWarningCheck();
    events_.Post(ev::kWarningCheckDone, nullptr, 0);
  }
  UpdateLayout();
}

void cuiMain::OpenFallbackSheet() {
  // The selected node's sheet: after New, Open or a model change that is the
  // rebuilt tree's choice, never the sheet of the data before. Without a tree,
  // the sheet left last, else the top page.
  if (view_->OpenSelectedNodeSheet() && sheets_.Current() != nullptr) return;
  const SheetHistory::Entry* newest = sheets_.History().Newest();
  const std::string reference = newest != nullptr ? newest->ref.Text() : std::string(gi::GI_Sheet_TopPage);
  if (!sheets_.OpenSheet(reference) && newest != nullptr) sheets_.OpenSheet(std::string(gi::GI_Sheet_TopPage));
}

void cuiMain::UpdateLayout() {
  if (view_ == nullptr) return;
  LayoutFacts facts = sheets_.Facts();
  // The help area shows the help window: wanted without one, it stays hidden,
  // and its stored height waits for the window.
  facts.helpWanted = facts.helpWanted && view_->HasHelpWindow();
  if (std::optional<WorkLayout::Change> change =
          layout_.Update(facts, view_->WorkAreaHeight(), view_->ShownHeights())) {
    view_->ApplyLayout(*change);
  }
}

void cuiMain::RebuildTree() {
  if (view_ != nullptr) view_->RebuildTree();
}

TreeFacts cuiMain::TreeFactsNow() const {
  TreeFacts facts = TreeFacts::FromImage(document_.Edit(), document_.Type());
  facts.makerMode = makerMode_;
  facts.extendedMode = extendedMode_;
  return facts;
}

WarningMarks cuiMain::RunWarningCheck() {
  WarningMarks marks = ::RunWarningCheck(overlay_, *links_, document_.Type());
  if (view_ != nullptr) view_->MarkTree(marks);
  return marks;
}

bool cuiMain::Confirm(std::string_view cautionName) {
  const platform::MsgRequest request{overlay_.GetLine(gi::GI_Sys_AppTitle, 0), overlay_.GetBlockText(cautionName),
                                     platform::MsgIcon::Warning, platform::MsgButtons::OkCancel, true};
  return platform::CurrentMessageBox().Show(request) == platform::MsgAnswer::Ok;
}

void cuiMain::RequestMakerMode() {
  if (makerMode_) return;
  if (!Confirm(gi::GI_Mess_Maker_Caution)) {
    accessWords_.ResetMakerMatch();
    return;
  }
  makerMode_ = true;
  MarkModifiedIfChanged();  // the mode shows more of the data, and so more marks
  RebuildTree();
  if (view_ != nullptr) view_->ShowMakerPanel(overlay_.GetLine(gi::GI_StatusPanel_Maker, 0));
}

void cuiMain::RequestExtendedMode() {
  if (extendedMode_) return;
  if (!Confirm(gi::GI_Mess_Extended_Caution)) return;
  extendedMode_ = true;
  RebuildTree();
  MarkModifiedIfChanged();
}

void cuiMain::OnKeyChar(QObject*, char typed) {
  using Request = AccessWordWatcher::Request;
  const Request request = accessWords_.OnKeyChar(typed, settings_.makerReserveMode, makerMode_, document_.Type());
  if (request == Request::MakerMode || request == Request::Both) RequestMakerMode();
  if (request == Request::ExtendedMode || request == Request::Both) RequestExtendedMode();
}

bool cuiMain::QueryClose() { return documentCommands_.ConfirmDiscard(false) != DocumentCommands::Answer::kCancel; }

void cuiMain::LoadStoredHeights() {
  for (const StoredHeights& stored : kStoredHeights) {
    const AreaHeights heights{Read(settings_, stored.sheet), Read(settings_, stored.mch), Read(settings_, stored.help)};
    // Settings never written hold 0: the default split applies.
    if (heights.sheet != 0 || heights.mch != 0 || heights.help != 0) layout_.Heights().SetStored(stored.group, heights);
  }
}

void cuiMain::StoreHeights() {
  if (layout_.State() != 0) {
    layout_.Heights().Remember(GroupOf(layout_.State()), view_->WorkAreaHeight(), view_->ShownHeights());
  }
  for (const StoredHeights& stored : kStoredHeights) {
    const AreaHeights& heights = layout_.Heights().Remembered(stored.group);
    if (heights == AreaHeights{}) continue;
    for (auto [member, value] : {std::pair{stored.sheet, heights.sheet}, std::pair{stored.mch, heights.mch},
                                 std::pair{stored.help, heights.help}}) {
      if (member != nullptr) settings_.*member = value;
    }
  }
}

void cuiMain::OnFormClosing() {
  if (view_ == nullptr) return;
  StoreHeights();
  task_->SetInterval(-1);
  sheets_.CloseSheet();
  csv_.reset();
  view_ = nullptr;
}

void cuiMain::OnEvent(void* self, const Event& event) {
  auto& controller = *static_cast<cuiMain*>(self);
  switch (event.code) {
  case ev::kRefresh:
    controller.events_.Send(ev::kMenuStates, nullptr, 0);
    controller.events_.Send(ev::kToolbarStates, nullptr, 0);
    break;
  case ev::kStatusMessage:
    if (std::optional<StatusMessage> status = DecodeStatusMessage(event); status && controller.view_ != nullptr) {
      controller.view_->SetStatusMessage(status->text, status->background, status->message);
    }
    break;
  case ev::kMenuFill:
    if (event.argument == cl::CL_Menu_Edit_Top && event.sender != nullptr) controller.editMenuAnnounced_ = true;
    break;
  case ev::kMchWindow:
    if (event.argument == ev::window::kCreate) controller.OpenMchWindow();
    break;
  case ev::kImageReplaced:
    // New, Open, a clone read and a model change bring other data: its marks follow.
    controller.MarkModifiedIfChanged();
    break;
  case ev::kTakeComparisonImage: controller.document_.Comparison() = controller.document_.Edit(); break;
  default: break;
  }
}
