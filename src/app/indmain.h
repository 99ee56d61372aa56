#pragma once

#include "app/cuimain.h"

// The controller of this product: its model codes, initial files, the
// start-up notices, and the routing of the tool windows' events.
class indMain : public cuiMain {
 public:
  static constexpr char kBaseName[] = "QZ5071K";

  explicit indMain(const ControllerServices& services);
  ~indMain() override;

  void InitModelCodes() override;
  void Build(MainView& view, std::span<const char* const> arguments) override;
  // The check, then the tree's bank images and refresh follow.
  WarningMarks RunWarningCheck() override;

 private:
  static void OnEvent(void* self, const Event& event);
  void ShowBetaNotice();

  cmcEvMan& events_;
};
