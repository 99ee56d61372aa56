#pragma once

#include <functional>
#include <string>
#include <vector>

#include "app/tree.h"

class cmcEeprom;
class cmcEvMan;
struct Event;

// The main navigation tree of this product: filtered for the operating modes
// and the model type on the image-replaced event, with the bank branch whose
// nodes take their labels and images from the image.
class iuiTree : public cuiTree {
  Q_OBJECT
 public:
  struct Sources {
    std::function<TreeFacts()> facts;
    std::function<const cmcEeprom&()> image;
  };

  iuiTree(QWidget& parent, cmcGTex& overlay, const IconList& images, SheetOpener& opener, cmcEvMan& events,
          Sources sources);
  ~iuiTree() override;

  // Builds, then refreshes for the present facts.
  void Rebuild() override;
  // Filters, rebuilds the bank branch and names the model on the first node.
  void Refresh();

  // Event 38 carries the first and the last bank in one argument.
  static std::intptr_t BankRange(int first, int last) { return first | (last << 8); }

 private:
  static void OnEvent(void* self, const Event& event);
  void ApplyBankLabel(int bank, const std::string& text);
  void ApplyBankImages();
  void LabelBankRange(std::intptr_t range);
  // The arguments of the nodes after the selected one, in tree order: where
  // the selection goes when a refresh removes its node.
  std::vector<std::string> ArgumentsAfterSelected();

  cmcEvMan& events_;
  Sources sources_;
};
