#pragma once

#include <string>

// What the main controller asks of the main window. The window implements it;
// the controller never sees a widget.
class MainView {
 public:
  virtual ~MainView() = default;

  // The window title, which is also the application's title.
  virtual void SetTitle(const std::string& title) = 0;
  // Shows the maker panel with its text at the end of the status bar.
  virtual void ShowMakerPanel(const std::string& text) = 0;
  // The text of the status bar's message panel.
  virtual void SetStatusMessage(const std::string& text) = 0;
  // Shows the window once the controller has filled it.
  virtual void ShowView() = 0;
  // A new navigation tree for the present modes and model type.
  virtual void RebuildTree() {}
};
