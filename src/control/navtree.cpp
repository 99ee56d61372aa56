#include "control/navtree.h"

#include <algorithm>

#include "control/itemlist.h"
#include "core/decimal.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/substitute.h"
#include "markup/cellparser.h"
#include "model/ch.h"
#include "model/eeprom.h"
#include "model/memorymap.h"
#include "sheet/sheetref.h"

namespace {

constexpr std::string_view kBankKind = "Bank";
// A bank label's kind is read from its sixth character ("Bank 3").
constexpr std::size_t kLabelKindOffset = 5;
constexpr int kDigitalTimersBit = 0x10;
constexpr int kFirstBankImage = 4;

// The filter classes in the order they are applied: the state flag and
// whether the facts remove its nodes.
struct FilterClass {
  int flag;
  bool (*removes)(const TreeFacts&);
};
constexpr FilterClass kFilterClasses[] = {
    {0, [](const TreeFacts& f) { return !f.makerMode; }},
    {6, [](const TreeFacts& f) { return !f.adjustmentData; }},
    {7, [](const TreeFacts&) { return true; }},
    {5, [](const TreeFacts& f) { return !f.digitalTimers; }},
    {2, [](const TreeFacts& f) { return !IsPmr(f.modelType); }},
    {1, [](const TreeFacts& f) { return !IsLandMobile(f.modelType); }},
    {3, [](const TreeFacts& f) { return !HasVexl(f.modelType); }},
    {4, [](const TreeFacts& f) { return IsDpmr446(f.modelType); }},
};

void Collect(TreeNode& node, std::vector<TreeNode*>& out) {
  for (auto& child : node.children) {
    out.push_back(child.get());
    Collect(*child, out);
  }
}

void RemoveFlagged(TreeNode& node, int flag) {
  std::erase_if(node.children, [flag](const std::unique_ptr<TreeNode>& child) { return child->cell.StateFlag(flag); });
  for (auto& child : node.children) RemoveFlagged(*child, flag);
}

bool IsBankNode(const SheetRef& ref) { return ref.style == kChannelBankStyle; }

}  // namespace

TreeFacts TreeFacts::FromImage(const cmcEeprom& image, ModelType modelType) {
  TreeFacts facts;
  facts.modelType = modelType;
  facts.digitalTimers = image.IsValidAddress(memmap::addr::kAccessoryFlags) &&
                        (image.GetByte(memmap::addr::kAccessoryFlags) & kDigitalTimersBit) != 0;
  return facts;
}

NavTree::NavTree(cmcGTex& overlay, const CellParser& parser, std::string listName)
    : overlay_(overlay), parser_(parser), listName_(std::move(listName)) {}

TreeNode& NavTree::Attach(TreeNode& parent, cmcCellObj cell) {
  auto node = std::make_unique<TreeNode>();
  node->caption = DisplayTextOf(cell);
  node->image = node->selectedImage = cell.imageIndex;
  node->cell = std::move(cell);
  node->parent = &parent;
  parent.children.push_back(std::move(node));
  return *parent.children.back();
}

void NavTree::Rebuild() {
  root_.children.clear();
  parser_.ParseCell(*basic_, overlay_.GetLine(listName_ + "_BasicCell", 0), nullptr, nullptr);
  const std::vector<ItemNode> items = itemlist::Nest(parser_, itemlist::BodyLines(overlay_, listName_), *basic_);
  auto add = [this](auto& self, TreeNode& parent, const std::vector<ItemNode>& level) -> void {
    for (const ItemNode& item : level) self(self, Attach(parent, item.cell), item.children);
  };
  add(add, root_, items);
  if (!root_.children.empty()) root_.children.front()->expanded = true;
}

TreeNode& NavTree::AddNode(TreeNode* parent, std::string_view itemLine) {
  return Attach(parent ? *parent : root_, itemlist::ParseItem(parser_, itemLine, *basic_));
}

std::vector<TreeNode*> NavTree::Nodes() {
  std::vector<TreeNode*> nodes;
  Collect(root_, nodes);
  return nodes;
}

TreeNode* NavTree::FindByArgument(std::string_view argument) {
  for (TreeNode* node : Nodes()) {
    if (node->cell.argument && *node->cell.argument == argument) return node;
  }
  return nullptr;
}

std::vector<int> NavTree::Refresh(const TreeFacts& facts) {
  for (const FilterClass& filter : kFilterClasses) {
    if (filter.removes(facts)) {
      RemoveClass(filter.flag);
    } else if (filter.flag == 5) {
      InsertDigitalTimerNode();
    }
  }
  return RebuildBankBranch(facts);
}

void NavTree::RemoveClass(int flag) { RemoveFlagged(root_, flag); }

