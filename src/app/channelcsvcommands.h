#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QWidget;
class cmcGTex;
class Document;
class DocumentUndo;

// File > Export channels... and Import channels...: the file dialog, the
// messages, the export written whole or not at all, and the import taken as
// one undo step after the user chose to skip the lines it refused, or cancelled.
class ChannelCsvCommands {
 public:
  enum class FileUse { kOpen, kSave };
  // Asks for a file; none when the user cancelled. The default is the file dialog.
  using FileChooser = std::function<std::optional<std::string>(FileUse use)>;
  enum class Result { kDone, kCancelled, kFailed };

  ChannelCsvCommands(QWidget* owner, Document& document, cmcGTex& overlay, DocumentUndo& undo,
                     FileChooser chooser = {});

  Result Export();
  Result Import();

  // The status bar text after a command that completed.
  void SetStatusHandler(std::function<void(const std::string& text)> showStatus) {
    showStatus_ = std::move(showStatus);
  }

  // Most refused lines one message lists; the rest are counted.
  static constexpr int kListedRefusals = 12;

 private:
  std::optional<std::string> AskFile(FileUse use);
  void ShowError(std::string_view block, const std::string& path);
  void ShowStatus(std::string_view block, int count);

  QWidget* owner_;
  Document& document_;
  cmcGTex& overlay_;
  DocumentUndo& undo_;
  FileChooser chooser_;
  std::function<void(const std::string&)> showStatus_;
};
