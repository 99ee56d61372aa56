#include "app/clonepassworddialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogbuttons.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "platform/messagebox.h"
#include "runtime/events.h"
#include "runtime/evman.h"

namespace {

constexpr int kMinimumExtraWidth = 100;  // beyond the caption's width

QString FromOverlay(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

ClonePasswordDialog::ClonePasswordDialog(QWidget* owner, cmcGTex& overlay)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                         Qt::MSWindowsFixedSizeDialogHint),
      overlay_(overlay),
      field_(new QLineEdit(this)) {
  setModal(true);
  const QString caption = FromOverlay(overlay_.GetLine(gi::GI_AppInd_Opt_ClonePwd_Caption, 0));
  setWindowTitle(caption);
  auto* layout = new QVBoxLayout(this);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  auto* notice = new QLabel(FromOverlay(overlay_.GetBlockText(gi::GI_AppInd_Opt_ClonePwd_Notice)), this);
  notice->setTextFormat(Qt::PlainText);
  layout->addWidget(notice);

  field_->setEchoMode(QLineEdit::Password);
  field_->setMaxLength(kMaxLength);
  field_->setAttribute(Qt::WA_InputMethodEnabled, false);
  layout->addWidget(field_);

  const DialogButtons buttons = AddDialogButtons(*this, *layout, overlay_, gi::GI_AppInd_Opt_ClonePwd_Buttons,
                                                 gi::GI_AppInd_Opt_ClonePwd_SizeOfButtons);
  okButton_ = buttons.ok;
  cancelButton_ = buttons.cancel;
  const QFontMetrics metrics = fontMetrics();
  setMinimumWidth(metrics.horizontalAdvance(caption) + kMinimumExtraWidth);
}

void ClonePasswordDialog::accept() {
  // The radio compares bytes: the text travels as its UTF-8 bytes, which must fit.
  const std::string typed = field_->text().toStdString();
  if (!typed.empty() && typed.size() <= static_cast<std::size_t>(kMaxLength)) {
    password_ = typed;
    QDialog::accept();
    return;
  }
  platform::CurrentMessageBox().Show({overlay_.GetLine(gi::GI_Sys_AppTitle, 0),
                                      overlay_.GetBlockText(gi::GI_AppInd_Opt_ClonePwd_OutofRange),
                                      platform::MsgIcon::Error, platform::MsgButtons::Ok, true});
  field_->setFocus();
}

std::optional<std::string> AskClonePassword(QWidget* owner, cmcGTex& overlay, cmcEvMan& events) {
  std::optional<std::string> password;
  {
    ClonePasswordDialog dialog(owner, overlay);
    if (dialog.exec() == QDialog::Accepted) password = dialog.Password();
  }
  events.Send(ev::kWindowOrder, std::string_view());
  return password;
}
