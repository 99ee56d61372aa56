#include "grid/gridlinkhost.h"

#include <string>

#include "grid/flector.h"
#include "grid/grid.h"
#include "links/cellcapsule.h"

bool GridLinkHost::OpenChoiceList(cmcCellCapsule& request, std::string_view list, int column, std::int32_t current) {
  if (!services_) return false;
  const std::optional<cuiGrid::ShownCell> shown = cuiGrid::Showing(request.cell);
  if (!shown) return false;
  new cuiFlector({shown->grid, shown->cell}, services_(), std::string(list), column, current);
  return true;
}
