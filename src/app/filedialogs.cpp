#include "app/filedialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QStringList>

namespace {

std::optional<std::string> Run(QFileDialog& dialog) {
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().first().toStdString();
}

void Prepare(QFileDialog& dialog, const FileDialogRequest& request) {
  dialog.setDirectory(QString::fromStdString(request.folder));
  dialog.setNameFilter(QtFileFilter(request.filter));
  dialog.setDefaultSuffix(QString::fromStdString(request.extension));
}

}  // namespace

QString QtFileFilter(std::string_view overlayFilter) {
  const QStringList parts =
      QString::fromUtf8(overlayFilter.data(), static_cast<qsizetype>(overlayFilter.size())).split('|');
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    QString patterns = parts[i + 1].trimmed();
    if (patterns.isEmpty()) continue;
    patterns.replace(';', ' ');
    entries << (description.contains('(' + patterns + ')') ? description : description + " (" + patterns + ')');
  }
  return entries.join(";;");
}

std::optional<std::string> AskOpenPath(QWidget* parent, const FileDialogRequest& request) {
  QFileDialog dialog(parent);
  Prepare(dialog, request);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return Run(dialog);
}

std::optional<std::string> AskSavePath(QWidget* parent, const FileDialogRequest& request) {
  QFileDialog dialog(parent);
  Prepare(dialog, request);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.selectFile(QString::fromStdString(request.fileName));
  return Run(dialog);
}
