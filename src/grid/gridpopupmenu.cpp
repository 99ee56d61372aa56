#include "grid/gridpopupmenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>
#include <string_view>

#include "core/gtex.h"
#include "markup/cellparser.h"

namespace {

QList<QKeySequence> Shortcuts(const std::string& argument) {
  if (argument == "Enter") return {QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)};
  const QKeySequence sequence = QKeySequence::fromString(QString::fromStdString(argument), QKeySequence::PortableText);
  if (sequence.isEmpty()) return {};
  return {sequence};
}

QString Caption(const cmcCellObj& cell) {
  std::string text = cmcGTex::DoubleAmpersands(DisplayTextOf(cell));
  cmcGTex::TrimBlanks(text);
  return QString::fromStdString(text);
}

}  // namespace

GridPopupMenu::GridPopupMenu(QWidget& owner, cmcGTex& overlay, cmcGTex& mainOverlay, const std::string& name,
                             Command run)
    : name_(name), menu_(new QMenu(&owner)) {
  const std::string basicBlock = name + "_BasicCell";
  const std::string bodyBlock = name + "_Body";
  if (!overlay.HasBlock(basicBlock) || !overlay.HasBlock(bodyBlock)) return;
  const CellParser parser(mainOverlay);
  cmcCellObj basic;
  parser.ParseCell(basic, overlay.GetLine(basicBlock, 0), nullptr, nullptr);
  const std::string body = overlay.GetBlockText(bodyBlock);
  std::string_view rest = body;
  while (!rest.empty()) {
    const std::size_t feed = rest.find('\n');
    const std::string_view text = rest.substr(0, feed);
    rest = feed == std::string_view::npos ? std::string_view{} : rest.substr(feed + 1);
    if (text.empty()) continue;
    const std::size_t plus = text.find('+');
    cmcCellObj item;
    parser.ParseCell(item, plus == std::string_view::npos ? std::string_view{} : text.substr(plus + 1), nullptr,
                     &basic);
    QAction* action = menu_->addAction(Caption(item));
    if (item.argument) action->setShortcuts(Shortcuts(*item.argument));
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    action->setEnabled(!item.StateFlag(cmcCellObj::kDisabledFlag));
    owner.addAction(action);
    items_.emplace_back(action, item.link);
    QObject::connect(action, &QAction::triggered, menu_, [run, link = item.link] { run(link); });
  }
}

void GridPopupMenu::RefreshStates(const std::function<std::uint8_t(int link)>& state) {
  for (const auto& [action, link] : items_) {
    const std::uint8_t flags = state(link);
    action->setCheckable((flags & 1) != 0);
    action->setChecked((flags & 1) != 0);
    action->setVisible((flags & 2) == 0);
    action->setEnabled((flags & 4) == 0);
  }
}

GridPopupMenu::~GridPopupMenu() {
  if (!menu_) return;
  for (QAction* action : menu_->actions()) action->setEnabled(false);
  menu_->deleteLater();
}
