#pragma once

#include "app/cuimain.h"

// The controller of this product: its model codes, initial files and the
// start-up notices.
class indMain : public cuiMain {
 public:
  static constexpr char kBaseName[] = "QZ5071K";

  explicit indMain(const ControllerServices& services);

  void InitModelCodes() override;
  void Build(MainView& view, std::span<const char* const> arguments) override;

 private:
  void ShowBetaNotice();
};
