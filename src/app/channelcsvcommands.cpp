#include "app/channelcsvcommands.h"

#include <QFileDialog>
#include <QStringList>
#include <algorithm>
#include <filesystem>

#include "control/channelcsv.h"
#include "control/document.h"
#include "control/documentundo.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/substitute.h"
#include "model/charset.h"
#include "platform/files.h"
#include "platform/messagebox.h"

namespace {

std::string FileNamePart(const std::string& path) { return std::filesystem::path(path).filename().string(); }

int LineCount(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

// The refused lines, as many as one box can show, and the question.
std::string RefusalText(cmcGTex& overlay, const std::string& path, const std::vector<ChannelCsv::Refusal>& refusals) {
  const auto line = [&overlay](std::size_t n) { return overlay.GetLine(gi::GI_AppMess_Csv_Refused, n); };
  const auto count = static_cast<std::int64_t>(refusals.size());
  std::string text = Substitute(line(0), {count, FileNamePart(path)});
  const std::size_t listed = std::min<std::size_t>(refusals.size(), ChannelCsvCommands::kListedRefusals);
  for (std::size_t n = 0; n < listed; ++n) {
    text += "\n" + Substitute(line(1), {std::int64_t{refusals[n].line}, refusals[n].reason});
  }
  if (refusals.size() > listed)
    text += "\n" + Substitute(line(2), {static_cast<std::int64_t>(refusals.size() - listed)});
  return text + "\n\n" + line(3);
}

}  // namespace

ChannelCsvCommands::ChannelCsvCommands(QWidget* owner, Document& document, cmcGTex& overlay, DocumentUndo& undo,
                                       FileChooser chooser)
    : owner_(owner), document_(document), overlay_(overlay), undo_(undo), chooser_(std::move(chooser)) {}

std::optional<std::string> ChannelCsvCommands::AskFile(FileUse use) {
  if (chooser_) return chooser_(use);
  QFileDialog dialog(owner_);
  const bool save = use == FileUse::kSave;
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QString::fromStdString(overlay_.GetLine(gi::GI_Sys_Dialog_Csv, 0)));
  dialog.setNameFilter(QString::fromStdString(overlay_.GetLine(gi::GI_Sys_Dialog_Csv, 1)));
  if (!document_.IsUntitled()) {
    dialog.setDirectory(QString::fromStdString(std::filesystem::path(document_.FileName()).parent_path().string()));
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return files.front().toStdString();
}

void ChannelCsvCommands::ShowError(std::string_view block, const std::string& path) {
  platform::MsgRequest request{overlay_.GetLine(gi::GI_Sys_AppTitle, 0),
                               Substitute(overlay_.GetLine(block, 0), {FileNamePart(path)}), platform::MsgIcon::Error,
                               platform::MsgButtons::Ok, true};
  platform::CurrentMessageBox().Show(request);
}

void ChannelCsvCommands::ShowStatus(std::string_view block, int count) {
  if (showStatus_) showStatus_(Substitute(overlay_.GetLine(block, 0), {std::int64_t{count}}));
}

ChannelCsvCommands::Result ChannelCsvCommands::Export() {
  const std::optional<std::string> path = AskFile(FileUse::kSave);
  if (!path) return Result::kCancelled;
  const Charset charset = Charset::LoadShipped();
  ChannelCsv table(overlay_, charset, document_.Type());
  cmcEeprom image = document_.Edit();  // the export only reads, whatever the records it passes through
  const std::string text = table.Export(image);
  if (platform::WriteFileAtomically(*path, text) != platform::FileWriteResult::kOk) {
    ShowError(gi::GI_AppMess_Csv_WriteErr, *path);
    return Result::kFailed;
  }
  ShowStatus(gi::GI_AppMess_S_Export, std::max(LineCount(text) - 1, 0));
  return Result::kDone;
}

ChannelCsvCommands::Result ChannelCsvCommands::Import() {
  const std::optional<std::string> path = AskFile(FileUse::kOpen);
  if (!path) return Result::kCancelled;
  const std::optional<std::string> text = platform::ReadFileContent(*path);
  if (!text) {
    ShowError(gi::GI_AppMess_Csv_ReadErr, *path);
    return Result::kFailed;
  }
  const Charset charset = Charset::LoadShipped();
  ChannelCsv table(overlay_, charset, document_.Type());
  // Tried on a copy first: the document changes only when the user has seen
  // what is refused and chosen to import the rest.
  cmcEeprom imported = document_.Edit();
  ChannelCsv::ImportResult result = table.Import(imported, *text, false);
  if (!result.refusals.empty()) {
    platform::MsgRequest question{overlay_.GetLine(gi::GI_Sys_AppTitle, 0),
                                  RefusalText(overlay_, *path, result.refusals), platform::MsgIcon::Warning,
                                  platform::MsgButtons::OkCancel, true};
    if (platform::CurrentMessageBox().Show(question) != platform::MsgAnswer::Ok) return Result::kCancelled;
    imported = document_.Edit();
    result = table.Import(imported, *text, true);
  }
  if (!result.written || imported == document_.Edit()) {
    platform::MsgRequest nothing{overlay_.GetLine(gi::GI_Sys_AppTitle, 0),
                                 Substitute(overlay_.GetLine(gi::GI_AppMess_Csv_Nothing, 0), {FileNamePart(*path)}),
                                 platform::MsgIcon::Information, platform::MsgButtons::Ok, true};
    platform::CurrentMessageBox().Show(nothing);
    return Result::kFailed;
  }
  const cmcEeprom before = document_.Edit();
  document_.Edit() = imported;
  undo_.Record(before, overlay_.GetLine(gi::GI_AppInd_UndoStep, 1));
  undo_.RefreshViews();
  ShowStatus(gi::GI_AppMess_S_Import, result.taken);
  return Result::kDone;
}
