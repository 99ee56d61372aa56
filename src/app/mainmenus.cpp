#include "app/mainmenus.h"

#include <QMainWindow>
#include <QMenuBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/menu.h"
#include "app/toolbar.h"
#include "platform/paths.h"

MainMenus::MainMenus(QMainWindow& form, QWidget& treePanel, Services services)
    : form_(form),
      services_(std::move(services)),
      treeImages_(IconList::TreeImages()),
      toolBarImages_(IconList::ToolBarImages()),
      treePanel_(treePanel) {
  form_.setWindowIcon(QIcon(QString::fromStdString(platform::DataDir()) + QStringLiteral("icons/rw-m52-q.png")));
  if (treePanel_.layout() == nullptr) {
    auto* layout = new QVBoxLayout(&treePanel_);
    layout->setContentsMargins(0, 0, 0, 0);
  }
  menu_ = std::make_unique<cuiMenu>(*form_.menuBar(), services_.overlay, "GI_Menu_Main", services_.commands,
                                    services_.events);
  toolBar_ = std::make_unique<cuiToolBar>(form_, services_.overlay, "GI_ToolBar_Main", toolBarImages_,
                                          services_.commands, services_.events);
}

MainMenus::~MainMenus() = default;

void MainMenus::Build() {
  menu_->Rebuild();
  toolBar_->Rebuild();
}

void MainMenus::RebuildTree() {
  // The old view goes with the old tree.
  tree_.reset();
  tree_ = std::make_unique<iuiTree>(treePanel_, services_.overlay, treeImages_, services_.sheets, services_.events,
                                    services_.tree);
  tree_->Rebuild();
}
