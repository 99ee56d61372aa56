#include "model/cloneio.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/substitute.h"
#include "model/memorymap.h"
#include "platform/fatal.h"
#include "platform/messagebox.h"
#include "platform/paths.h"

namespace cloneio {

namespace {

constexpr std::array<std::string_view, 10> kErrorNames = {
    "",
    gi::GI_Mess_FileErr_FileOpen,
    gi::GI_Mess_FileErr_FileAccess,
    gi::GI_Mess_FileErr_Model,
    gi::GI_Mess_FileErr_Extra,
    gi::GI_Mess_FileErr_MapRev,
    gi::GI_Mess_FileErr_Format,
    gi::GI_Mess_FileErr_Coverage,
    gi::GI_Mess_FileErr_Data,
    gi::GI_Mess_FileErr_Newer,
};

void Show(cmcGTex& overlay, const std::string& text, platform::MsgIcon icon) {
  platform::CurrentMessageBox().Show(
      {overlay.GetLine(gi::GI_Sys_AppTitle, 0), text, icon, platform::MsgButtons::Ok, true});
}

bool HeaderAccepted(int model, int extra, cmcCloneFile::Error& error) {
  if (!memmap::IsModelCode(model)) {
    error = cmcCloneFile::kModel;
    return false;
  }
  if (extra != kExtraCode && extra != kAlternativeExtraCode) {
    error = cmcCloneFile::kExtra;
    return false;
  }
  return true;
}

bool LockoutNewerData(cmcGTex& overlay) {
  return std::atoi(overlay.GetLine(gi::GI_Sys_LockoutNewerData, 0).c_str()) != 0;
}

}  // namespace

void ShowFileError(cmcGTex& overlay, cmcCloneFile::Error error) {
  if (error <= 0 || error >= static_cast<int>(kErrorNames.size())) return;
  std::string text = Substitute("%s\n\n%s", {overlay.GetBlockText(gi::GI_Mess_FileErr_Headline),
                                             overlay.GetBlockText(kErrorNames[static_cast<std::size_t>(error)])});
  Show(overlay, text, platform::MsgIcon::Warning);
}

void ShowEncodeOverflow(cmcGTex& overlay) {
  Show(overlay, overlay.GetBlockText(gi::GI_AppMess_EncodeErr_Overflow), platform::MsgIcon::Error);
}

void Configure(cmcCloneFile& file, cmcGTex& overlay, FileHeader* header) {
  file.SetModelCode(memmap::kMainModelCode);
  file.SetExtraCode(kExtraCode);
  file.SetMapRevCheck([](int revision) { return revision <= kHighestMapRevision; });
  file.SetHeaderCheck([header](int model, int extra, cmcCloneFile::Error& error) {
    if (header != nullptr) *header = {model, extra, -1};
    return HeaderAccepted(model, extra, error);
  });
  file.SetReporter([&overlay](cmcCloneFile::Error error) { ShowFileError(overlay, error); });
}

cmcCloneFile::Error Open(cmcGTex& overlay, const std::string& path, cmcEeprom& candidate, FileHeader* header) {
  candidate.Resize(cmcEeprom::kImageSize);
  cmcCloneFile file;
  file.AttachImage(&candidate);
  Configure(file, overlay, header);
  if (cmcCloneFile::Error read = file.Read(path, nullptr); read != cmcCloneFile::kOk) return read;
  if (header != nullptr) header->mapRevision = file.MapRevision();

  cmcCloneFile::Error error = cmcCloneFile::kOk;
  cmcCloneFile::Ranges required = memmap::RangeList(3);
  if (memmap::IdentityCheck(candidate, memmap::IdentityLevel::kBasic) != 0) {
    error = cmcCloneFile::kData;
  } else if (memmap::IsNewerData(candidate, LockoutNewerData(overlay))) {
    error = cmcCloneFile::kNewer;
  } else {
    error = file.CoverageCheck(&required);
  }
  ShowFileError(overlay, error);
  return error;
}

SaveResult Save(cmcGTex& overlay, const std::string& path, cmcEeprom& edit, ModelType modelType) {
  if (!memmap::Encode(edit, modelType)) {
    ShowEncodeOverflow(overlay);
    return SaveResult::kDoesNotEncode;
  }
  cmcCloneFile file;
  file.AttachImage(&edit);
  Configure(file, overlay, nullptr);
  file.SetMapRevision(kSavedMapRevision);
  file.SetComment(cmcCloneFile::CommentOf(edit));
  return file.Write(path, memmap::RangeList(2)) == cmcCloneFile::kOk ? SaveResult::kSaved : SaveResult::kWriteFailed;
}

std::string InitialFilePath(cmcGTex& overlay, ModelType modelType) {
  std::string name = overlay.GetLine(gi::GI_App_InitialFile, ModelIndex(modelType));
  cmcGTex::TrimBlanks(name);
  return platform::DataDir() + name;
}

void LoadInitialImage(cmcGTex& overlay, ModelType modelType, cmcEeprom& initial) {
  std::string path = InitialFilePath(overlay, modelType);
  initial.Resize(cmcEeprom::kImageSize);
  cmcCloneFile file;
  file.AttachImage(&initial);
  Configure(file, overlay, nullptr);
  cmcCloneFile::Ranges required = memmap::RangeList(3);
  if (file.Read(path, &required) != cmcCloneFile::kOk) platform::Fatal(Substitute("Cannot open '%s'.", {path}));
  memmap::DecodeInitial(initial);
}

void CopyRawArea(const cmcEeprom& source, cmcEeprom& target) {
  if (source.Size() < cmcEeprom::kRawSize || target.Size() < cmcEeprom::kRawSize) return;
  target.WriteBlock(0, source.Data(), cmcEeprom::kRawSize);
}

}  // namespace cloneio
