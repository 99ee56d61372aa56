#pragma once

#include <QWidget>

#include "control/worklayout.h"

class QSplitter;
class QVBoxLayout;

// The work area beside the tree: the sheet area at the top, the
// memory-channel area and the help area below it, split by dragging. Which of
// them show, and how high, is the controller's layout decision.
class WorkArea : public QWidget {
  Q_OBJECT
 public:
  explicit WorkArea(QWidget* parent = nullptr);

  // The sheet area's widget: the frame that shows the current sheet.
  void SetSheetWidget(QWidget* widget);
  QWidget* SheetWidget() const { return sheetWidget_; }
  QWidget* SheetArea() const { return sheetArea_; }
  QWidget* MchArea() const { return mchArea_; }
  QWidget* HelpArea() const { return helpArea_; }
  bool HasHelpWindow() const;

  void ApplyLayout(const WorkLayout::Change& change);
  AreaHeights ShownHeights() const;

 private:
  QSplitter* splitter_;
  QWidget* sheetArea_;
  QWidget* mchArea_;
  QWidget* helpArea_;
  QVBoxLayout* sheetLayout_;
  QWidget* sheetWidget_ = nullptr;
};
