// The main controller's commands as the menu, tool bar and tree give them,
// and what the document commands and sheet switching ask of the window.

#include "app/cuimain.h"
#include "app/environ.h"
#include "control/mainview.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "platform/messagebox.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "sheet/headless.h"

namespace {

constexpr char kNoItemMenu[] = "GI_PMenu_NoItem";

}  // namespace

void cuiMain::CloseMainWindow() {
  if (view_ != nullptr) view_->CloseView();
}

void cuiMain::PrepareEditMenu() {
  // The grid announces the open sheet's own menu; only without one does the
  // Edit menu fall back to "no item".
  if (!editMenuAnnounced_) events_.Send(ev::kMenuFill, nullptr, cl::CL_Menu_Edit_Top, kNoItemMenu);
}

void cuiMain::OpenSheet(const std::string& reference) {
  sheets_.OpenSheet(reference);
  UpdateLayout();
}

void cuiMain::ToggleMchWindow() {
  wants_.mchWanted = !wants_.mchWanted;
  settings_.mchView = wants_.mchWanted ? 1 : 0;
  events_.Send(ev::kRefresh, nullptr, 0);
  if (wants_.mchWanted) {
    events_.Post(ev::kMchWindow, nullptr, ev::window::kCreate);
    wants_.mchCreated = true;
    if (sheets_.Facts().bankSheet) events_.Post(ev::kMchWindowVisible, nullptr, ev::window::kShow);
  } else {
    events_.Post(ev::kMchWindow, nullptr, ev::window::kClose);
    wants_.mchCreated = false;
  }
  UpdateLayout();
}

void cuiMain::ToggleHelpWindow() {
  wants_.helpWanted = !wants_.helpWanted;
  settings_.pHelpView = wants_.helpWanted ? 1 : 0;
  if (wants_.helpWanted) {
    if (!wants_.helpCreated) events_.Post(ev::kHelpWindow, nullptr, ev::window::kCreate);
    wants_.helpCreated = true;
    if (sheets_.Facts().admitsHelp) events_.Post(ev::kHelpWindowState, nullptr, ev::window::kHelpFollowsSheet);
  } else {
    events_.Send(ev::kCloseHelpWindow, nullptr, 0);
    wants_.helpCreated = false;
  }
  UpdateLayout();
}

int cuiMain::FontSize() const { return settings_.fontSizePercentage; }

void cuiMain::SetFontSize(int size) {
  settings_.fontSizePercentage = size;
  // The tick reopens the sheet in the new size.
  sheets_.CloseSheet();
  if (wants_.mchCreated) {
    events_.Send(ev::kRebuildMchWindow, nullptr, 0);
    if (sheets_.Facts().bankSheet) events_.Post(ev::kMchWindowVisible, nullptr, ev::window::kHide);
  }
  if (wants_.helpCreated) events_.Send(ev::kHelpZoom, nullptr, 0);
}

bool cuiMain::IsToolBarShown() const { return settings_.toolbarVisible != 0; }

void cuiMain::ToggleToolBar() {
  settings_.toolbarVisible = settings_.toolbarVisible != 0 ? 0 : 1;
  if (view_ != nullptr) view_->SetToolBarVisible(settings_.toolbarVisible != 0);
}

void cuiMain::ChangeModel(ModelType modelType, bool ask) { documentCommands_.ChangeModel(modelType, ask); }

bool cuiMain::IsHelpPopupAvailable() const { return sheets_.Facts().admitsHelp && !wants_.helpCreated; }

void cuiMain::ShowHelpPopup() {
  if (!wants_.helpCreated) events_.Post(ev::kHelpWindow, nullptr, ev::window::kCreate);
  wants_.helpCreated = true;
  if (sheets_.Facts().admitsHelp) events_.Post(ev::kHelpWindowState, nullptr, ev::window::kHelpShown);
  wants_.helpWanted = true;
}

std::string cuiMain::LanguageName(int n) const {
  if (n < 0 || n >= languageCount_) return {};
  const std::string line = languageList_.GetLine(gi::GI_Sys_Language, static_cast<std::size_t>(n));
  return line.substr(0, line.find('\t'));
}

// --- what the document commands ask of the window ---

std::optional<std::string> cuiMain::AskOpenPath(const FileDialogRequest& request) {
  return view_ != nullptr ? view_->AskOpenPath(request) : std::nullopt;
}

std::optional<std::string> cuiMain::AskSavePath(const FileDialogRequest& request) {
  return view_ != nullptr ? view_->AskSavePath(request) : std::nullopt;
}

void cuiMain::SetBusy(bool busy) {
  if (view_ != nullptr) view_->SetBusy(busy);
}

void cuiMain::SetTitle(const std::string& title) {
  if (view_ != nullptr) view_->SetTitle(title);
}

void cuiMain::ModelTypeChosen(ModelType modelType) {
  settings_.modelType = ModelNumber(modelType);
  environment_.modelType = modelType;
}

// --- what sheet switching asks of the window ---

SheetServices cuiMain::ServicesForSheet() {
  static const CharacterMeasurer kNoWindowMeasurer;
  SheetServices services{overlay_, overlay_, document_.Edit(),
                         view_ != nullptr ? view_->SheetMeasurer() : kNoWindowMeasurer};
  services.view = view_ != nullptr ? view_->SheetAreaView() : nullptr;
  services.links = links_.get();
  services.events = &events_;
  services.charset = &*charset_;
  services.segchar = &*segchar_;
  services.widths = &widths_;
  services.modes = ModesNow();
  return services;
}

SheetModes cuiMain::ModesNow() const {
  SheetModes modes;
  modes.modelType = document_.Type();
  modes.makerMode = makerMode_;
  modes.languageCount = languageCount_;
  // A later instance reads no settings and holds 0: its sheets keep their plain size.
  if (settings_.fontSizePercentage > 0) modes.fontSizePercent = settings_.fontSizePercentage;
  return modes;
}

void cuiMain::HostSheet(std::unique_ptr<cuiSheet> sheet) {
  if (view_ != nullptr) view_->HostSheet(std::move(sheet));
}

void cuiMain::RemoveSheet() {
  editMenuAnnounced_ = false;
  if (view_ != nullptr) view_->RemoveSheet();
}

bool cuiMain::SheetHasFocus() const { return view_ != nullptr && view_->SheetHasFocus(); }

void cuiMain::FocusSheet(bool sheet) {
  if (view_ != nullptr) view_->FocusSheet(sheet);
}
