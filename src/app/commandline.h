#pragma once

#include <span>
#include <string_view>

// How many arguments, the program path included, are the maker switch
// "/kestrel" in any letter case. Every other argument is ignored.
int CountMakerSwitches(std::span<const char* const> arguments);
