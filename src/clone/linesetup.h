#pragma once

#include <cstdint>
#include <string>

#include "clone/cloneline.h"
#include "platform/clock.h"
#include "runtime/tick.h"

// Opening the line for a transfer, cut into short steps so that no step waits:
// an optional lead pause (300 ms, after the output has left), the settings
// (opening the port when it is closed, else changing the open port's), a 100 ms pause, dropping whatever waits, and
// optionally the echo test of the cable. The caller turns each kPause into a pause of its task and calls Advance again
// when the pause is over.
class LineSetup {
 public:
  static constexpr std::uint32_t kLeadPauseMs = 300;
  static constexpr std::uint32_t kSettlePauseMs = 100;
  static constexpr std::uint32_t kEchoPhaseMs = 100;

  enum class Status {
    kWorking,     // stepped on; call again at the next step
    kWaiting,     // output still leaving before the lead pause: no progress
    kPause,       // pause for pauseMs, then call again
    kDone,        // the line is open (and tested)
    kOpenFailed,  // the port did not open
  };
  struct Step {
    Status status = Status::kWorking;
    std::uint32_t pauseMs = 0;
  };

  LineSetup(CloneLine& line, const platform::Clock& clock) : line_(line), watch_(clock) {}

  void Begin(const PortId& port, std::string settings, bool leadPause, bool echoTest);
  bool IsActive() const { return phase_ != Phase::kIdle; }
  // Forgets a sequence under way.
  void Reset() { phase_ = Phase::kIdle; }
  Step Advance();
  // The outcome of the echo test: the cable echoes what is sent.
  bool EchoFound() const { return echoFound_; }

 private:
  enum class Phase { kIdle, kLeadPause, kReopen, kDropAfterOpen, kEchoPause, kEchoDrop, kEchoListen };

  Step Pause(Phase after, std::uint32_t ms);
  Step Finish(Status status);
  // Drops at most `limit` waiting bytes; whether nothing is left waiting.
  bool DropWaiting(std::size_t limit);
  Step EchoListen();

  CloneLine& line_;
  cmcTick watch_;
  Phase phase_ = Phase::kIdle;
  PortId port_;
  std::string settings_;
  bool echoTest_ = false;
  bool echoFound_ = false;
  bool retried_ = false;
  int echoesSeen_ = 0;
};
