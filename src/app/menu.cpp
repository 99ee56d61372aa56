#include "app/menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <algorithm>

#include "control/itemdispatch.h"
#include "core/gtex.h"
#include "grid/shortcuts.h"
#include "markup/cellparser.h"
#include "runtime/events.h"
#include "runtime/evman.h"

namespace {

// A menu item that shows "-" is a separator line.
bool IsSeparator(const cmcCellObj& cell) { return DisplayTextOf(cell) == "-"; }

QString Text(const std::string& text) { return QString::fromStdString(text); }

// The item's first key as the menu shows it beside the caption.
QString ShortcutText(const std::string& argument) {
  const QList<QKeySequence> keys = ShortcutsFromText(argument);
  return keys.isEmpty() ? QString() : keys.first().toString(QKeySequence::NativeText);
}

}  // namespace

cuiMenu::cuiMenu(QMenuBar& bar, cmcGTex& overlay, std::string listName, ItemDispatch& dispatch, cmcEvMan& events)
    : bar_(bar), overlay_(&overlay), listName_(std::move(listName)), dispatch_(dispatch), events_(events) {
  events_.AddListener(&cuiMenu::OnEvent, this);
}

cuiMenu::~cuiMenu() { events_.RemoveListener(&cuiMenu::OnEvent, this); }

void cuiMenu::SetList(cmcGTex& overlay, std::string listName) {
  overlay_ = &overlay;
  listName_ = std::move(listName);
}

void cuiMenu::Rebuild() {
  // The bar's menus are its children: they go with their items.
  for (QAction* action : bar_.actions()) delete action->menu();
  bar_.clear();
  cells_.clear();
  fromPopup_.clear();
  order_.clear();
  popupItems_.clear();
  const CellParser parser(*overlay_);
  list_ = itemlist::Read(*overlay_, parser, listName_);
  for (ItemNode& item : list_.items) {
    // Every top item is a menu, also one that a pop-up menu fills later.
    QMenu* menu = bar_.addMenu(Text(DisplayTextOf(item.cell)));
    cells_[menu->menuAction()] = &item.cell;
    order_.push_back(menu->menuAction());
    AddItems(*menu, item.children, Origin::kList);
    connect(menu, &QMenu::aboutToShow, this, [this, menu] { RefreshMenu(*menu); });
  }
  RefreshStates();
}

void cuiMenu::AddItems(QMenu& menu, std::vector<ItemNode>& items, Origin origin) {
  for (ItemNode& item : items) AddItem(menu, item, origin);
}

QAction* cuiMenu::AddItem(QMenu& menu, ItemNode& item, Origin origin) {
  if (IsSeparator(item.cell)) return menu.addSeparator();
  QAction* action = nullptr;
  if (!item.children.empty()) {
    QMenu* sub = menu.addMenu(Text(DisplayTextOf(item.cell)));
    action = sub->menuAction();
    cells_[action] = &item.cell;
    order_.push_back(action);
    AddItems(*sub, item.children, origin);
    connect(sub, &QMenu::aboutToShow, this, [this, sub] { RefreshMenu(*sub); });
    return action;
  }
  action = menu.addAction(Text(DisplayTextOf(item.cell)));
  if (item.cell.argument && origin == Origin::kPopup) {
    const QString keys = ShortcutText(*item.cell.argument);
    if (!keys.isEmpty()) action->setText(action->text() + QLatin1Char('\t') + keys);
  } else if (item.cell.argument) {
    action->setShortcuts(ShortcutsFromText(*item.cell.argument));
  }
  cells_[action] = &item.cell;
  order_.push_back(action);
  if (origin == Origin::kPopup) fromPopup_[action] = true;
  connect(action, &QAction::triggered, this, [this, action, origin] { OnTriggered(action, origin); });
  return action;
}

cmcCellObj* cuiMenu::CellOf(const QAction* action) const {
  const auto found = cells_.find(action);
  return found == cells_.end() ? nullptr : found->second;
}

