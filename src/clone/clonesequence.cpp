#include "clone/clonesequence.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "clone/clonechecks.h"
#include "clone/clonemessage.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/substitute.h"
#include "model/cloneio.h"
#include "model/memorymap.h"
#include "platform/messagebox.h"

namespace {

constexpr std::uint16_t kReadRevision = 0x0106;
constexpr std::uint16_t kWriteRevision = 0x0000;
constexpr std::size_t kReportedDifferences = 8;
constexpr int kAcceptedModels[] = {memmap::kMainModelCode, memmap::kFurtherModelCodes[0],
                                   memmap::kFurtherModelCodes[1]};

bool LockoutNewerData(cmcGTex& overlay) {
  return std::atoi(overlay.GetLine(gi::GI_Sys_LockoutNewerData, 0).c_str()) != 0;
}

std::string Caption(cmcGTex& overlay) { return overlay.GetLine(gi::GI_Sys_AppTitle, 0); }

std::string Hex4(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value) & 0xFFFFu);
  return text;
}

bool ImageHasPassword(const cmcEeprom& image) {
  return image.IsValidAddress(memmap::addr::kClonePassword) && image.GetByte(memmap::addr::kClonePassword) != 0;
}

std::string AddressList(const std::vector<int>& addresses) {
  std::string text;
  for (int address : addresses) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(address));
    text += (text.empty() ? "" : ", ") + std::string(hex);
  }
  return text;
}

}  // namespace

CloneSequence::CloneSequence(indCloneMan& manager, cmcGTex& overlay)
    : manager_(manager), overlay_(overlay), clock_([] { return std::time(nullptr); }) {
  manager_.SetInformationCheck([this](dst_CDrv_Result& result) {
    result.code = clonechecks::CheckInformation(result, kAcceptedModels);
    if (result.code != CloneCode::kSuccess) return;
    const cmcBuff& id = result.identification;
    identification_.assign(id.Data(), id.Data() + id.Length());
    radioModel_ = result.a;
    radioRevision_ = result.b;
  });
  manager_.SetReadCheck([this](dst_CDrv_Result& result) {
    // A read-back covers only the written ranges: it is compared, not checked.
    if (step_ == Step::kVerify) return;
    result.code = clonechecks::CheckReadImage(result.image, LockoutNewerData(overlay_));
  });
}

std::uint16_t CloneSequence::FrameA() { return 0; }

bool CloneSequence::StartInformation(std::uint16_t b, std::function<void()> next) {
  manager_.SetFrameParameters(FrameA(), b);
  manager_.SetImageSize(cmcEeprom::kImageSize);
  step_ = Step::kInformation;
  return manager_.Information([this, next = std::move(next)](dst_CDrv_Result& result) {
    if (result.code != CloneCode::kSuccess) return Finish(result.code);
    next();
  });
}

bool CloneSequence::Information(Done done) {
  if (manager_.IsBusy() || step_ != Step::kIdle) return false;
  done_ = std::move(done);
  backups_.clear();
  identification_.clear();
  if (StartInformation(kWriteRevision, [this] { Finish(CloneCode::kSuccess); })) return true;
  done_ = nullptr;
  step_ = Step::kIdle;
  return false;
}

bool CloneSequence::TakePassword(bool needed) {
  if (!needed) return true;
  // A password the chain already took (for the backup read) opens the write too.
  if (!password_.empty() && manager_.GivePassword(password_)) return true;
  std::optional<std::string> typed = passwordSource_ ? passwordSource_() : std::nullopt;
  if (!typed || !manager_.GivePassword(*typed)) {
    Finish(CloneCode::kCancelled);
    return false;
  }
  password_ = *typed;
  return true;
}

bool CloneSequence::Read(Done done) {
  if (manager_.IsBusy() || step_ != Step::kIdle) return false;
  done_ = std::move(done);
  backups_.clear();
  identification_.clear();
  if (StartInformation(kReadRevision, [this] { ReadAfterInformation(); })) return true;
  done_ = nullptr;
  step_ = Step::kIdle;
  return false;
}

void CloneSequence::ReadWholeRadio(indCloneMan::Completion received) {
  const clonechecks::Identification id(identification_);
  if (!TakePassword(id.PasswordNeededToRead())) return;
  const std::optional<int> top = id.TopAddress();
  if (!top) {
    manager_.ShowError(CloneCode::kIdentificationRefused);
    return Finish(CloneCode::kIdentificationRefused);
  }
  std::vector<memmap::AddressRange> ranges = memmap::RangeList(1);
  ranges.front().second = clonechecks::ReadEnd(*top);
  step_ = Step::kRead;
  manager_.SetImageSize(cmcEeprom::kImageSize);
  manager_.Read(ranges, std::move(received));
}

