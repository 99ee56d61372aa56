#pragma once

// The texts of the clone-information cells, from the identification record a
// radio sent; the sheet and the command line show the same words.

#include <cstdint>
#include <span>
#include <string>

class cmcGTex;

// The text of a CL_CloneInfo_ link; empty for any other link and unless the
// record has its full 78 bytes.
std::string CloneInfoText(cmcGTex& overlay, std::span<const std::uint8_t> record, int link);
