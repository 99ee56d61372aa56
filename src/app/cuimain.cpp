#include "app/cuimain.h"

#include <QDir>
#include <QStandardPaths>
#include <filesystem>

#include "app/environ.h"
#include "app/mainform.h"
#include "app/startupchoices.h"
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
      task_(services.scheduler.NewTask()) {
  const std::string dataDir = platform::DataDir();
  services.languageList.Open(dataDir + baseName_ + ".OVL");
  languageCount_ = CountLanguages(services.languageList);
  const LanguageChoice language = ChooseLanguage(services.languageList, settings_.language, dataDir);
  settings_.language = language.index;
  overlay_.Open(language.mainOverlayPath);
  services.helpOverlay.Open(dataDir + overlay_.GetLine(gi::GI_Sys_MyHelpOvl, 0));

  documentFolder_ = settings_.currentDirectory.empty() ? DefaultDocumentFolder() : settings_.currentDirectory;

  for (cmcEeprom* image : {&edit_, &second_}) image->Resize(imageSize_);
  saved_ = edit_;
  initial_ = edit_;

  events_.AddListener(&cuiMain::OnEvent, this);
}

cuiMain::~cuiMain() {
  events_.RemoveListener(&cuiMain::OnEvent, this);
  task_->Stop();
  task_->Release();
}

void cuiMain::Build(TForm1& form, std::span<const char* const>) {
  form_ = &form;
  modelType_ = ChooseModelType(overlay_, settings_.modelType);
  settings_.modelType = modelType_;
  LoadModel(modelType_);
  if (imageSize_ < cmcEeprom::kImageSize) platform::Fatal("Self Check Error.\nEEPROM Map is too large.");
  // The sheets' tick handler joins this task with the sheets.
  task_->SetInterval(kTaskIntervalMs);
  form.show();
}

void cuiMain::LoadModel(int modelType) {
  cloneio::LoadInitialImage(overlay_, modelType, initial_);
  edit_ = initial_;
  second_ = initial_;
  memmap::Encode(edit_, modelType);
  memmap::Encode(second_, modelType);
  saved_ = edit_;
  modified_ = false;
  comparison_ = initial_;
  UpdateTitle();
}

void cuiMain::UpdateTitle() {
  const std::string name =
      fileName_.empty() ? std::string("Untitled") : std::filesystem::path(fileName_).filename().string();
  const QString title = QString::fromStdString(name + " - " + overlay_.GetLine(gi::GI_Sys_AppTitle, 0));
  if (form_ != nullptr) form_->SetTitle(title);
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
  if (form_ != nullptr) form_->ShowMakerPanel(QString::fromStdString(overlay_.GetLine(gi::GI_StatusPanel_Maker, 0)));
}

void cuiMain::RequestExtendedMode() {
  if (extendedMode_) return;
  if (!Confirm(gi::GI_Mess_Extended_Caution)) return;
  extendedMode_ = true;
  RebuildTree();
}

void cuiMain::OnKeyChar(QObject*, char typed) {
  using Request = AccessWordWatcher::Request;
  const Request request = accessWords_.OnKeyChar(typed, settings_.makerReserveMode, makerMode_, modelType_);
  if (request == Request::MakerMode || request == Request::Both) RequestMakerMode();
  if (request == Request::ExtendedMode || request == Request::Both) RequestExtendedMode();
}

void cuiMain::OnFormClosing() {
  if (form_ == nullptr) return;
  const QRect bounds = form_->isMaximized() || form_->isFullScreen() ? form_->normalGeometry() : form_->geometry();
  settings_.left = bounds.x();
  settings_.top = bounds.y();
  settings_.width = bounds.width();
  settings_.height = bounds.height();
  task_->SetInterval(-1);
  form_ = nullptr;
}

void cuiMain::OnEvent(void* self, const Event& event) {
  auto& controller = *static_cast<cuiMain*>(self);
  switch (event.code) {
  case ev::kRefresh:
    controller.events_.Send(ev::kMenuStates, nullptr, 0);
    controller.events_.Send(ev::kToolbarStates, nullptr, 0);
    break;
  case ev::kTakeComparisonImage: controller.comparison_ = controller.edit_; break;
  default: break;
  }
}
