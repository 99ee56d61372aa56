#pragma once

#include <string>
#include <string_view>

namespace cli {

// Line feeds and TABs written as "\n" and "\t", so a text stays one field of one line.
std::string EscapeControls(std::string_view text);

}  // namespace cli
