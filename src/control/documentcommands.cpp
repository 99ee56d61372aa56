#include "control/documentcommands.h"

#include <filesystem>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/substitute.h"
#include "links/channelops.h"
#include "model/ch.h"
#include "model/memorymap.h"
#include "platform/messagebox.h"
#include "runtime/events.h"
#include "runtime/evman.h"

namespace {

constexpr char kUntitled[] = "Untitled";

// Shows the wait cursor while it lives.
class BusyScope {
 public:
  explicit BusyScope(DocumentWindow& window) : window_(window) { window_.SetBusy(true); }
  ~BusyScope() { window_.SetBusy(false); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  DocumentWindow& window_;
};

std::string FolderOf(const std::string& path) { return std::filesystem::path(path).parent_path().string(); }

// "3: NAME    ": the caption of a bank node.
std::string BankLabel(const cmcEeprom& image, int bank) {
  std::string name(8, ' ');
  const int address = memmap::addr::kBankNames + 8 * bank;
  if (image.IsValidRange(address, 8)) image.ReadBlock(address, reinterpret_cast<std::uint8_t*>(name.data()), 8);
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) c = ' ';
  }
  return std::to_string(bank + 1) + ": " + name;
}

}  // namespace

DocumentCommands::DocumentCommands(Document& document, cmcGTex& overlay, cmcEvMan& events, DocumentPlace place,
                                   DocumentWindow& window)
    : document_(document), overlay_(overlay), events_(events), place_(place), window_(window) {}

std::string DocumentCommands::ShortName() const {
  if (document_.IsUntitled()) return kUntitled;
  return std::filesystem::path(document_.FileName()).filename().string();
}

std::string DocumentCommands::Title() const { return ShortName() + " - " + overlay_.GetLine(gi::GI_Sys_AppTitle, 0); }

void DocumentCommands::UpdateTitle() { window_.SetTitle(Title()); }

std::string DocumentCommands::RecentDisplayName(int n) const {
  if (n < 0) return {};
  return place_.recent.DisplayName(static_cast<std::size_t>(n), place_.folder);
}

bool DocumentCommands::OpenRecent(int n) {
  if (n < 0 || static_cast<std::size_t>(n) >= place_.recent.Count()) return true;
  return OpenFile(place_.recent.At(static_cast<std::size_t>(n)));
}

DocumentCommands::Answer DocumentCommands::ConfirmDiscard(bool another) {
  events_.Send(ev::kFinishEdit, nullptr, 0);
  if (!document_.IsModified()) return Answer::kYes;
  // The file name is data: it goes through the substituter, never a format.
  const std::string question = another ? overlay_.GetLine(gi::GI_Mess_Confirm_WriteAnother, 0)
                                       : Substitute(overlay_.GetLine(gi::GI_Mess_Confirm_WriteFile, 0), {ShortName()});
  const platform::MsgAnswer answer =
      platform::CurrentMessageBox().Show({overlay_.GetLine(gi::GI_Sys_AppTitle, 0), question,
                                          platform::MsgIcon::Warning, platform::MsgButtons::YesNoCancel, true});
  if (answer == platform::MsgAnswer::No) return Answer::kNo;
  if (answer != platform::MsgAnswer::Yes) return Answer::kCancel;
  const bool notSaved = document_.IsUntitled() || another ? SaveDocumentAs() : SaveFile(document_.FileName());
  return notSaved ? Answer::kCancel : Answer::kYes;
}

void DocumentCommands::NewDocument() {
  if (ConfirmDiscard(false) == Answer::kCancel) return;
  window_.CloseSheet();
  document_.New();
  UpdateTitle();
  PostBankLabels();
  AfterReplaced();
}

void DocumentCommands::PostBankLabels() {
  if (!chops::BanksShown(overlay_)) return;
  for (int bank = 0; bank < memmap::kBankCount; ++bank) {
    events_.Post(ev::kBankLabel, nullptr, bank, BankLabel(document_.Edit(), bank));
  }
}

void DocumentCommands::AfterReplaced() {
  adjustmentData_ = false;
  window_.RebuildTree();
  events_.Send(ev::kImageReplaced, nullptr, 0);
  events_.Send(ev::kModelChanged, nullptr, 0);
}

FileDialogRequest DocumentCommands::DialogRequest(std::string fileName) const {
  return {place_.folder, std::move(fileName), overlay_.GetLine(gi::GI_Sys_Dialog_FOpen, 0),
          overlay_.GetLine(gi::GI_Sys_Dialog_FOpen, 1)};
}

bool DocumentCommands::OpenDocument() {
  events_.Send(ev::kFinishEdit, nullptr, 0);
  const std::optional<std::string> path = window_.AskOpenPath(DialogRequest({}));
  return !path || OpenFile(*path);
}

bool DocumentCommands::OpenFile(const std::string& path) {
  if (ConfirmDiscard(path != document_.FileName()) == Answer::kCancel) return true;
  const ModelType before = document_.Type();
  Document::OpenResult result;
  {
    const BusyScope busy(window_);
    result = document_.Open(path);
  }
  if (result != Document::OpenResult::kOpened) {
    adjustmentData_ = false;
    window_.RebuildTree();
    return true;
  }
  window_.CloseSheet();
  TakeName(path);
  // A file of another model brings its model without a question.
  if (document_.Type() != before) window_.ModelTypeChosen(document_.Type());
  AfterReplaced();
  return false;
}

bool DocumentCommands::SaveDocument() {
  return document_.IsUntitled() ? SaveDocumentAs() : SaveFile(document_.FileName());
}

bool DocumentCommands::SaveDocumentAs() {
  const std::optional<std::string> path = window_.AskSavePath(DialogRequest(ShortName()));
  return !path || SaveFile(*path);
}

bool DocumentCommands::SaveFile(const std::string& path) {
  events_.Send(ev::kFinishEdit, nullptr, 0);
  Document::SaveResult result;
  {
    const BusyScope busy(window_);
    result = document_.SaveAs(path);
  }
  if (result != Document::SaveResult::kSaved) return true;
  TakeName(path);
  return false;
}

void DocumentCommands::TakeName(const std::string& path) {
  place_.folder = FolderOf(path);
  place_.storedFolder = place_.folder;
  place_.recent.AddFirst(path);
  UpdateTitle();
}

void DocumentCommands::ChangeModel(ModelType modelType, bool ask) {
  if (modelType == document_.Type()) return;
  if (ask) {
    const platform::MsgRequest caution{overlay_.GetLine(gi::GI_Sys_AppTitle, 0),
                                       overlay_.GetBlockText(gi::GI_AppMess_ChangeModel), platform::MsgIcon::Warning,
                                       platform::MsgButtons::OkCancel, true};
    if (platform::CurrentMessageBox().Show(caution) != platform::MsgAnswer::Ok) return;
  }
  window_.CloseSheet();
  document_.LoadModel(modelType);
  window_.ModelTypeChosen(modelType);
  UpdateTitle();
  adjustmentData_ = false;
  window_.RebuildTree();
  events_.Send(ev::kModelChanged, nullptr, 0);
}
