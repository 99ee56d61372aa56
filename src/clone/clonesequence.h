#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "clone/clonebackup.h"
#include "clone/cloneman.h"
#include "model/eeprom.h"
#include "model/memorymap.h"
#include "model/modeltype.h"

class cmcGTex;

// The clone commands as chains of manager operations, each step started from
// the completion of the one before: information; read (information, the
// password when the radio asks for it, the read and its check); write
// (information, optionally a read of what the radio holds into a backup, the
// confirmations, information again, the password, the write, and optionally a
// read-back that compares what arrived).
class CloneSequence {
 public:
  // The chain's final code; kSuccess only when every step succeeded.
  using Done = std::function<void(CloneCode code)>;
  // The password dialog: the password typed, or none for Cancel.
  using PasswordSource = std::function<std::optional<std::string>()>;
  using Clock = std::function<std::time_t()>;

  // Both must outlive the sequence; it installs the manager's checks.
  CloneSequence(indCloneMan& manager, cmcGTex& overlay);

  void SetPasswordSource(PasswordSource source) { passwordSource_ = std::move(source); }
  void SetMakerMode(bool on) { makerMode_ = on; }
  void SetVerify(bool on) { verify_ = on; }
  // A write first reads the radio into a backup of what it held, and asks
  // before going on when that image is of another model type than the data.
  void SetBackupRadioFirst(bool on) { backupRadioFirst_ = on; }
  // Where every read image and every image about to be written is kept; none
  // keeps no copies.
  void SetBackup(std::optional<CloneBackup> backup) { backup_ = std::move(backup); }
  void SetClock(Clock clock) { clock_ = std::move(clock); }

  // Each returns false when it did not start (busy, or a write refused with
  // its message shown); otherwise `done` is called once at the end.
  bool Information(Done done);
  bool Read(Done done);
  // `image` is the decoded edit image; a copy is encoded for the model type.
  bool Write(const cmcEeprom& image, ModelType type, Done done);

  // The identification record of the last successful information operation.
  const std::vector<std::uint8_t>& Identification() const { return identification_; }
  int RadioModelCode() const { return radioModel_; }
  int RadioRevisionWord() const { return radioRevision_; }
  // The raw area of the last successful read.
  const cmcEeprom& ReadImage() const { return readImage_; }
  // The backups written by the last chain.
  const std::vector<std::string>& Backups() const { return backups_; }
  // After a verify that failed: the first differing addresses.
  const std::vector<int>& Differences() const { return differences_; }

  // The first frame parameter: 0 while the program knows alternative model codes.
  static std::uint16_t FrameA();
  // The first `limit` addresses inside the ranges where the two raw areas differ.
  static std::vector<int> FirstDifferences(const cmcEeprom& sent, const cmcEeprom& received,
                                           std::span<const memmap::AddressRange> ranges, std::size_t limit);

 private:
  enum class Step { kIdle, kInformation, kRead, kVerify };

  bool StartInformation(std::uint16_t b, std::function<void()> next);
  // Asks for the password when needed; false (the chain ended) on Cancel.
  bool TakePassword(bool needed);
  // Reads the radio up to the top its identification gives, once the password
  // it asks for is given; `received` gets the result.
  void ReadWholeRadio(indCloneMan::Completion received);
  void ReadAfterInformation();
  void BackupRadio();
  // After the backup read: the question when the radio held another model type.
  bool AcceptRadioModel(const cmcEeprom& held);
  void ConfirmAndWrite();
  void WriteAfterInformation();
  void Verify();
  void Finish(CloneCode code);
  bool Confirm(std::string_view block);
  void KeepBackup(const cmcEeprom& image, CloneBackup::Kind kind);

  indCloneMan& manager_;
  cmcGTex& overlay_;
  PasswordSource passwordSource_;
  Clock clock_;
  bool makerMode_ = false;
  bool verify_ = false;
  bool backupRadioFirst_ = false;
  std::optional<CloneBackup> backup_;

  Step step_ = Step::kIdle;
  Done done_;
  std::vector<std::uint8_t> identification_;
  int radioModel_ = 0;
  int radioRevision_ = 0;
  cmcEeprom readImage_;
  cmcEeprom writeImage_;
  ModelType writeType_ = ModelType::kLandMobile;
  bool writePasswordEnabled_ = false;
  std::string password_;
  std::vector<memmap::AddressRange> writeRanges_;
  std::vector<std::string> backups_;
  std::vector<int> differences_;
};
