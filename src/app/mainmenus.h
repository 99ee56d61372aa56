#pragma once

#include <memory>

#include "app/iconlist.h"
#include "app/navigationtree.h"

class ItemDispatch;
class QMainWindow;
class QWidget;
class cuiMenu;
class cuiToolBar;

// The main window's menu bar, tool bar and navigation tree with their image
// lists: what the main form holds for finding sheets and commands.
class MainMenus {
 public:
  struct Services {
    cmcGTex& overlay;
    ItemDispatch& commands;
    SheetOpener& sheets;
    cmcEvMan& events;
    iuiTree::Sources tree;
  };

  // The tree is placed in `treePanel`.
  MainMenus(QMainWindow& form, QWidget& treePanel, Services services);
  ~MainMenus();

  // The menu and the tool bar from the overlay.
  void Build();
  // A new tree for the present modes and model type.
  void RebuildTree();

  cuiMenu& Menu() { return *menu_; }
  cuiToolBar& ToolBar() { return *toolBar_; }
  iuiTree* Tree() { return tree_.get(); }

 private:
  QMainWindow& form_;
  Services services_;
  IconList treeImages_;
  IconList toolBarImages_;
  QWidget& treePanel_;
  std::unique_ptr<cuiMenu> menu_;
  std::unique_ptr<cuiToolBar> toolBar_;
  std::unique_ptr<iuiTree> tree_;
};
