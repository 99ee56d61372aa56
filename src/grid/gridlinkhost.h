#pragma once

#include <functional>
#include <optional>

#include "links/families.h"
#include "sheet/sheetcontext.h"

// The pop-up editors the links open in the desktop program: the drop-down
// choice list over the cell of whichever grid shows it. The flag, text and
// segment character editors live a layer up (EditorLinkHost); here none is
// shown and the link leaves the value as it is.
class GridLinkHost : public LinkHost {
 public:
  // What the drop-down sheets are built with (their view and measurer are their own):
  // always the same, or asked for at each opening.
  void SetSheetServices(const SheetServices& services) {
    services_ = [services] { return services; };
  }
  void SetSheetServices(std::function<SheetServices()> current) { services_ = std::move(current); }

  bool OpenChoiceList(cmcCellCapsule& request, std::string_view list, int column, std::int32_t current) override;
  bool OpenFlagEditor(cmcCellCapsule&, const FlagEditorForm&, std::uint32_t) override { return false; }
  bool OpenTextEditor(cmcCellCapsule&, const TextEditorForm&) override { return false; }
  bool OpenSegmentCharacterEditor(cmcCellCapsule&, std::uint16_t) override { return false; }

 protected:
  // The services in force now; none before any was set.
  std::optional<SheetServices> Services() const {
    if (!services_) return std::nullopt;
    return services_();
  }

 private:
  std::function<SheetServices()> services_;
};
