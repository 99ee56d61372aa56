#include "sheet/groups.h"

#include <algorithm>

#include "core/decimal.h"

void ForEachGroup(std::string_view line, const std::function<void(std::string_view group)>& apply) {
  for (std::size_t open = line.find('('); open != std::string_view::npos; open = line.find('(', open)) {
    const std::size_t close = line.find(')', open + 1);
    if (close == std::string_view::npos) return;
    apply(line.substr(open + 1, close - open - 1));
    open = close + 1;
  }
}

ControlGroup ParseControlGroup(std::string_view group) {
  const std::size_t space = group.find(' ');
  ControlGroup control{group.substr(0, space), std::nullopt};
  if (space == std::string_view::npos) return control;
  std::size_t used = 0;
  const std::int32_t count = SaturatingDecimal(group.substr(space + 1), &used);
  if (used > 0) control.count = std::max(count, 0);
  return control;
}
