#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// How many arguments, the program path included, are the maker switch
// "/kestrel" in any letter case.
int CountMakerSwitches(std::span<const char* const> arguments);
// The clone file named on the command line, as a file manager passes it: the
// first argument after the program path that is not the maker switch.
std::optional<std::string> FileArgument(std::span<const char* const> arguments);
