#pragma once

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>

#include "sheet/cellposition.h"
#include "sheet/sheetcontext.h"

class cuiGrid;
class cuiSheet;
struct cmcCellCapsule;

// The drop-down choice window: a frameless tool window showing a selection
// sheet as a drop-down, its current cell the cell's present choice. Enter or
// a click on a choice hands the chosen cell's link and parameter back to the
// cell that opened it and closes the window; Escape, or another window taking
// the activation, closes it without a choice. It deletes itself when closed.
class cuiFlector : public QWidget {
  Q_OBJECT

 public:
  // The cell that opens the window: where its choice goes back to.
  struct Opener {
    QPointer<cuiGrid> grid;
    CellPosition cell;
  };

  // Builds the sheet `list` with the services the factory gives for the
  // window's own grid, and shows the window at the opening cell. A sheet
  // that cannot be built leaves the window closed.
  cuiFlector(Opener opener, const SheetServices& services, const std::string& list, int focusLink,
             std::int32_t current);
  ~cuiFlector() override;

  cuiGrid& Grid() const { return *grid_; }
  // Only one drop-down is open at a time.
  static cuiFlector* Open() { return open_; }

 protected:
  void changeEvent(QEvent* event) override;

 private:
  int Serve(cmcCellCapsule& request, bool notify);
  void Deliver(int link, std::int32_t value);
  void CloseToOpener();
  void PlaceAtOpener();

  Opener opener_;
  std::weak_ptr<const int> openerLife_;
  cuiGrid* grid_;
  cuiSheet* sheet_ = nullptr;
  CellLinks* links_;
  bool delivered_ = false;
  static cuiFlector* open_;
};
