#pragma once

#include <span>
#include <string>
#include <string_view>

// The three overlays of a running program.
enum class OverlayKind { kLanguageList, kMain, kHelp };

// The product code names the language-list overlay: "QZ5071K.OVL".
inline constexpr std::string_view kProductCode = "QZ5071K";
std::string LanguageListFileName();

// The fixed index names, one constant each (gi::GI_Sys_Language), for the code
// that asks for them.
namespace gi {
#define RWQ_OVERLAY_BLOCK(overlay, name) inline constexpr std::string_view name = #name;
#include "core/overlaynames.def"
#undef RWQ_OVERLAY_BLOCK
}  // namespace gi

// The same names with their overlays, for the overlay checker.
struct RequiredBlock {
  OverlayKind overlay;
  std::string_view name;
};
std::span<const RequiredBlock> RequiredBlocks();
