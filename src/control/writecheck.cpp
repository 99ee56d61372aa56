#include "control/writecheck.h"

#include "core/overlaynames.h"
#include "model/ch.h"

namespace writecheck {

std::optional<std::string_view> Refusal(const cmcEeprom& image) {
  if (datCh::ChannelsInUse(image) == 0) return gi::GI_AppMess_CloneErr_NoActualCh;
  return std::nullopt;
}

}  // namespace writecheck
