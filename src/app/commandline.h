#pragma once

#include <span>
#include <string_view>

// True when any argument, the program path included, is the maker switch
// "/kestrel" in any letter case. Every other argument is ignored.
bool HasMakerSwitch(std::span<const char* const> arguments);
