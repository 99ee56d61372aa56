#pragma once

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "markup/cellobj.h"
#include "model/modeltype.h"

class CellParser;
class cmcEeprom;
class cmcGTex;

// What the tree shows depends on: the operating modes, the model type and a
// bit of the image.
struct TreeFacts {
  bool makerMode = false;
  bool adjustmentData = false;
  bool extendedMode = false;
  ModelType modelType = ModelType::kLandMobile;
  bool digitalTimers = false;  // the accessory bit that offers the digital timer sheet

  static TreeFacts FromImage(const cmcEeprom& image, ModelType modelType);
};

// One node of the navigation tree: its item cell, what it shows, and its
// warning mark.
struct TreeNode {
  enum Mark : int { kErrorMark = 0, kWarningMark = 1 };

  cmcCellObj cell;
  std::string caption;
  int image = -1;
  int selectedImage = -1;
  std::optional<int> mark;  // kErrorMark or kWarningMark
  bool expanded = false;
  TreeNode* parent = nullptr;
  std::vector<std::unique_ptr<TreeNode>> children;

  // The sheet reference the node opens; empty for none.
  std::string Argument() const { return cell.argument.value_or(""); }
};

// The navigation tree without a window: built from an item list, filtered by
// the modes and the model type, with the bank branch, the bank labels and
// images, and the warning marks. A window shows it and tells it which nodes
// are expanded.
class NavTree {
 public:
  NavTree(cmcGTex& overlay, const CellParser& parser, std::string listName);

  // Empties the tree and fills it from the list; the first node is expanded.
  void Rebuild();
  // The invisible root whose children are the top nodes.
  TreeNode& Root() { return root_; }
  const cmcCellObj& Basic() const { return *basic_; }

  // Adds a node from an item line (its depth is ignored) as the last child of
  // `parent`, or at the top.
  TreeNode& AddNode(TreeNode* parent, std::string_view itemLine);
  void ClearChildren(TreeNode& node) { node.children.clear(); }
  // The first node in tree order whose argument equals the text.
  TreeNode* FindByArgument(std::string_view argument);
  // Every node in tree order.
  std::vector<TreeNode*> Nodes();

  // Removes the nodes the facts leave out and rebuilds the bank branch; the
  // banks whose nodes were added, for their labels.
  std::vector<int> Refresh(const TreeFacts& facts);

  // The warning marks: clearing takes them off the node and its sub-nodes;
  // marking sets `mark` on each node whose argument is named, and on a
  // collapsed node with a marked sub-node. True when anything in the subtree
  // is named.
  static void ClearMarks(TreeNode& node);
  static bool MarkNodes(TreeNode& node, const std::set<std::string>& names, int mark);
  // Warnings first, errors second, so an error wins.
  void MarkAll(const std::set<std::string>& warnings, const std::set<std::string>& errors);

  // The bank nodes' images from the bank flags and contents.
  void ApplyBankImages(const cmcEeprom& image);
  // Bank `bank`'s nodes take the caption.
  void ApplyBankLabel(int bank, const std::string& text);
  // "n: name", n from 1, with the bank's name from the image.
  static std::string BankLabel(const cmcEeprom& image, int bank);
  // The number of bank nodes for the model and mode: 8, 7 for dPMR446
  // without extended mode, 1 when banks are not used.
  static int BankNodeCount(const TreeFacts& facts, bool banksUsed);

  static constexpr std::string_view kBankTopArgument = "GI_Sheet_Memory_CH_Top";
  static constexpr std::string_view kDigitalTimerArgument = "GI_Sheet_Dig_Tim";
  static constexpr std::string_view kProgramMessageArgument = "GI_Sheet_Dig_ProgMes";

 private:
  TreeNode& Attach(TreeNode& parent, cmcCellObj cell);
  void RemoveClass(int flag);
  void InsertDigitalTimerNode();
  std::vector<int> RebuildBankBranch(const TreeFacts& facts);

  cmcGTex& overlay_;
  const CellParser& parser_;
  const std::string listName_;
  std::unique_ptr<cmcCellObj> basic_ = std::make_unique<cmcCellObj>();
  TreeNode root_;
};
