#include "core/overlaynames.h"

namespace {

constexpr RequiredBlock kRequiredBlocks[] = {
#define RWQ_OVERLAY_BLOCK(overlay, name) {OverlayKind::overlay, gi::name},
#define RWQ_OVERLAY_SHEET(overlay, name)                                              \
  {OverlayKind::overlay, #name "_Style"}, {OverlayKind::overlay, #name "_BasicCell"}, \
      {OverlayKind::overlay, #name "_Cells"},
#include "core/overlaynames.def"
#undef RWQ_OVERLAY_SHEET
#undef RWQ_OVERLAY_BLOCK
};

constexpr std::string_view kRequiredSheets[] = {
#define RWQ_OVERLAY_BLOCK(overlay, name)
#define RWQ_OVERLAY_SHEET(overlay, name) gi::name,
#include "core/overlaynames.def"
#undef RWQ_OVERLAY_SHEET
#undef RWQ_OVERLAY_BLOCK
};

}  // namespace

std::string LanguageListFileName() { return std::string(kProductCode) + ".OVL"; }

std::span<const RequiredBlock> RequiredBlocks() { return kRequiredBlocks; }

std::span<const std::string_view> RequiredSheets() { return kRequiredSheets; }
