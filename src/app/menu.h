#pragma once

#include <QObject>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "control/itemlist.h"

class ItemDispatch;
struct ItemState;
class QAction;
class QMenu;
class QMenuBar;
class cmcEvMan;
class cmcGTex;
struct Event;

// The main menu from an overlay item list: one menu per top item, sub-menus
// by depth, each item a cell whose link gives its state and runs its command.
// States are refreshed before a menu opens, on the refresh event and after
// every click. A menu item can be filled from a pop-up menu by event: those
// items show their keys as text only, since the pop-up menu's owner keeps the
// live shortcuts (a second one would make each key ambiguous), and a click on
// one runs the owner's command.
class cuiMenu : public QObject {
  Q_OBJECT
 public:
  // The owner of the pop-up menus that fill items: it runs an item's command
  // and gives its state flags (0 ticked, 1 hidden, 2 disabled) on its current cell.
  struct PopupOwner {
    std::function<void(int link)> run;
    std::function<std::uint8_t(int link)> state;
  };

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
  // Without an owner the filled items go through the dispatch.
  void SetPopupOwner(PopupOwner owner) { popupOwner_ = std::move(owner); }

 private:
  static void OnEvent(void* self, const Event& event);
  enum class Origin { kList, kPopup };
  void AddItems(QMenu& menu, std::vector<ItemNode>& items, Origin origin);
  QAction* AddItem(QMenu& menu, ItemNode& item, Origin origin);
  void RefreshAction(QAction& action);
  // From the pop-up menu's owner for a filled item, else from the dispatch.
  ItemState StateOf(const QAction& action, cmcCellObj& cell);
  void RefreshMenu(QMenu& menu);
  void OnTriggered(QAction* action, Origin origin);
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
  PopupOwner popupOwner_;
  std::map<QAction*, bool, std::less<>> fromPopup_;
};