void NavTree::InsertDigitalTimerNode() {
  const std::vector<std::string> lines = itemlist::BodyLines(overlay_, listName_);
  const auto line = std::find_if(lines.begin(), lines.end(), [](const std::string& text) {
    return text.find(kDigitalTimerArgument) != std::string::npos;
  });
  if (line == lines.end()) return;
  const cmcCellObj cell = itemlist::ParseItem(parser_, *line, *basic_);
  if (cell.argument && FindByArgument(*cell.argument) != nullptr) return;
  // Under the node before the program-message node; without that node there
  // is no place for it.
  const std::vector<TreeNode*> nodes = Nodes();
  const auto anchor = std::find_if(nodes.begin(), nodes.end(), [](const TreeNode* node) {
    return node->cell.argument && *node->cell.argument == kProgramMessageArgument;
  });
  if (anchor == nodes.end() || anchor == nodes.begin()) return;
  Attach(**(anchor - 1), cell);
}

int NavTree::BankNodeCount(const TreeFacts& facts, bool banksUsed) {
  if (!banksUsed) return 1;
  return IsDpmr446(facts.modelType) && !facts.extendedMode ? memmap::kBankCount - 1 : memmap::kBankCount;
}

std::vector<int> NavTree::RebuildBankBranch(const TreeFacts& facts) {
  TreeNode* top = FindByArgument(kBankTopArgument);
  if (top == nullptr) return {};
  ClearChildren(*top);
  std::string operation = overlay_.GetLine(gi::GI_Tree_Branch_Mch_BankOperation, 0);
  cmcGTex::TrimBlanks(operation);
  const bool banksUsed = operation != "None";
  if (banksUsed) AddNode(top, operation);
  const std::string format = overlay_.GetLine(gi::GI_Tree_Branch_Mch_Bank, 0);
  std::vector<int> banks;
  for (int bank = 0; bank < BankNodeCount(facts, banksUsed); ++bank) {
    AddNode(top, Substitute(format, {ModelWord(facts.modelType), std::int64_t{bank}}));
    banks.push_back(bank);
  }
  return banks;
}

void NavTree::ClearMarks(TreeNode& node) {
  node.mark.reset();
  for (auto& child : node.children) ClearMarks(*child);
}

bool NavTree::MarkNodes(TreeNode& node, const std::set<std::string>& names, int mark) {
  bool below = false;
  for (auto& child : node.children) below = MarkNodes(*child, names, mark) || below;
  const bool named = node.cell.argument && names.contains(*node.cell.argument);
  // A closed branch shows what it hides.
  if (named || (below && !node.expanded)) node.mark = mark;
  return named || below;
}

void NavTree::MarkAll(const std::set<std::string>& warnings, const std::set<std::string>& errors) {
  ClearMarks(root_);
  for (auto& child : root_.children) MarkNodes(*child, warnings, TreeNode::kWarningMark);
  for (auto& child : root_.children) MarkNodes(*child, errors, TreeNode::kErrorMark);
}

void NavTree::ApplyBankImages(const cmcEeprom& image) {
  for (TreeNode* node : Nodes()) {
    const SheetRef ref = SheetRef::Parse(node->Argument());
    if (!IsBankNode(ref) || !std::string_view(ref.kind).starts_with(kBankKind)) continue;
    const std::optional<int> bank = ref.Bank();
    if (!bank) continue;
    const int flagged = datCh::BankFlag(image, *bank) ? 1 : 0;
    const int holdsChannels = datCh::BankSize(image, *bank) > 0 ? 1 : 0;
    node->image = node->selectedImage = kFirstBankImage + 2 * flagged + holdsChannels;
  }
}

void NavTree::ApplyBankLabel(int bank, const std::string& text) {
  for (TreeNode* node : Nodes()) {
    const SheetRef ref = SheetRef::Parse(node->Argument());
    // A kind too short to hold a number names no bank.
    if (!IsBankNode(ref) || ref.kind.size() <= kLabelKindOffset) continue;
    const std::string_view number = std::string_view(ref.kind).substr(kLabelKindOffset);
    std::size_t used = 0;
    const std::int32_t value = SaturatingDecimal(number, &used);
    if (used == 0 || used != number.size() || value != bank) continue;
    node->caption = text;
    node->selectedImage = node->image;
  }
}

std::string NavTree::BankLabel(const cmcEeprom& image, int bank) {
  std::string name(datCh::kNameLength, ' ');
  if (bank >= 0 && bank < memmap::kBankCount) {
    const int address = memmap::addr::kBankNames + datCh::kNameLength * bank;
    if (image.IsValidRange(address, datCh::kNameLength)) {
      image.ReadBlock(address, reinterpret_cast<std::uint8_t*>(name.data()), datCh::kNameLength);
    }
  }
  // The radio's own codes above the printable range are not text here.
  for (char& c : name) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) c = ' ';
  }
  return Substitute("%d: %s", {std::int64_t{bank + 1}, std::string_view(name)});
}
