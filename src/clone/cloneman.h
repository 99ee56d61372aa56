#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "clone/clonedrv.h"
#include "clone/cloneresult.h"
#include "model/memorymap.h"
#include "platform/clock.h"

class cmcGTex;
class cmcTask;
class TaskScheduler;

// The clone manager: runs one information, read or write operation on the
// clone driver, prepared with the transfer script (speed, password, mode);
// passes its result through the caller's check, shows the message for a
// failure and calls the operation's completion once. The progress of a read
// or write goes to a listener every 30 ms.
class indCloneMan {
 public:
  // May change the result code; called only for a result without a failure.
  using Check = std::function<void(dst_CDrv_Result& result)>;
  using Completion = std::function<void(dst_CDrv_Result& result)>;
  // The number of filled progress segments (0 to kProgressSegments); the
  // caption line, or empty when the progress ends.
  struct ProgressListener {
    std::function<void(const std::string& caption)> open;
    std::function<void(int segments)> update;
    std::function<void()> close;
  };

  static constexpr int kProgressSegments = 32;
  static constexpr int kProgressStepMs = 30;
  static constexpr int kSpeedUnknown = -1;

  // The scheduler, overlay and clock must outlive the manager.
  indCloneMan(TaskScheduler& scheduler, cmcGTex& overlay, const platform::Clock& clock = platform::SystemClock(),
              std::unique_ptr<CloneLine> line = nullptr);
  ~indCloneMan();
  indCloneMan(const indCloneMan&) = delete;
  indCloneMan& operator=(const indCloneMan&) = delete;

  void SetInformationCheck(Check check) { informationCheck_ = std::move(check); }
  void SetReadCheck(Check check) { readCheck_ = std::move(check); }
  void SetProgressListener(ProgressListener listener) { progress_ = std::move(listener); }
  // Lines added to the error of the next write that fails after image bytes
  // went to the radio: what such a radio now needs. Cleared when an operation ends.
  void SetWriteFailureNote(std::string note) { writeFailureNote_ = std::move(note); }

  // The port: a number from the port table, or a device path in its place.
  void SetPort(int number);
  void SetPortPath(const std::string& path);
  // A numbered port opened through the path it stands for; messages name the number.
  void SetNamedPort(int number, const std::string& path);
  int PortNumber() const { return portNumber_; }
  void SetHighSpeed(bool high) { highSpeed_ = high; }
  bool HighSpeed() const { return highSpeed_; }
  // The high-speed value the last transfer script was built for, or kSpeedUnknown.
  int SpeedState() const { return speedState_; }

  // The password dialog's OK: the password goes with the next read or write
  // preparation. False, changing nothing, for an empty or too long password.
  bool GivePassword(const std::string& password);
  bool HasPassword() const { return password_.has_value(); }

  void SetFrameParameters(std::uint16_t a, std::uint16_t b);
  void SetImageSize(int size) { driver_.SetImageSize(size); }

  // Each returns false, doing nothing, while an operation runs.
  bool Information(Completion done);
  bool Read(std::span<const memmap::AddressRange> ranges, Completion done);
  bool Write(const cmcEeprom& image, std::span<const memmap::AddressRange> ranges, Completion done);
  bool IsBusy() const { return driver_.IsBusy(); }
  // The kind of the running operation; kNone while idle.
  CloneKind RunningKind() const { return IsBusy() ? kind_ : CloneKind::kNone; }
  // Ends the running operation at once: its completion gets kCancelled, and no
  // message is shown.
  void Cancel() { driver_.Cancel(); }

  // n = bytes moved × 33 / expected bytes, never more than the segments there are.
  static int ProgressFigure(long long moved, long long expected);
  int ProgressSegments() const { return ProgressFigure(driver_.DataBytesMoved(), expectedBytes_); }

  // Shows the message for a code as a finished operation does (the chains'
  // own refusals use it).
  void ShowError(CloneCode code);

 private:
  void Prepare(bool writeMode);
  void StartProgress(std::size_t captionLine);
  void StopProgress();
  void OnDriverDone(dst_CDrv_Result& result);

  cmcGTex& overlay_;
  cmcCloneDrv driver_;
  cmcTask* progressTask_;
  ProgressListener progress_;
  bool progressOpen_ = false;
  std::string writeFailureNote_;
  bool passwordSent_ = false;  // the running operation's request carries a password
  Check informationCheck_;
  Check readCheck_;
  Completion completion_;
  CloneKind kind_ = CloneKind::kNone;
  long long expectedBytes_ = 0;
  std::uint16_t frameA_ = 0;
  int portNumber_ = 1;
  std::string portPath_;
  bool highSpeed_ = true;
  int speedState_ = kSpeedUnknown;
  std::optional<std::string> password_;
};
