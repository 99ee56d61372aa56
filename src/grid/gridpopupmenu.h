#pragma once

#include <QPointer>
#include <functional>
#include <string>

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

  const std::string& Name() const { return name_; }
  QMenu* Menu() const { return menu_; }

 private:
  std::string name_;
  QPointer<QMenu> menu_;
};
