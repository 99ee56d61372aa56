#include "clone/clonemessage.h"

#include <vector>

#include "clone/portfailure.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/substitute.h"
#include "platform/messagebox.h"

namespace clonemessage {

namespace {

struct Row {
  CloneCode code;
  std::vector<std::size_t> checkLines;
  bool losesSpeed;
};

// Codes not listed take the default row.
const Row kDefaultRow = {CloneCode::kSuccess, {0, 1, 2, 3}, true};
const Row kRows[] = {
    {CloneCode::kPortNotOpen, {0, 1, 2, 3}, true},
    {CloneCode::kWriteNotConfirmed, {0, 2, 3}, false},
    {CloneCode::kIdentificationRefused, {0, 1, 2, 3, 4, 5}, false},
    {CloneCode::kIdentificationUnread, {0, 1, 2, 3, 4, 5}, false},
    {CloneCode::kOperationRefused, {6, 7}, false},
    {CloneCode::kIdentificationValue, {0, 4, 5}, false},
    {CloneCode::kImageCheckSecond, {}, false},
};

const Row& RowOf(CloneCode code) {
  for (const Row& row : kRows) {
    if (row.code == code) return row;
  }
  return kDefaultRow;
}

// The cancelled chain says nothing; a failed verify shows its own message.
bool IsSilent(CloneCode code) {
  return code == CloneCode::kSuccess || code == CloneCode::kCancelled || code == CloneCode::kVerifyMismatch;
}

}  // namespace

std::string Text(cmcGTex& overlay, CloneCode code, int portNumber, const platform::SerialOpenFailure& failure) {
  if (IsSilent(code)) return {};
  const auto line = static_cast<std::size_t>(code);
  std::string text = overlay.GetLine(gi::GI_Mess_CloneErr_Head, line);
  if (code == CloneCode::kPortNotOpen) {
    // A device path given directly has no port number to name: name the path.
    const bool byPath = portNumber == 0 && !failure.path.empty();
    text = byPath ? PortFailureHead(overlay, failure.path) : Substitute(text, {std::int64_t{portNumber}});
    const std::string reason = byPath ? PortFailureReason(overlay, failure) : PortFailureText(overlay, failure);
    if (!reason.empty()) text.append("\n").append(reason);
  }
  const Row& row = RowOf(code);
  if (!row.checkLines.empty()) text += "\n";
  for (std::size_t i = 0; i < row.checkLines.size(); ++i) {
    text.append("\n").append(overlay.GetLine(gi::GI_Mess_CloneErr_Check, row.checkLines[i]));
  }
  return text;
}

bool LosesSpeedState(CloneCode code) { return !IsSilent(code) && RowOf(code).losesSpeed; }

void Show(cmcGTex& overlay, const std::string& text) {
  if (text.empty()) return;
  platform::CurrentMessageBox().Show(
      {overlay.GetLine(gi::GI_Sys_AppTitle, 0), text, platform::MsgIcon::Error, platform::MsgButtons::Ok, true});
}

}  // namespace clonemessage
