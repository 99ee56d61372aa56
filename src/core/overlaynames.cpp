#include "core/overlaynames.h"

namespace {

constexpr RequiredBlock kRequiredBlocks[] = {
#define RWQ_OVERLAY_BLOCK(overlay, name) {OverlayKind::overlay, gi::name},
#include "core/overlaynames.def"
#undef RWQ_OVERLAY_BLOCK
};

}  // namespace

std::string LanguageListFileName() { return std::string(kProductCode) + ".OVL"; }

std::span<const RequiredBlock> RequiredBlocks() { return kRequiredBlocks; }
