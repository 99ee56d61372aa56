#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "app/guardedapplication.h"

// One application object for the tests that need a screen; it runs offscreen
// and is the program's own, so escaped exceptions are handled as in the program.
// It is destroyed when the tests end, before the program's statics: Qt's own
// (the input devices of shown windows) would be gone before a static
// application's destructor reached them.
inline QApplication& TestApplication() {
  static int argc = 1;
  static char name[] = "test_app";
  static char* argv[] = {name, nullptr};
  class Owner : public testing::Environment {
   public:
    void TearDown() override { application.reset(); }
    std::unique_ptr<GuardedApplication> application;
  };
  static Owner* owner = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    auto* made = new Owner;
    made->application = std::make_unique<GuardedApplication>(argc, argv);
    testing::AddGlobalTestEnvironment(made);
    return made;
  }();
  return *owner->application;
}
