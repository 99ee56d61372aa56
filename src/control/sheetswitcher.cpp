#include "control/sheetswitcher.h"

#include "runtime/events.h"
#include "runtime/evman.h"
#include "sheet/sheetfactory.h"

SheetSwitcher::SheetSwitcher(SheetHost& host, cmcGTex& overlay, cmcEvMan& events, WindowWants& wants)
    : host_(host), overlay_(overlay), events_(events), wants_(wants) {}

void SheetSwitcher::CloseSheet() {
  if (!sheet_) return;
  if (sheet_->Built()) {
    cuiSheet::ViewPosition position;
    position.topRow = sheet_->TopRow();
    position.leftColumn = sheet_->LeftColumn();
    position.current = sheet_->Current();
    history_.Remember(sheet_->Ref(), position);
  }
  focusInSheet_ = host_.SheetHasFocus();
  sheet_ = nullptr;
  host_.RemoveSheet();
  bankSheet_ = false;
  admitsHelp_ = false;
}

bool SheetSwitcher::OpenSheet(const std::string& reference) {
  CloseSheet();
  const SheetRef ref = SheetRef::Parse(reference);
  if (SheetRefProblem(ref, overlay_)) return false;
  std::unique_ptr<cuiSheet> sheet = CreateSheet(ref, host_.ServicesForSheet());
  if (std::optional<cuiSheet::ViewPosition> position = history_.Find(ref.name)) sheet->SetViewPosition(*position);
  cuiSheet* shown = sheet.get();
  host_.HostSheet(std::move(sheet));
  if (!shown->Show()) {
    host_.RemoveSheet();
    return false;
  }
  sheet_ = shown;

  admitsHelp_ = SheetAdmitsHelp(ref.name);
  if (wants_.helpWanted && !wants_.helpCreated && !wants_.helpClosing) {
    events_.Post(ev::kHelpWindow, nullptr, ev::window::kCreate);
    wants_.helpCreated = true;
  }
  events_.Post(ev::kHelpWindowState, nullptr,
               admitsHelp_ && wants_.helpCreated ? ev::window::kHelpDocked : ev::window::kHelpHidden);

  bankSheet_ = IsChannelBankSheet(ref);
  if (wants_.mchWanted && !wants_.mchCreated) {
    events_.Post(ev::kMchWindow, nullptr, ev::window::kCreate);
    wants_.mchCreated = true;
  }
  events_.Post(ev::kMchWindowVisible, nullptr, bankSheet_ && wants_.mchCreated ? ev::window::kShow : ev::window::kHide);

  host_.FocusSheet(focusInSheet_);
  return true;
}

LayoutFacts SheetSwitcher::Facts() const { return {bankSheet_, admitsHelp_, wants_.helpWanted, wants_.mchWanted}; }
