#pragma once

#include <QObject>
#include <map>
#include <string>
#include <vector>

#include "control/itemlist.h"

class ItemDispatch;
class QAction;
class QMenu;
class QMenuBar;
class cmcEvMan;
class cmcGTex;
struct Event;

// The main menu from an overlay item list: one menu per top item, sub-menus
// by depth, each item a cell whose link gives its state and runs its command.
// States are refreshed before a menu opens, on the refresh event and after
// every click. A menu item can be filled from a pop-up menu by event.
class cuiMenu : public QObject {
  Q_OBJECT
 public:
  cuiMenu(QMenuBar& bar, cmcGTex& overlay, std::string listName, ItemDispatch& dispatch, cmcEvMan& events);
  ~cuiMenu() override;

  // Empties the bar and fills it from the list.
  void Rebuild();
  // A new list (after a language change); Rebuild follows.
  void SetList(cmcGTex& overlay, std::string listName);
  void RefreshStates();
  // The first action, depth first, whose cell has the link.
  QAction* FindByLink(int link) const;
  // The cell behind an action, or none.
  cmcCellObj* CellOf(const QAction* action) const;

 private:
  static void OnEvent(void* self, const Event& event);
  void AddItems(QMenu& menu, std::vector<ItemNode>& items);
  QAction* AddItem(QMenu& menu, ItemNode& item);
  void RefreshAction(QAction& action);
  void RefreshMenu(QMenu& menu);
  void OnTriggered(QAction* action);
  void ClearSubItems(int link);
  // Drops the cells of the menu's items and of their sub-menus.
  void Forget(const QMenu& menu);
  void FillFromPopup(int link, const std::string& popupName);

  QMenuBar& bar_;
  cmcGTex* overlay_;
  std::string listName_;
  ItemDispatch& dispatch_;
  cmcEvMan& events_;
  ItemList list_;
  // Items filled from pop-up menus, by the link of the item they fill.
  std::map<int, std::vector<ItemNode>> popupItems_;
  std::map<QAction*, cmcCellObj*, std::less<>> cells_;
  std::vector<QAction*> order_;  // every action with a cell, depth first
};
