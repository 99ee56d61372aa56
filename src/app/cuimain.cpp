#include "app/cuimain.h"

#include <QDir>
#include <QStandardPaths>
#include <filesystem>

#include "app/environ.h"
#include "control/mainview.h"
#include "control/startupchoices.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "model/cloneio.h"
#include "model/memorymap.h"
#include "platform/fatal.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"

namespace {

constexpr int kTaskIntervalMs = 50;

std::string DefaultDocumentFolder() {
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return (documents.isEmpty() ? QDir::currentPath() : documents).toStdString();
}

}  // namespace

cuiMain::cuiMain(const ControllerServices& services, std::string baseName, int imageSize)
    : settings_(services.settings),
      overlay_(services.mainOverlay),
      events_(services.events),
      baseName_(std::move(baseName)),
      imageSize_(imageSize),
      selectionCache_(services.mainOverlay),
      document_(services.mainOverlay, imageSize),
      linkEnvironment_{document_.Edit(), services.mainOverlay, selectionCache_, noEditors_},
      links_(linkEnvironment_),
      commands_(links_),
      task_(services.scheduler.NewTask()) {
  linkEnvironment_.events = &events_;
  linkEnvironment_.changeModel = [this](ModelType modelType) {
    settings_.modelType = ModelNumber(modelType);
    LoadModel(modelType);
    RebuildTree();
  };
  const std::string dataDir = platform::DataDir();
  services.languageList.Open(dataDir + baseName_ + ".OVL");
  languageCount_ = CountLanguages(services.languageList);
  const LanguageChoice language = ChooseLanguage(services.languageList, settings_.language, dataDir);
  settings_.language = language.index;
  overlay_.Open(language.mainOverlayPath);
  services.helpOverlay.Open(dataDir + overlay_.GetLine(gi::GI_Sys_MyHelpOvl, 0));

  documentFolder_ = settings_.currentDirectory.empty() ? DefaultDocumentFolder() : settings_.currentDirectory;

  events_.AddListener(&cuiMain::OnEvent, this);
}

cuiMain::~cuiMain() {
  events_.RemoveListener(&cuiMain::OnEvent, this);
  task_->Stop();
  task_->Release();
}

void cuiMain::Build(MainView& view, std::span<const char* const>) {
  view_ = &view;
  const ModelType type = ChooseModelType(overlay_, settings_.modelType);
  settings_.modelType = ModelNumber(type);
  LoadModel(type);
  RebuildTree();
  if (imageSize_ < cmcEeprom::kImageSize) platform::Fatal("Self Check Error.\nEEPROM Map is too large.");
  // The sheets' tick handler joins this task with the sheets.
  task_->SetInterval(kTaskIntervalMs);
  view.ShowView();
}

void cuiMain::LoadModel(ModelType modelType) {
  document_.LoadModel(modelType);
  linkEnvironment_.modelType = modelType;
  UpdateTitle();
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

void cuiMain::UpdateTitle() {
  const std::string name = document_.IsUntitled() ? std::string("Untitled")
                                                  : std::filesystem::path(document_.FileName()).filename().string();
  if (view_ != nullptr) view_->SetTitle(name + " - " + overlay_.GetLine(gi::GI_Sys_AppTitle, 0));
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
  RebuildTree();
  if (view_ != nullptr) view_->ShowMakerPanel(overlay_.GetLine(gi::GI_StatusPanel_Maker, 0));
}

void cuiMain::RequestExtendedMode() {
  if (extendedMode_) return;
  if (!Confirm(gi::GI_Mess_Extended_Caution)) return;
  extendedMode_ = true;
  RebuildTree();
}

void cuiMain::OnKeyChar(QObject*, char typed) {
  using Request = AccessWordWatcher::Request;
  const Request request = accessWords_.OnKeyChar(typed, settings_.makerReserveMode, makerMode_, document_.Type());
  if (request == Request::MakerMode || request == Request::Both) RequestMakerMode();
  if (request == Request::ExtendedMode || request == Request::Both) RequestExtendedMode();
}

void cuiMain::OnFormClosing() {
  if (view_ == nullptr) return;
  task_->SetInterval(-1);
  view_ = nullptr;
}

void cuiMain::OnEvent(void* self, const Event& event) {
  auto& controller = *static_cast<cuiMain*>(self);
  switch (event.code) {
  case ev::kRefresh:
    controller.events_.Send(ev::kMenuStates, nullptr, 0);
    controller.events_.Send(ev::kToolbarStates, nullptr, 0);
    break;
  case ev::kTakeComparisonImage: controller.document_.Comparison() = controller.document_.Edit(); break;
  default: break;
  }
}
