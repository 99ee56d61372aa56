#pragma once

#include <QObject>
#include <map>
#include <string>
#include <vector>

#include "control/itemlist.h"

class IconList;
class ItemDispatch;
class QAction;
class QMainWindow;
class QToolBar;
class cmcEvMan;
class cmcGTex;
struct Event;

// The main tool bar from an overlay list: one QToolBar per row, each button a
// cell whose link gives its state and runs its command. States follow the
// tool-bar event and every click.
class cuiToolBar : public QObject {
  Q_OBJECT
 public:
  cuiToolBar(QMainWindow& form, cmcGTex& overlay, std::string listName, const IconList& images, ItemDispatch& dispatch,
             cmcEvMan& events);
  ~cuiToolBar() override;

  void Rebuild();
  void RefreshStates();
  // Shows or hides every row.
  void SetVisible(bool visible);
  const std::vector<QToolBar*>& Rows() const { return rows_; }
  cmcCellObj* CellOf(const QAction* action) const;

  static constexpr int kGapWidth = 8;

 private:
  static void OnEvent(void* self, const Event& event);
  void AddButton(QToolBar& row, ToolBarLayout::Entry& entry);

  QMainWindow& form_;
  cmcGTex& overlay_;
  const std::string listName_;
  const IconList& images_;
  ItemDispatch& dispatch_;
  cmcEvMan& events_;
  ToolBarLayout layout_;
  std::vector<QToolBar*> rows_;
  std::map<QAction*, cmcCellObj*, std::less<>> cells_;
};
