#include "clone/portfailure.h"

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/substitute.h"

namespace {

// Lines of the permission message: the fact, then the remedy with or without
// the group's name.
constexpr std::size_t kPermissionLine = 0;
constexpr std::size_t kRemedyWithGroupLine = 1;
constexpr std::size_t kRemedyLine = 2;

std::string Reason(cmcGTex& overlay, const platform::SerialOpenFailure& failure) {
  switch (failure.error) {
  case platform::SerialOpenError::kPermission: {
    const std::string& group = failure.deviceGroup;
    const std::string remedy =
        group.empty() ? overlay.GetLine(gi::GI_AppMess_PortErr_Permission, kRemedyLine)
                      : Substitute(overlay.GetLine(gi::GI_AppMess_PortErr_Permission, kRemedyWithGroupLine), {group});
    return overlay.GetLine(gi::GI_AppMess_PortErr_Permission, kPermissionLine) + "\n" + remedy;
  }
  case platform::SerialOpenError::kBusy: return overlay.GetBlockText(gi::GI_AppMess_PortErr_Busy);
  default: return {};
  }
}

}  // namespace

std::string PortFailureText(cmcGTex& overlay, const platform::SerialOpenFailure& failure) {
  std::string text = failure.path;
  const std::string reason = Reason(overlay, failure);
  if (!text.empty() && !reason.empty()) text += '\n';
  return text + reason;
}
