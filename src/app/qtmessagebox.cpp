#include "app/qtmessagebox.h"

#include <QMessageBox>

using platform::MsgAnswer;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
  switch (icon) {
  case MsgIcon::Error: return QMessageBox::Critical;
  case MsgIcon::Warning: return QMessageBox::Warning;
  case MsgIcon::Information: return QMessageBox::Information;
  case MsgIcon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MsgButtons buttons) {
  switch (buttons) {
  case MsgButtons::Ok: return QMessageBox::Ok;
  case MsgButtons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
  case MsgButtons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

MsgAnswer FromQtButton(int button) {
  switch (button) {
  case QMessageBox::Ok: return MsgAnswer::Ok;
  case QMessageBox::Yes: return MsgAnswer::Yes;
  case QMessageBox::No: return MsgAnswer::No;
  default: return MsgAnswer::Cancel;
  }
}

}  // namespace

MsgAnswer QtMessageBox::Show(const platform::MsgRequest& request) {
  QMessageBox box(ToQtIcon(request.icon), QString::fromStdString(request.caption), QString::fromStdString(request.text),
                  ToQtButtons(request.buttons), owner_);
  if (request.topmost) box.setWindowFlag(Qt::WindowStaysOnTopHint);
  return FromQtButton(box.exec());
}
