#pragma once

#include <QDialog>
#include <optional>
#include <string>

class QLineEdit;
class QPushButton;
class cmcEvMan;
class cmcGTex;

// The clone password dialog: a hidden field of 1 to 16 characters with OK and
// Cancel; OK with an empty field shows the out-of-range message and stays open.
class ClonePasswordDialog : public QDialog {
 public:
  static constexpr int kMaxLength = 16;

  ClonePasswordDialog(QWidget* owner, cmcGTex& overlay);

  // The password taken by OK; none before OK or after Cancel.
  const std::optional<std::string>& Password() const { return password_; }
  QLineEdit* Field() const { return field_; }
  QPushButton* OkButton() const { return okButton_; }
  QPushButton* CancelButton() const { return cancelButton_; }

  void accept() override;

 private:
  cmcGTex& overlay_;
  QLineEdit* field_;
  QPushButton* okButton_ = nullptr;
  QPushButton* cancelButton_ = nullptr;
  std::optional<std::string> password_;
};

// Shows the dialog modally over owner: the password, or none on Cancel.
// Afterwards, either way, the window-order event goes out.
std::optional<std::string> AskClonePassword(QWidget* owner, cmcGTex& overlay, cmcEvMan& events);
