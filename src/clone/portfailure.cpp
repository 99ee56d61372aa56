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
// Lines of the message for a port given by its device path.
constexpr std::size_t kHeadLine = 0;
constexpr std::size_t kNotSerialLine = 1;
// A port number the user names a path for, without a stored path.
constexpr std::size_t kNoPathLine = 2;

}  // namespace

std::string PortFailureReason(cmcGTex& overlay, const platform::SerialOpenFailure& failure) {
  switch (failure.error) {
  case platform::SerialOpenError::kPermission: {
    const std::string& group = failure.deviceGroup;
    const std::string remedy =
        group.empty() ? overlay.GetLine(gi::GI_AppMess_PortErr_Permission, kRemedyLine)
                      : Substitute(overlay.GetLine(gi::GI_AppMess_PortErr_Permission, kRemedyWithGroupLine), {group});
    return overlay.GetLine(gi::GI_AppMess_PortErr_Permission, kPermissionLine) + "\n" + remedy;
  }
  case platform::SerialOpenError::kBusy: return overlay.GetBlockText(gi::GI_AppMess_PortErr_Busy);
  case platform::SerialOpenError::kNotSerial: return overlay.GetLine(gi::GI_AppMess_PortErr_Path, kNotSerialLine);
  case platform::SerialOpenError::kNoDevice:
    return failure.path.empty() ? overlay.GetLine(gi::GI_AppMess_PortErr_Path, kNoPathLine) : std::string();
  default: return {};
  }
}

std::string PortFailureHead(cmcGTex& overlay, const std::string& path) {
  return Substitute(overlay.GetLine(gi::GI_AppMess_PortErr_Path, kHeadLine), {path});
}

std::string PortFailureText(cmcGTex& overlay, const platform::SerialOpenFailure& failure) {
  std::string text = failure.path;
  const std::string reason = PortFailureReason(overlay, failure);
  if (!text.empty() && !reason.empty()) text += '\n';
  return text + reason;
}
