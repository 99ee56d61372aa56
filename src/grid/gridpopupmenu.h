#pragma once

#include <QPointer>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QAction;
class QMenu;
class QWidget;
class cmcGTex;

// A cell's pop-up menu, built from the overlay block "<name>_Body" with the
// menu's basic cell "<name>_BasicCell". Each item's shortcut (its cell's
// argument, "Enter" standing for Return and Enter) works while the owner or
// a child of it has the focus. Choosing an item runs the item's cell link.
class GridPopupMenu {
 public:
  using Command = std::function<void(int link)>;

  GridPopupMenu(QWidget& owner, cmcGTex& overlay, cmcGTex& mainOverlay, const std::string& name, Command run);
  // Deleted later: the menu may be destroyed from one of its own items.
  ~GridPopupMenu();
  GridPopupMenu(const GridPopupMenu&) = delete;
  GridPopupMenu& operator=(const GridPopupMenu&) = delete;

  // Each item ticked, shown and enabled as its link decides now: `state`
  // gives an item link's state flags (0 ticked, 1 hidden, 2 disabled).
  void RefreshStates(const std::function<std::uint8_t(int link)>& state);

  const std::string& Name() const { return name_; }
  QMenu* Menu() const { return menu_; }

 private:
  std::string name_;
  QPointer<QMenu> menu_;
  std::vector<std::pair<QAction*, int>> items_;  // owned by the menu
};
