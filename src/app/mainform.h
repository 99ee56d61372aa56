#pragma once

#include <QMainWindow>

class QLabel;
class cuiMain;

// The main window's frame: caption, font, bounds and status bar from the
// overlay and the settings. The controller builds the contents; the tree,
// menu, tool bar and sheets find their places here.
class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  static constexpr int kMinimumWidth = 400;
  static constexpr int kMinimumHeight = 380;

  explicit TForm1(cuiMain& controller, QWidget* parent = nullptr);

  // The window title, which is also the application's title.
  void SetTitle(const QString& title);
  // Appends the maker panel (maroon, white centred text) to the status bar.
  void ShowMakerPanel(const QString& text);
  QLabel* MakerPanel() const { return makerPanel_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void ApplyOverlayFont();
  void ApplyStoredBounds();
  void BuildStatusBar();

  cuiMain& controller_;
  QLabel* messagePanel_ = nullptr;
  QLabel* makerPanel_ = nullptr;
};