void CloneSequence::ReadAfterInformation() {
  ReadWholeRadio([this](dst_CDrv_Result& result) {
    if (result.code == CloneCode::kSuccess) {
      readImage_ = std::move(result.image);
      KeepBackup(readImage_, CloneBackup::Kind::kRead);
    }
    Finish(result.code);
  });
}

bool CloneSequence::Write(const cmcEeprom& image, ModelType type, Done done) {
  if (manager_.IsBusy() || step_ != Step::kIdle) return false;
  // The copy that goes to the radio: encoded, and sent only up to an end that
  // lies inside the raw area; anything else is refused before the radio is asked.
  writeImage_ = image;
  const bool encoded = memmap::Encode(writeImage_, type);
  const int end = encoded ? memmap::WriteEnd(writeImage_) : -1;
  if (!encoded || !clonechecks::WriteEndAllowed(end)) {
    platform::CurrentMessageBox().Show({Caption(overlay_), overlay_.GetBlockText(gi::GI_Mess_DataError),
                                        platform::MsgIcon::Error, platform::MsgButtons::Ok, true});
    return false;
  }
  writeRanges_ = memmap::RangeList(0);
  writeRanges_.front().second = end;
  writeType_ = type;
  writePasswordEnabled_ = ImageHasPassword(image);
  done_ = std::move(done);
  backups_.clear();
  differences_.clear();
  identification_.clear();
  password_.clear();
  if (StartInformation(kWriteRevision, [this] { backupRadioFirst_ ? BackupRadio() : ConfirmAndWrite(); })) return true;
  done_ = nullptr;
  step_ = Step::kIdle;
  return false;
}

bool CloneSequence::Confirm(std::string_view block) {
  const platform::MsgAnswer answer =
      platform::CurrentMessageBox().Show({Caption(overlay_), overlay_.GetBlockText(block), platform::MsgIcon::Warning,
                                          platform::MsgButtons::OkCancel, true});
  return answer == platform::MsgAnswer::Ok;
}

void CloneSequence::BackupRadio() {
  manager_.SetFrameParameters(FrameA(), kReadRevision);
  ReadWholeRadio([this](dst_CDrv_Result& result) {
    if (result.code != CloneCode::kSuccess) return Finish(result.code);
    readImage_ = std::move(result.image);
    KeepBackup(readImage_, CloneBackup::Kind::kRead);
    if (!AcceptRadioModel(readImage_)) return Finish(CloneCode::kCancelled);
    ConfirmAndWrite();
  });
}

bool CloneSequence::AcceptRadioModel(const cmcEeprom& held) {
  cmcEeprom decoded = held;
  memmap::Decode(decoded);
  const ModelType heldType = memmap::ModelTypeFromFlags(decoded);
  if (heldType == writeType_) return true;
  const std::string text = Substitute(overlay_.GetBlockText(gi::GI_AppMess_CloneWrite_OtherModel),
                                      {overlay_.GetLine(gi::GI_AppInd_Model, ModelIndex(heldType)),
                                       overlay_.GetLine(gi::GI_AppInd_Model, ModelIndex(writeType_)),
                                       backups_.empty() ? std::string() : backups_.back()});
  return platform::CurrentMessageBox().Show({Caption(overlay_), text, platform::MsgIcon::Warning,
                                             platform::MsgButtons::OkCancel, true}) == platform::MsgAnswer::Ok;
}

void CloneSequence::ConfirmAndWrite() {
  const bool confirmed = (!makerMode_ || Confirm(gi::GI_Mess_Maker_Caution)) &&
                         (!writePasswordEnabled_ || Confirm(gi::GI_Mess_Confirm_CloneWriteClonePass)) &&
                         Confirm(gi::GI_Mess_Confirm_CloneWrite);
  if (!confirmed) return Finish(CloneCode::kCancelled);
  if (!StartInformation(kWriteRevision, [this] { WriteAfterInformation(); })) Finish(CloneCode::kCancelled);
}

