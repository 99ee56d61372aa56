#include "app/navigationtree.h"

#include "core/decimal.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "model/memorymap.h"
#include "runtime/events.h"
#include "runtime/evman.h"

namespace {

int ChangeDelay(cmcGTex& overlay) { return SaturatingDecimal(overlay.GetLine(gi::GI_Sys_TreeChangeDelay, 0)); }

}  // namespace

iuiTree::iuiTree(QWidget& parent, cmcGTex& overlay, const IconList& images, SheetOpener& opener, cmcEvMan& events,
                 Sources sources)
    : cuiTree(parent, overlay, "GI_Tree_Main", images, opener, ChangeDelay(overlay)),
      events_(events),
      sources_(std::move(sources)) {
  events_.AddListener(&iuiTree::OnEvent, this);
}

iuiTree::~iuiTree() { events_.RemoveListener(&iuiTree::OnEvent, this); }

void iuiTree::Rebuild() {
  cuiTree::Rebuild();
  Refresh();
}

void iuiTree::Refresh() {
  const TreeFacts facts = sources_.facts();
  const std::string selected = SelectedArgument();
  const std::vector<std::string> following = ArgumentsAfterSelected();
  const std::vector<int> banks = tree_.Refresh(facts);
  // The first node names the model it shows.
  if (!tree_.Root().children.empty()) {
    TreeNode& first = *tree_.Root().children.front();
    first.caption = DisplayTextOf(first.cell) + overlay_.GetLine(gi::GI_AppInd_Model, ModelIndex(facts.modelType));
  }
  Sync(selected);
  for (auto next = following.begin(); SelectedNode() == nullptr && next != following.end(); ++next) {
    if (const TreeNode* node = tree_.FindByArgument(*next)) Select(node);
  }
  if (SelectedNode() == nullptr && !tree_.Root().children.empty()) Select(tree_.Root().children.front().get());
  const cmcEeprom& image = sources_.image();
  for (int bank : banks) events_.Post(ev::kBankLabel, this, bank, NavTree::BankLabel(image, bank));
  ApplyBankImages();
}

std::vector<std::string> iuiTree::ArgumentsAfterSelected() {
  const TreeNode* selected = SelectedNode();
  std::vector<std::string> after;
  bool past = false;
  for (const TreeNode* node : tree_.Nodes()) {
    if (past && node->cell.argument) after.push_back(*node->cell.argument);
    past = past || node == selected;
  }
  return after;
}

void iuiTree::ApplyBankLabel(int bank, const std::string& text) {
  tree_.ApplyBankLabel(bank, text);
  UpdateAllNodes();
}

void iuiTree::ApplyBankImages() {
  tree_.ApplyBankImages(sources_.image());
  UpdateAllNodes();
}

void iuiTree::LabelBankRange(std::intptr_t range) {
  const int first = static_cast<int>(range & 0xFF);
  const int last = static_cast<int>((range >> 8) & 0xFF);
  if (first >= memmap::kBankCount || first > last) return;
  ApplyBankLabel(first, NavTree::BankLabel(sources_.image(), first));
  // One bank per pump keeps a long rename from holding the window.
  events_.Post(ev::kBankLabels, this, BankRange(first + 1, last));
}

void iuiTree::OnEvent(void* self, const Event& event) {
  auto& tree = *static_cast<iuiTree*>(self);
  switch (event.code) {
  case ev::kImageReplaced:
  case ev::kTreeRefresh: tree.Refresh(); break;
  case ev::kBankImages: tree.ApplyBankImages(); break;
  case ev::kBankLabel: tree.ApplyBankLabel(static_cast<int>(event.argument), std::string(event.Text())); break;
  case ev::kBankLabels: tree.LabelBankRange(event.argument); break;
  default: break;
  }
}