QAction* cuiMenu::FindByLink(int link) const {
  const auto found = std::find_if(order_.begin(), order_.end(), [this, link](const QAction* action) {
    const cmcCellObj* cell = CellOf(action);
    return cell != nullptr && cell->link == link;
  });
  return found == order_.end() ? nullptr : *found;
}

void cuiMenu::RefreshAction(QAction& action) {
  cmcCellObj* cell = CellOf(&action);
  if (cell == nullptr) {
    action.setChecked(false);
    return;
  }
  const ItemState state = StateOf(action, *cell);
  // Only items whose link ticks them can be checked, so the others keep no box.
  action.setCheckable(state.ticked || action.isCheckable());
  action.setChecked(state.ticked);
  action.setVisible(!state.hidden);
  action.setEnabled(!state.disabled);
  if (state.caption) {
    // A caption from the link keeps the key text shown after the tab.
    const qsizetype tab = action.text().indexOf(QLatin1Char('\t'));
    const QString caption = Text(*state.caption) + (tab < 0 ? QString() : action.text().mid(tab));
    if (action.text() != caption) action.setText(caption);
  }
}

ItemState cuiMenu::StateOf(const QAction& action, cmcCellObj& cell) {
  if (!fromPopup_.contains(&action) || !popupOwner_.state) return dispatch_.Refresh(cell);
  const std::uint8_t flags = popupOwner_.state(cell.link);
  ItemState state;
  state.ticked = (flags & 1) != 0;
  state.hidden = (flags & 2) != 0;
  state.disabled = (flags & 4) != 0;
  return state;
}

void cuiMenu::RefreshMenu(QMenu& menu) {
  for (QAction* action : menu.actions()) {
    if (!action->isSeparator()) RefreshAction(*action);
  }
}

void cuiMenu::RefreshStates() {
  // Actions can go while a state rule runs (a pop-up fill): walk a copy.
  const std::vector<QAction*> actions = order_;
  for (QAction* action : actions) {
    if (cells_.contains(action)) RefreshAction(*action);
  }
}

void cuiMenu::OnTriggered(QAction* action, Origin origin) {
  cmcCellObj* cell = CellOf(action);
  if (cell == nullptr) return;
  if (origin == Origin::kPopup && popupOwner_.run) {
    popupOwner_.run(cell->link);
  } else {
    dispatch_.Activate(*cell);
  }
  RefreshStates();
}

void cuiMenu::ClearSubItems(int link) {
  QAction* owner = FindByLink(link);
  if (owner == nullptr || owner->menu() == nullptr) return;
  Forget(*owner->menu());
  for (QAction* action : owner->menu()->actions()) delete action->menu();
  owner->menu()->clear();
  popupItems_.erase(link);
}

void cuiMenu::Forget(const QMenu& menu) {
  for (QAction* action : menu.actions()) {
    if (action->menu() != nullptr) Forget(*action->menu());
    cells_.erase(action);
    fromPopup_.erase(action);
    std::erase(order_, action);
  }
}

void cuiMenu::FillFromPopup(int link, const std::string& popupName) {
  QAction* owner = FindByLink(link);
  if (owner == nullptr || owner->menu() == nullptr || !overlay_->HasBlock(popupName + "_Body")) return;
  ClearSubItems(link);
  const CellParser parser(*overlay_);
  std::vector<ItemNode>& items = popupItems_[link];
  items = itemlist::Nest(parser, itemlist::BodyLines(*overlay_, popupName), *list_.basic);
  AddItems(*owner->menu(), items, Origin::kPopup);
  // Only the new items: the owner's own state rule is what asks for a fill.
  RefreshMenu(*owner->menu());
}

void cuiMenu::OnEvent(void* self, const Event& event) {
  auto& menu = *static_cast<cuiMenu*>(self);
  switch (event.code) {
  case ev::kMenuStates: menu.RefreshStates(); break;
  case ev::kMenuClear: menu.ClearSubItems(static_cast<int>(event.argument)); break;
  case ev::kMenuFill: menu.FillFromPopup(static_cast<int>(event.argument), std::string(event.Text())); break;
  default: break;
  }
}
