#pragma once

#include <QMainWindow>
#include <memory>

#include "control/mainview.h"

class MainMenus;
class QLabel;
class cuiMain;

// The main window's frame: caption, font, bounds and status bar from the
// overlay and the settings. The controller builds the contents; the tree,
// menu, tool bar and sheets find their places here.
class TForm1 : public QMainWindow, public MainView {
  Q_OBJECT
 public:
  static constexpr int kMinimumWidth = 400;
  static constexpr int kMinimumHeight = 380;

  explicit TForm1(cuiMain& controller, QWidget* parent = nullptr);
  ~TForm1() override;

  void SetTitle(const std::string& title) override;
  // Appends the maker panel (maroon, white centred text) to the status bar.
  void ShowMakerPanel(const std::string& text) override;
  void SetStatusMessage(const std::string& text) override;
  void ShowView() override { show(); }
  void RebuildTree() override;
  MainMenus& Menus() { return *menus_; }
  QLabel* MakerPanel() const { return makerPanel_; }
  QLabel* MessagePanel() const { return messagePanel_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ApplyOverlayFont();
  void ApplyStoredBounds();
  void BuildStatusBar();
  // Keeps the window's normal bounds for the next start.
  void StoreBounds();

  cuiMain& controller_;
  QLabel* messagePanel_ = nullptr;
  QLabel* makerPanel_ = nullptr;
  std::unique_ptr<MainMenus> menus_;
};
