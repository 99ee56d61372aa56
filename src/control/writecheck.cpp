#include "control/writecheck.h"

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/substitute.h"
#include "model/ch.h"
#include "platform/messagebox.h"

namespace writecheck {

namespace {

// A question lists at most this many names; a longer list ends with "...".
constexpr std::size_t kMaxListedNames = 8;

// The name of a marked check cell as the user reads it: a bank sheet's
// reference "[St_ChBank]GI_Sheet_Mch_Lmr,Bank 2" by its last part.
std::string ReadableName(const std::string& mark) {
  const std::size_t comma = mark.rfind(',');
  if (!mark.starts_with('[') || comma == std::string::npos) return mark;
  return mark.substr(comma + 1);
}

std::optional<Finding> NoChannelInUse(cmcGTex& overlay, const Facts& facts) {
  if (datCh::ChannelsInUse(facts.image) > 0) return std::nullopt;
  return Finding{Finding::Kind::kRefusal, overlay.GetBlockText(gi::GI_AppMess_CloneErr_NoActualCh)};
}

std::optional<Finding> DataErrors(cmcGTex& overlay, const Facts& facts) {
  if (facts.marks.errors.empty()) return std::nullopt;
  return Finding{Finding::Kind::kRefusal, overlay.GetBlockText(gi::GI_Mess_DataError)};
}

std::optional<Finding> DataWarnings(cmcGTex& overlay, const Facts& facts) {
  const std::vector<std::string>& warnings = facts.marks.warnings;
  if (warnings.empty()) return std::nullopt;
  std::string names;
  for (std::size_t i = 0; i < warnings.size() && i < kMaxListedNames; ++i) {
    if (i > 0) names += ", ";
    names += ReadableName(warnings[i]);
  }
  if (warnings.size() > kMaxListedNames) names += ", ...";
  return Finding{Finding::Kind::kQuestion,
                 Substitute(overlay.GetBlockText(gi::GI_AppMess_CloneWrite_Warnings), {names})};
}

constexpr Step kSteps[] = {NoChannelInUse, DataErrors, DataWarnings};

}  // namespace

std::span<const Step> Steps() { return kSteps; }

bool Passes(cmcGTex& overlay, const Facts& facts, std::span<const Step> steps) {
  const std::string caption = overlay.GetLine(gi::GI_Sys_AppTitle, 0);
  for (const Step step : steps) {
    const std::optional<Finding> finding = step(overlay, facts);
    if (!finding) continue;
    if (finding->kind == Finding::Kind::kRefusal) {
      platform::CurrentMessageBox().Show(
          {caption, finding->text, platform::MsgIcon::Error, platform::MsgButtons::Ok, true});
      return false;
    }
    const platform::MsgAnswer answer = platform::CurrentMessageBox().Show(
        {caption, finding->text, platform::MsgIcon::Warning, platform::MsgButtons::OkCancel, true});
    if (answer != platform::MsgAnswer::Ok) return false;
  }
  return true;
}

}  // namespace writecheck
