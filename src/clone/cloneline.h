#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "clone/comm.h"

class TaskScheduler;

// Which port a transfer uses: a port number, or a device path that replaces it
// (a pseudo-terminal of a simulated radio).
struct PortId {
  int number = 1;
  std::string path;
  friend bool operator==(const PortId&, const PortId&) = default;
};

// The serial line as the clone driver uses it. The program's line is a cmcComm
// (CommLine); tests give the driver a simulated line whose timing they control.
class CloneLine {
 public:
  virtual ~CloneLine() = default;
  // False when the port cannot be opened with the settings (or is already open).
  virtual bool Open(const PortId& port, std::string_view settings) = 0;
  // New settings on the open port, without closing it, so the modem lines
  // stay as they are; false when closed or when the device refuses them.
  virtual bool ChangeSettings(std::string_view settings) = 0;
  // Closes and drops output not yet sent; safe when closed.
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // Queues bytes for sending without waiting.
  virtual void Write(std::span<const std::uint8_t> bytes) = 0;
  // Copies what has arrived, at most maximum, without waiting.
  virtual std::size_t Read(std::uint8_t* buffer, std::size_t maximum) = 0;
  // Bytes waiting to be read.
  virtual std::size_t InQueue() const = 0;
  // Bytes queued and not yet gone: 0 once everything has left.
  virtual std::size_t OutPending() const = 0;
  virtual bool HasWriteError() const = 0;
  // Whether the device took the mode; a device without modem lines may not.
  virtual bool SetRtsControl(int mode) = 0;
  // Why the last open failed; a line without a device has nothing to say.
  virtual platform::SerialOpenFailure LastOpenFailure() const { return {}; }
};

// The line over the program's serial port class.
class CommLine : public CloneLine {
 public:
  explicit CommLine(TaskScheduler& scheduler) : comm_(scheduler) {}

  bool Open(const PortId& port, std::string_view settings) override;
  bool ChangeSettings(std::string_view settings) override { return comm_.ChangeSettings(settings); }
  void Close() override { comm_.Close(); }
  bool IsOpen() const override { return comm_.IsOpen(); }
  void Write(std::span<const std::uint8_t> bytes) override { comm_.Write(bytes.data(), bytes.size()); }
  std::size_t Read(std::uint8_t* buffer, std::size_t maximum) override { return comm_.Read(buffer, maximum); }
  std::size_t InQueue() const override { return comm_.InQueue(); }
  std::size_t OutPending() const override { return comm_.OutPending(); }
  bool HasWriteError() const override { return comm_.HasWriteError(); }
  bool SetRtsControl(int mode) override { return comm_.SetRtsControl(mode); }
  platform::SerialOpenFailure LastOpenFailure() const override { return comm_.LastOpenFailure(); }

 private:
  cmcComm comm_;
};
