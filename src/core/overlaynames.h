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
// that asks for them; a selection sheet's constant is its name without suffix.
namespace gi {
#define RWQ_OVERLAY_BLOCK(overlay, name) inline constexpr std::string_view name = #name;
#define RWQ_OVERLAY_SHEET(overlay, name) RWQ_OVERLAY_BLOCK(overlay, name)
#include "core/overlaynames.def"
#undef RWQ_OVERLAY_SHEET
#undef RWQ_OVERLAY_BLOCK
}  // namespace gi

// The same names with their overlays, for the overlay checker; a selection
// sheet gives its three blocks.
struct RequiredBlock {
  OverlayKind overlay;
  std::string_view name;
};
std::span<const RequiredBlock> RequiredBlocks();
// The sheets of the main overlay the program asks for by name.
std::span<const std::string_view> RequiredSheets();
