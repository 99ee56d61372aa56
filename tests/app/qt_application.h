#pragma once

#include <QApplication>
#include <cstdlib>

// One application object for the tests that need a screen; it runs offscreen.
inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "test_app";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QApplication application(argc, argv);
  return application;
}
