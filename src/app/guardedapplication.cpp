#include "app/guardedapplication.h"

#include <stdexcept>

#include "platform/messagebox.h"

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    ShowEscapedException(std::current_exception());
    return false;
  }
}

void ShowEscapedException(std::exception_ptr exception) {
  std::string text = "An unexpected error occurred.";
  try {
    std::rethrow_exception(exception);
  } catch (const std::exception& error) {
    text = error.what();
  } catch (...) {
  }
  platform::CurrentMessageBox().Show({QGuiApplication::applicationDisplayName().toStdString(), text,
                                      platform::MsgIcon::Error, platform::MsgButtons::Ok, true});
}
