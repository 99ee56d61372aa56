#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <variant>

// Fills the %s and %d of an overlay text. Overlay texts are data, never a
// printf format: a conversion without an argument, or an unknown one, is copied
// as it stands, and "%%" is a single '%'.
using SubstituteArg = std::variant<std::string_view, std::int64_t>;

std::string Substitute(std::string_view pattern, std::initializer_list<SubstituteArg> args);
