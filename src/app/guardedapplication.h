#pragma once

#include <QApplication>
#include <exception>

// The application object. An exception that escapes an event handler is shown
// in an error box and the event loop goes on, so one failed command does not
// take the user's unsaved work with it.
class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

  bool notify(QObject* receiver, QEvent* event) override;
};

// Shows an exception that no handler caught: its text in an error box
// captioned with the application's title.
void ShowEscapedException(std::exception_ptr exception);
