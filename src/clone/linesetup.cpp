#include "clone/linesetup.h"

#include <algorithm>
#include <array>

#include "clone/cloneframe.h"

namespace {

// Bytes dropped after an open before giving up on a line that never falls silent.
constexpr std::size_t kDropAfterOpenLimit = 65535;
// Bytes dropped per step during the echo test.
constexpr std::size_t kDropPerStep = 4096;
constexpr int kEchoProbeSize = 4;

}  // namespace

void LineSetup::Begin(const PortId& port, std::string settings, bool leadPause, bool echoTest) {
  port_ = port;
  settings_ = std::move(settings);
  echoTest_ = echoTest;
  echoFound_ = false;
  retried_ = false;
  phase_ = leadPause ? Phase::kLeadPause : Phase::kReopen;
}

LineSetup::Step LineSetup::Pause(Phase after, std::uint32_t ms) {
  phase_ = after;
  return {Status::kPause, ms};
}

LineSetup::Step LineSetup::Finish(Status status) {
  phase_ = Phase::kIdle;
  return {status, 0};
}

bool LineSetup::DropWaiting(std::size_t limit) {
  std::array<std::uint8_t, 256> scrap;
  for (std::size_t dropped = 0; dropped < limit;) {
    const std::size_t n = line_.Read(scrap.data(), std::min(scrap.size(), limit - dropped));
    if (n == 0) return true;
    dropped += n;
  }
  return line_.InQueue() == 0;
}

LineSetup::Step LineSetup::Advance() {
  switch (phase_) {
  case Phase::kIdle: return {Status::kDone, 0};
  case Phase::kLeadPause:
    // Closing drops what has not left yet.
    if (line_.OutPending() > 0) return {Status::kWaiting, 0};
    return Pause(Phase::kReopen, kLeadPauseMs);
  case Phase::kReopen:
    // The port opens once per operation; later speed changes go to the open
    // port, so the modem lines (many cables draw power or key from them) do
    // not fall and rise at every change.
    if (line_.IsOpen()) {
      if (!line_.ChangeSettings(settings_)) return Finish(Status::kOpenFailed);
    } else if (!line_.Open(port_, settings_)) {
      return Finish(Status::kOpenFailed);
    }
    return Pause(Phase::kDropAfterOpen, kSettlePauseMs);
  case Phase::kDropAfterOpen:
    DropWaiting(kDropAfterOpenLimit);
    if (!echoTest_) return Finish(Status::kDone);
    return Pause(Phase::kEchoPause, kEchoPhaseMs);
  case Phase::kEchoPause:
    watch_.Start(kEchoPhaseMs);
    phase_ = Phase::kEchoDrop;
    [[fallthrough]];
  case Phase::kEchoDrop: {
    if (!DropWaiting(kDropPerStep) && watch_.Remaining() > 0) return {Status::kWorking, 0};
    std::array<std::uint8_t, kEchoProbeSize> probe{};
    probe.fill(cloneframe::kPreamble);
    line_.Write(probe);
    echoesSeen_ = 0;
    watch_.Start(kEchoPhaseMs);
    phase_ = Phase::kEchoListen;
    return {Status::kWorking, 0};
  }
  case Phase::kEchoListen: return EchoListen();
  }
  return Finish(Status::kDone);
}

LineSetup::Step LineSetup::EchoListen() {
  std::uint8_t byte = 0;
  for (int read = 0; echoesSeen_ < kEchoProbeSize && read < 256 && line_.Read(&byte, 1) == 1; ++read) {
    if (byte == cloneframe::kPreamble) ++echoesSeen_;
  }
  if (echoesSeen_ == kEchoProbeSize) {
    echoFound_ = true;
    return Finish(Status::kDone);
  }
  if (watch_.Remaining() > 0) return {Status::kWorking, 0};
  if (echoesSeen_ == 0) {
    echoFound_ = false;
    return Finish(Status::kDone);
  }
  // Some came back: try once more; a second partial echo counts as echo.
  if (!retried_) {
    retried_ = true;
    return Pause(Phase::kEchoPause, kEchoPhaseMs);
  }
  echoFound_ = true;
  return Finish(Status::kDone);
}