void CloneSequence::WriteAfterInformation() {
  const clonechecks::Identification id(identification_);
  // Records past the radio's memory would be lost or wrap: nothing is sent.
  const int end = writeRanges_.front().second;
  if (const std::optional<int> top = id.TopAddress(); top && end > *top) {
    platform::CurrentMessageBox().Show(
        {Caption(overlay_),
         Substitute(overlay_.GetBlockText(gi::GI_AppMess_CloneWrite_BeyondTop), {Hex4(end), Hex4(*top)}),
         platform::MsgIcon::Error, platform::MsgButtons::Ok, true});
    return Finish(CloneCode::kCancelled);
  }
  if (!TakePassword(id.PasswordSet())) return;
  writeImage_.SetByte(memmap::addr::kHeaderLimitByte, id.HeaderValue());
  KeepBackup(writeImage_, CloneBackup::Kind::kSent);
  // The cancelled-write line says what a half-written radio needs; the backup holds what was sent.
  std::string note = overlay_.GetLine(gi::GI_AppMess_CloneCancel_Write, 1);
  if (!backups_.empty()) note += "\n" + backups_.back();
  manager_.SetWriteFailureNote(std::move(note));
  step_ = Step::kRead;
  manager_.SetImageSize(writeImage_.Size());
  manager_.Write(writeImage_, writeRanges_, [this](dst_CDrv_Result& result) {
    if (result.code != CloneCode::kSuccess) return Finish(result.code);
    platform::CurrentMessageBox().Show({Caption(overlay_), overlay_.GetBlockText(gi::GI_Mess_CloneWrite_Succeeded),
                                        platform::MsgIcon::Information, platform::MsgButtons::Ok, true});
    if (!verify_) return Finish(CloneCode::kSuccess);
    Verify();
  });
}

void CloneSequence::Verify() {
  const clonechecks::Identification id(identification_);
  // The password the write took opens the read as well.
  if (id.PasswordNeededToRead() && !manager_.GivePassword(password_)) return Finish(CloneCode::kCancelled);
  step_ = Step::kVerify;
  manager_.SetFrameParameters(FrameA(), kReadRevision);
  manager_.SetImageSize(cmcEeprom::kImageSize);
  // The radio answers a read with its memory from the start: read as a read
  // does, compare only what was written.
  std::vector<memmap::AddressRange> ranges = memmap::RangeList(1);
  ranges.front().second =
      std::max(clonechecks::ReadEnd(id.TopAddress().value_or(cmcEeprom::kRawSize - 1)), writeRanges_.front().second);
  manager_.Read(ranges, [this](dst_CDrv_Result& result) {
    if (result.code != CloneCode::kSuccess) return Finish(result.code);
    differences_ = FirstDifferences(writeImage_, result.image, writeRanges_, kReportedDifferences);
    if (differences_.empty()) {
      platform::CurrentMessageBox().Show({Caption(overlay_),
                                          overlay_.GetBlockText(gi::GI_AppMess_CloneVerify_Succeeded),
                                          platform::MsgIcon::Information, platform::MsgButtons::Ok, true});
      return Finish(CloneCode::kSuccess);
    }
    const std::string text =
        Substitute(overlay_.GetBlockText(gi::GI_AppMess_CloneVerify_Failed), {AddressList(differences_)});
    platform::CurrentMessageBox().Show(
        {Caption(overlay_), text, platform::MsgIcon::Error, platform::MsgButtons::Ok, true});
    Finish(CloneCode::kVerifyMismatch);
  });
}

std::vector<int> CloneSequence::FirstDifferences(const cmcEeprom& sent, const cmcEeprom& received,
                                                 std::span<const memmap::AddressRange> ranges, std::size_t limit) {
  std::vector<int> found;
  for (const memmap::AddressRange& range : ranges) {
    if (range.first > range.second) break;
    for (int a = range.first; a <= range.second && found.size() < limit; ++a) {
      const bool bothHold = sent.IsValidAddress(a) && received.IsValidAddress(a);
      if (!bothHold || sent.GetByte(a) != received.GetByte(a)) found.push_back(a);
    }
  }
  return found;
}

void CloneSequence::KeepBackup(const cmcEeprom& image, CloneBackup::Kind kind) {
  if (!backup_) return;
  const std::string serial = clonechecks::Identification(identification_).SerialText();
  if (std::optional<std::string> path = backup_->Save(image, kind, radioModel_, serial, clock_())) {
    backups_.push_back(*path);
    return;
  }
  // The transfer goes on: the copy is a safety net, not the operation.
  platform::CurrentMessageBox().Show(
      {Caption(overlay_), Substitute(overlay_.GetBlockText(gi::GI_AppMess_CloneBackup_Failed), {backup_->Folder()}),
       platform::MsgIcon::Warning, platform::MsgButtons::Ok, true});
}

void CloneSequence::Finish(CloneCode code) {
  step_ = Step::kIdle;
  Done done = std::move(done_);
  done_ = nullptr;
  if (done) done(code);
}
