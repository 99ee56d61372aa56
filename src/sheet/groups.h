#pragma once

#include <functional>
#include <optional>
#include <string_view>

// The groups of a style or control line: each "(" starts a group and the next
// ")" ends it; characters outside groups are ignored, and an unclosed group is
// no group. Calls `apply` with each group's text in line order.
void ForEachGroup(std::string_view line, const std::function<void(std::string_view group)>& apply);

// A control group: its word and, after the first space, its count when it has
// one (never below 0).
struct ControlGroup {
  std::string_view word;
  std::optional<int> count;
};
ControlGroup ParseControlGroup(std::string_view group);
