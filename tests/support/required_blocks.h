#pragma once

#include <set>
#include <string>
#include <string_view>

// A one-line block ("x") for every block the program asks of a main overlay
// but those named in `present`, so a small fixture overlay passes that check.
std::string RequiredMainBlocks(const std::set<std::string_view>& present);
