#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "clone/cloneline.h"
#include "platform/clock.h"

// A serial line in memory on a ManualClock, for tests of the clone driver.
// Bytes cross the wire one after the other at the line's baud rate (10 bits
// each), so OutPending falls as a real port's would; each byte reaches the peer
// when it has crossed, and the peer's bytes arrive at the same rate.
class SimulatedLine : public CloneLine {
 public:
  explicit SimulatedLine(const platform::ManualClock& clock) : clock_(clock) {}

  // The other end: called with each byte the computer sent, at the time it
  // has crossed the wire (PeerTime()).
  std::function<void(std::uint8_t)> peer;
  // Sends from the peer; the bytes start after the ones still arriving.
  void PeerSend(std::span<const std::uint8_t> bytes);
  // During a peer call, the time its byte arrived; otherwise now.
  double PeerTime() const { return peerTime_ ? *peerTime_ : clock_.NowMs(); }
  // Sends from the peer once the given time has come.
  void PeerSendAt(double time, std::span<const std::uint8_t> bytes);

  // Faults and cable kinds.
  bool echo = false;                                 // a one-wire cable: what is sent comes back
  std::function<bool(std::size_t index)> echoDrops;  // echo bytes (counted from 0) the cable loses
  std::function<bool(std::string_view settings)> acceptOpen = [](std::string_view) { return true; };
  bool rtsSupported = true;
  std::optional<std::size_t> writeErrorAfter;  // bytes accepted before the device fails
  bool stalled = false;                        // nothing leaves the port any more

  // What crossed the wire from the computer, one entry per open or settings
  // change with its settings.
  struct Session {
    std::string settings;
    std::vector<std::uint8_t> bytes;
    double openedAt = 0;
  };
  std::vector<Session> sessions;
  int opens = 0;  // only the opens, each of which raises the modem lines
  std::vector<std::uint8_t> AllSent() const;
  int rtsMode = -1;
  // The most bytes queued in the port right after a write.
  std::size_t maxOutPending = 0;

  bool Open(const PortId& port, std::string_view settings) override;
  bool ChangeSettings(std::string_view settings) override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  void Write(std::span<const std::uint8_t> bytes) override;
  std::size_t Read(std::uint8_t* buffer, std::size_t maximum) override;
  std::size_t InQueue() const override;
  std::size_t OutPending() const override;
  bool HasWriteError() const override { return writeError_; }
  bool SetRtsControl(int mode) override;

 private:
  double ByteMs() const { return 10000.0 / baud_; }
  // Moves every byte whose time has come across the wire.
  void Advance() const;

  const platform::ManualClock& clock_;
  bool open_ = false;
  int baud_ = 9600;
  bool writeError_ = false;
  std::size_t accepted_ = 0;
  std::size_t echoed_ = 0;
  // Mutable: a query moves the wire forward to now, as time passes on its own.
  mutable std::deque<std::pair<double, std::uint8_t>> outgoing_;
  mutable double outgoingFreeAt_ = 0;
  mutable std::multimap<double, std::uint8_t> incoming_;
  mutable double incomingFreeAt_ = 0;
  mutable std::optional<double> peerTime_;
  mutable std::multimap<double, std::vector<std::uint8_t>> delayed_;
};
