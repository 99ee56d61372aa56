#include "app/tree.h"

#include <QHeaderView>
#include <QPainter>
#include <QStandardItemModel>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/iconlist.h"
#include "control/sheetopener.h"
#include "core/gtex.h"
#include "grid/qtfont.h"
#include "markup/ids.h"

namespace {

// The tree images drawn over a node's icon for its mark: error, then warning.
constexpr int kMarkImages[] = {9, 8};
constexpr int kNodeRole = Qt::UserRole + 1;

}  // namespace

cuiTree::cuiTree(QWidget& parent, cmcGTex& overlay, std::string listName, const IconList& images, SheetOpener& opener,
                 int changeDelayMs)
    : overlay_(overlay),
      parser_(overlay),
      tree_(overlay, parser_, std::move(listName)),
      images_(images),
      opener_(opener),
      view_(new QTreeView(&parent)),
      model_(new QStandardItemModel(view_)),
      changeDelay_(new QTimer(this)) {
  view_->setObjectName(QStringLiteral("NavigationTree"));
  view_->setModel(model_);
  view_->setHeaderHidden(true);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->setIconSize(QSize(IconList::kIconSize, IconList::kIconSize));
  view_->hide();
  if (parent.layout() != nullptr) parent.layout()->addWidget(view_);
  // The selection stays visible when the focus goes to the sheet.
  QPalette colours = view_->palette();
  colours.setColor(QPalette::Inactive, QPalette::Highlight, colours.color(QPalette::Active, QPalette::Highlight));
  colours.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   colours.color(QPalette::Active, QPalette::HighlightedText));
  view_->setPalette(colours);

  changeDelay_->setSingleShot(true);
  changeDelay_->setInterval(std::max(0, changeDelayMs));
  connect(changeDelay_, &QTimer::timeout, this, &cuiTree::OpenSelectedSheet);
  connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
    if (!syncing_) changeDelay_->start();
  });
  // Enter (or a double click) on a node opens its sheet at once.
  connect(view_, &QTreeView::activated, this, [this] {
    changeDelay_->stop();
    OpenSelectedSheet();
  });
  connect(view_, &QTreeView::expanded, this, [this](const QModelIndex& index) { OnExpandedChanged(index, true); });
  connect(view_, &QTreeView::collapsed, this, [this](const QModelIndex& index) { OnExpandedChanged(index, false); });
}

// The view lives in the parent's panel; it goes with the tree.
cuiTree::~cuiTree() { delete view_.data(); }

void cuiTree::Rebuild() {
  tree_.Rebuild();
  // The basic cell gives the tree its font and its background.
  const cmcCellObj& basic = tree_.Basic();
  if (basic.font) view_->setFont(ToQFont(*basic.font, view_->font()));
  Sync({});
  view_->show();
  if (!tree_.Root().children.empty()) Select(tree_.Root().children.front().get());
}

std::string cuiTree::SelectedArgument() const {
  const TreeNode* node = SelectedNode();
  return node ? node->Argument() : std::string();
}

void cuiTree::Sync(const std::string& reselect) {
  syncing_ = true;
  model_->clear();
  items_.clear();
  for (auto& child : tree_.Root().children) AddItems(*model_->invisibleRootItem(), *child);
  for (TreeNode* node : tree_.Nodes()) view_->setExpanded(ItemOf(*node)->index(), node->expanded);
  syncing_ = false;
  if (TreeNode* again = reselect.empty() ? nullptr : tree_.FindByArgument(reselect)) Select(again);
}

void cuiTree::AddItems(QStandardItem& parent, TreeNode& node) {
  auto* item = new QStandardItem(QString::fromStdString(node.caption));
  item->setData(QVariant::fromValue(static_cast<void*>(&node)), kNodeRole);
  item->setIcon(NodeIcon(node));
  items_[&node] = item;
  parent.appendRow(item);
  for (auto& child : node.children) AddItems(*item, *child);
}

QStandardItem* cuiTree::ItemOf(const TreeNode& node) const {
  const auto found = items_.find(&node);
  return found == items_.end() ? nullptr : found->second;
}

TreeNode* cuiTree::NodeOf(const QModelIndex& index) const {
  return index.isValid() ? static_cast<TreeNode*>(index.data(kNodeRole).value<void*>()) : nullptr;
}

QIcon cuiTree::NodeIcon(const TreeNode& node) const {
  QPixmap pixmap = images_.Pixmap(node.image);
  if (!node.mark) return pixmap.isNull() ? QIcon() : QIcon(pixmap);
  if (pixmap.isNull()) {
    pixmap = QPixmap(IconList::kIconSize, IconList::kIconSize);
    pixmap.fill(Qt::transparent);
  }
  QPainter painter(&pixmap);
  painter.drawPixmap(0, 0, images_.Pixmap(kMarkImages[*node.mark]));
  painter.end();
  return QIcon(pixmap);
}

void cuiTree::UpdateNode(const TreeNode& node) {
  QStandardItem* item = ItemOf(node);
  if (item == nullptr) return;
  item->setText(QString::fromStdString(node.caption));
  item->setIcon(NodeIcon(node));
}

void cuiTree::UpdateAllNodes() {
  for (TreeNode* node : tree_.Nodes()) UpdateNode(*node);
}

TreeNode* cuiTree::SelectedNode() const { return NodeOf(view_->currentIndex()); }

const cmcCellObj* cuiTree::SelectedCell() const {
  const TreeNode* node = SelectedNode();
  return node ? &node->cell : nullptr;
}

void cuiTree::Select(const TreeNode* node) {
  if (QStandardItem* item = node ? ItemOf(*node) : nullptr) {
    view_->setCurrentIndex(item->index());
    changeDelay_->start();
  }
}

void cuiTree::MarkNodes(std::set<std::string> warnings, std::set<std::string> errors) {
  warnings_ = std::move(warnings);
  errors_ = std::move(errors);
  tree_.MarkAll(warnings_, errors_);
  UpdateAllNodes();
}

void cuiTree::OnExpandedChanged(const QModelIndex& index, bool expanded) {
  if (syncing_) return;
  if (TreeNode* node = NodeOf(index)) node->expanded = expanded;
  // A closed branch shows the marks of what it hides; an open one leaves them to its nodes.
  tree_.MarkAll(warnings_, errors_);
  UpdateAllNodes();
}

bool cuiTree::ReopenSelectedSheet() {
  const TreeNode* node = SelectedNode();
  if (node == nullptr || node->cell.link != cl::CallSheet || !node->cell.argument) return false;
  changeDelay_->stop();
  openedReference_.clear();
  OpenSelectedSheet();
  return true;
}

void cuiTree::OpenSelectedSheet() {
  const TreeNode* node = SelectedNode();
  if (node == nullptr || node->cell.link != cl::CallSheet || !node->cell.argument) return;
  if (*node->cell.argument == openedReference_) return;
  openedReference_ = *node->cell.argument;
  opener_.OpenSheet(openedReference_);
}
