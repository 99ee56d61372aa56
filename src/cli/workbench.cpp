#include "cli/workbench.h"

#include "control/startupchoices.h"
#include "platform/paths.h"

namespace cli {

Workbench::Workbench() : document_(overlay_) { overlay_.Open(FirstLanguageOverlayPath(platform::DataDir())); }

bool Workbench::Open(const std::string& path) { return document_.Open(path) == Document::OpenResult::kOpened; }

bool Workbench::SaveAs(const std::string& path) { return document_.SaveAs(path) == Document::SaveResult::kSaved; }

}  // namespace cli
