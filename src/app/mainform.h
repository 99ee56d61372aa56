#pragma once

#include <QMainWindow>
#include <memory>

#include "control/mainview.h"

class MainMenus;
class MessagePanel;
class QLabel;
class QSplitter;
class QToolBar;
class WorkArea;
class cuiMain;
class cuiSheetFrame;

// The main window's frame: caption, font, bounds, the tree panel beside the
// work area, and the status bar, from the overlay and the settings. The
// controller decides what they show; the tree, menu, tool bar and sheets find
// their places here.
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
  void SetStatusMessage(CellColour text, CellColour background, const std::string& message) override;
  void ShowView() override { show(); }
  bool IsViewVisible() const override { return isVisible(); }
  void CloseView() override { close(); }
  std::optional<std::string> AskOpenPath(const FileDialogRequest& request) override;
  std::optional<std::string> AskSavePath(const FileDialogRequest& request) override;
  void SetBusy(bool busy) override;
  void HostSheet(std::unique_ptr<cuiSheet> sheet) override;
  void RemoveSheet() override;
  SheetView* SheetAreaView() override;
  const TextMeasurer& SheetMeasurer() const override;
  bool SheetHasFocus() const override;
  void FocusSheet(bool sheet) override;
  int WorkAreaHeight() const override;
  AreaHeights ShownHeights() const override;
  void ApplyLayout(const WorkLayout::Change& change) override;
  bool HasHelpWindow() const override;
  bool OpenSelectedNodeSheet() override;
  void SetToolBarVisible(bool visible) override;
  void MarkTree(const WarningMarks& marks) override;
  void RebuildTree() override;
  MainMenus& Menus() { return *menus_; }

  QLabel* MakerPanel() const { return makerPanel_; }
  MessagePanel* Message() const { return messagePanel_; }
  QWidget* SquarePanel() const { return squarePanel_; }
  WorkArea* Work() const { return workArea_; }
  cuiSheetFrame* SheetFrame() const { return sheetFrame_; }
  // The tree's place, left of the work area.
  QWidget* TreePanel() const { return treePanel_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void ApplyOverlayFont();
  void ApplyStoredBounds();
  void BuildClientArea();
  void BuildStatusBar();
  // Keeps the window's normal bounds and the tree width for the next start.
  void StoreBounds();

  cuiMain& controller_;
  QSplitter* treeSplitter_ = nullptr;
  QWidget* treePanel_ = nullptr;
  WorkArea* workArea_ = nullptr;
  cuiSheetFrame* sheetFrame_ = nullptr;
  MessagePanel* messagePanel_ = nullptr;
  QWidget* squarePanel_ = nullptr;
  QLabel* makerPanel_ = nullptr;
  int busyDepth_ = 0;
  std::unique_ptr<MainMenus> menus_;
};
