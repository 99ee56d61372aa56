#pragma once

#include <QWidget>
#include <memory>

class QLabel;
class cuiGrid;
class cuiSheet;

// A sheet's frame: the title panel (the style's title, colour and font;
// hidden when the sheet has no title) above the grid.
class cuiSheetFrame : public QWidget {
  Q_OBJECT

 public:
  explicit cuiSheetFrame(QWidget* parent = nullptr);

  cuiGrid& Grid() const { return *grid_; }
  // Shows the sheet in the grid (see cuiGrid::Attach) and its title above.
  void Attach(std::unique_ptr<cuiSheet> sheet);
  void Detach();
  // The title again, after the sheet was rebuilt.
  void UpdateTitle();
  QLabel& Title() const { return *title_; }

 private:
  QLabel* title_;
  cuiGrid* grid_;
};
