#pragma once

// The serial line the clone protocol runs on: one port opened with a settings
// text, reads that never wait, and writes that a task hands to the device a
// chunk at a time.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/buff.h"
#include "platform/portpaths.h"
#include "platform/serialdevice.h"

class TaskScheduler;
class cmcTask;

// A settings text "baud,parity,data bits,stop bits" ("9600,n,8,1") as line
// settings. The line never runs with parity: a parity letter M or O only turns
// the parity check on. Data bits are clamped to 5..8; "2" stop bits gives two,
// anything else one.
platform::SerialLineSettings ParseCommSettings(std::string_view text);

class cmcComm {
 public:
  // The largest block handed to the device at once.
  static constexpr std::size_t kOutputChunk = 1024;
  // How long the flush waits for the transmit queue to empty, and between chunks.
  static constexpr int kFlushRetryMs = 10;
  // A chunk's write time limit is this plus 100000 / baud ms per byte.
  static constexpr std::uint32_t kWriteTimeConstantMs = 3000;
  // RTS control modes; only disable turns RTS off (there is no flow control).
  static constexpr int kRtsDisable = 0;
  static constexpr int kRtsEnable = 1;

  // The scheduler must outlive the port. writeTimeConstantMs replaces
  // kWriteTimeConstantMs (tests of a stalled device).
  explicit cmcComm(TaskScheduler& scheduler, std::uint32_t writeTimeConstantMs = kWriteTimeConstantMs);
  ~cmcComm();
  cmcComm(const cmcComm&) = delete;
  cmcComm& operator=(const cmcComm&) = delete;

  // The user's named paths for the port numbers 161..256.
  void SetPortPaths(platform::PortPaths paths) { portPaths_ = std::move(paths); }

  // Opens the port's device (see platform::PortOpenPath) and configures it;
  // false, changing nothing, when already open, and false with the port left
  // closed when it cannot be opened or configured (LastOpenFailure says why).
  bool Open(int port, std::string_view settings);
  // The same on a named device path.
  bool OpenPath(const std::string& devicePath, std::string_view settings);
  // Applies a settings text to the open port, keeping the RTS mode; false,
  // changing nothing, on a closed port, and false when the device refuses it.
  bool ChangeSettings(std::string_view settings);
  // Stops the flush, closes, drops the pending output and clears the write
  // error. Safe on a closed port.
  void Close();
  bool IsOpen() const { return device_.IsOpen(); }

  // Queues bytes for sending; nothing on a closed port.
  void Write(const std::uint8_t* bytes, std::size_t length);
  // Copies what has arrived, at most maximum, without waiting; 0 when closed.
  std::size_t Read(std::uint8_t* buffer, std::size_t maximum);

  std::size_t InQueue() const { return device_.InQueue(); }
  std::size_t OutQueue() const { return device_.OutQueue(); }
  // The transmit queue plus the bytes not yet handed to the device: 0 once
  // everything has left.
  std::size_t OutPending() const { return OutQueue() + pending_.Length(); }
  // Set when the device took fewer bytes than offered; the flush then stops.
  // Cleared by Open and Close.
  bool HasWriteError() const { return writeError_; }

  // Stores mode & 3 and, when open, applies the line settings again; whether
  // that succeeded (false on a closed port, where the mode waits for Open).
  bool SetRtsControl(int mode);

  // The number given to the last Open (0 after OpenPath) and the device path of
  // the last open attempt.
  int PortNumber() const { return portNumber_; }
  const std::string& DevicePath() const { return devicePath_; }
  // Why the last open failed (kNone after a success), with the device's group.
  const platform::SerialOpenFailure& LastOpenFailure() const { return device_.LastOpenFailure(); }

 private:
  bool OpenDevice(std::string_view settings);
  void FlushStep();
  std::uint32_t WriteTimeLimitMs(std::size_t length) const;

  platform::SerialDevice device_;
  platform::PortPaths portPaths_;
  int portNumber_ = 0;
  std::string devicePath_;
  bool writeError_ = false;
  cmcBuff pending_;
  platform::SerialLineSettings settings_;
  std::uint32_t writeTimeConstantMs_;
  cmcTask* flushTask_;
};
