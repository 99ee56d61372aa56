#pragma once

#include <QObject>
#include <QPointer>
#include <QTreeView>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "control/navtree.h"
#include "markup/cellparser.h"

class IconList;
class QStandardItem;
class QStandardItemModel;
class QTimer;
class QWidget;
class SheetOpener;
class cmcGTex;

// A tree from an overlay item list in a QTreeView: node texts and images from
// the item cells, the warning marks drawn over the node icons, the selection
// kept visible without the focus, and the chosen node's sheet opened after
// the change delay.
class cuiTree : public QObject {
  Q_OBJECT
 public:
  cuiTree(QWidget& parent, cmcGTex& overlay, std::string listName, const IconList& images, SheetOpener& opener,
          int changeDelayMs);
  ~cuiTree() override;

  // Builds the tree from the list, expands the first node and shows it.
  virtual void Rebuild();
  QTreeView& View() { return *view_; }
  NavTree& Model() { return tree_; }

  TreeNode* SelectedNode() const;
  const cmcCellObj* SelectedCell() const;
  TreeNode* FindByArgument(std::string_view argument) { return tree_.FindByArgument(argument); }
  // Selects the node; the sheet follows after the delay.
  void Select(const TreeNode* node);
  // Opens the selected node's sheet now, also when it was open before and
  // has been closed since; false when the node opens no sheet.
  bool ReopenSelectedSheet();

  // The names of the sheets with warnings and with errors; the marks follow
  // each expand and collapse.
  void MarkNodes(std::set<std::string> warnings, std::set<std::string> errors);
  // What a node shows, after the model changed it.
  void UpdateNode(const TreeNode& node);
  void UpdateAllNodes();
  // The argument of the selected node's cell; empty when none is selected.
  std::string SelectedArgument() const;
  // The view again from the model, after nodes were added or removed; the
  // node with the argument is selected again when it is still there. The
  // argument is taken before the model changes: the view's items point at
  // the model's nodes.
  void Sync(const std::string& reselect);

 protected:
  cmcGTex& overlay_;
  CellParser parser_;
  NavTree tree_;

 private:
  void AddItems(QStandardItem& parent, TreeNode& node);
  QStandardItem* ItemOf(const TreeNode& node) const;
  TreeNode* NodeOf(const QModelIndex& index) const;
  QIcon NodeIcon(const TreeNode& node) const;
  void OnExpandedChanged(const QModelIndex& index, bool expanded);
  void OpenSelectedSheet();

  const IconList& images_;
  SheetOpener& opener_;
  QPointer<QTreeView> view_;
  QStandardItemModel* model_;
  QTimer* changeDelay_;
  std::map<const TreeNode*, QStandardItem*> items_;
  std::set<std::string> warnings_;
  std::set<std::string> errors_;
  std::string openedReference_;
  bool syncing_ = false;
};
