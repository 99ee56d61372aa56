#pragma once

#include <QApplication>
#include <cstdlib>

#include "app/guardedapplication.h"

// One application object for the tests that need a screen; it runs offscreen
// and is the program's own, so escaped exceptions are handled as in the program.
inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "test_app";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static GuardedApplication application(argc, argv);
  return application;
}
