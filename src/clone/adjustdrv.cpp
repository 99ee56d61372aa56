#include "clone/adjustdrv.h"

#include <algorithm>

#include "clone/cloneframe.h"
#include "model/memorymap.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/task.h"

namespace {

constexpr int kCommandStepMs = 4;
constexpr int kSlowCommandStepMs = 250;
constexpr std::uint32_t kTablePauseMs = 50;

// Sweep commands: a filter setting (one filter, or all), and the level read.
constexpr std::uint8_t kSetOneFilter = 19;
constexpr std::uint8_t kSetAllFilters = 20;
constexpr std::uint8_t kReadLevel = 3;
constexpr std::uint8_t kReadLevelValue = 4;

// FE EF EE E8, model code (2), three bytes, the value's two digits.
constexpr std::size_t kReplySize = 11;
constexpr std::size_t kReplyValueAt = 9;

std::optional<std::uint8_t> UpperHexDigit(std::uint8_t c) {
  if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
  return std::nullopt;
}

}  // namespace

imcCloneDrv::imcCloneDrv(TaskScheduler& scheduler, cmcEvMan& events, AdjustmentHost& host, const platform::Clock& clock,
                         std::unique_ptr<CloneLine> line)
    : cmcCloneDrv(scheduler, clock, std::move(line)), events_(events), host_(host), pause_(clock) {}

void imcCloneDrv::SetCommand(std::uint8_t command, std::uint8_t value, std::uint8_t* destination) {
  command_ = command;
  value_ = value;
  destination_ = destination;
  newCommand_ = true;
}

void imcCloneDrv::SetCommandTable(std::span<const AdjustEntry> entries) {
  table_.clear();
  for (const AdjustEntry& entry : entries) {
    if (entry.command == kEndOfTable || table_.size() + 1 == kMaxTableEntries) break;
    table_.push_back(entry);
  }
  table_.push_back(AdjustEntry{kEndOfTable});
  newCommand_ = true;
}

bool imcCloneDrv::StartCommand(Completion done) {
  const int interval = host_.AdjustState() == kSlowCommandState ? kSlowCommandStepMs : kCommandStepMs;
  return Start(CloneKind::kAdjustCommand, std::move(done), interval);
}

bool imcCloneDrv::StartTable(Completion done) {
  if (!Start(CloneKind::kAdjustTable, std::move(done))) return false;
  nextEntry_ = 0;
  return true;
}

bool imcCloneDrv::StartFilterSweep(Completion done) {
  if (!Start(CloneKind::kFilterSweep, std::move(done))) return false;
  const AdjustmentHost::SweepLimits limits = host_.FilterSweepLimits();
  sweepMinimum_ = std::clamp(limits.minimum, 0, 255);
  sweepMaximum_ = std::clamp(limits.maximum, 0, 255);
  sweepStep_ = std::clamp(limits.step, 1, 255);
  setting_ = sweepMinimum_;
  level_ = 0;
  settingPhase_ = true;
  firstPause_ = true;
  best_[host_.Selector() != 0 ? 1 : 0] = SweepBest{};
  return true;
}

int imcCloneDrv::FirstState(CloneKind kind) {
  switch (kind) {
  case CloneKind::kAdjustCommand: return kSendCommand;
  case CloneKind::kAdjustTable: return kTableEntry;
  case CloneKind::kFilterSweep: return kSweepCommand;
  default: return cmcCloneDrv::FirstState(kind);
  }
}

int imcCloneDrv::ExtraState(int state, bool& progress) {
  switch (state) {
  case kSweepCommand: return SweepCommand();
  case kTableEntry: return TableEntry();
  case kSendCommand: return SendCommand();
  case kAwaitReply: return AwaitReply(progress);
  case kPauseAfterCommand: return PauseAfterCommand();
  case kSweepStepDone: return SweepStepDone();
  default: return kIdle;
  }
}

int imcCloneDrv::SweepCommand() {
  if (settingPhase_) {
    command_ = host_.Selector() != 0 ? kSetAllFilters : kSetOneFilter;
    value_ = static_cast<std::uint8_t>(setting_);
    destination_ = nullptr;
  } else {
    command_ = kReadLevel;
    value_ = kReadLevelValue;
    destination_ = &level_;
  }
  settingPhase_ = !settingPhase_;
  RunAtOnce();
  return kSendCommand;
}

int imcCloneDrv::TableEntry() {
  const AdjustEntry& entry = table_[std::min(nextEntry_, table_.size() - 1)];
  if (entry.command == kEndOfTable) return EndWith(CloneCode::kSuccess);
  ++nextEntry_;
  command_ = entry.command;
  value_ = entry.value ? *entry.value : 0;
  destination_ = entry.destination;
  return kSendCommand;
}

int imcCloneDrv::SendCommand() {
  const cmcBuff frame = cloneframe::AdjustCommand(FrameA(), FrameB(), command_, value_);
  Send(frame.Bytes());
  newCommand_ = false;
  if (destination_) return kAwaitReply;
  switch (Kind()) {
  case CloneKind::kFilterSweep:
    pause_.Start(static_cast<std::uint32_t>(std::max(0, host_.FilterSweepPauseMs(firstPause_))));
    firstPause_ = false;
    return kPauseAfterCommand;
  case CloneKind::kAdjustTable: pause_.Start(kTablePauseMs); return kPauseAfterCommand;
  default: return EndWith(CloneCode::kSuccess);
  }
}

bool imcCloneDrv::TakeReply(const std::vector<std::uint8_t>& frame) {
  if (frame.size() < kReplySize ||
      !std::equal(std::begin(cloneframe::kFromRadio), std::end(cloneframe::kFromRadio), frame.begin())) {
    return false;
  }
  if (frame[cloneframe::kCommandIndex] != static_cast<std::uint8_t>(cloneframe::Command::kAdjust)) return false;
  const int model = frame[4] << 8 | frame[5];
  if (!memmap::IsModelCode(model)) {
    return false;
  }
  const std::optional<std::uint8_t> high = UpperHexDigit(frame[kReplyValueAt]);
  const std::optional<std::uint8_t> low = UpperHexDigit(frame[kReplyValueAt + 1]);
  // Digits that are not hexadecimal leave the destination as it was.
  if (high && low) *destination_ = static_cast<std::uint8_t>(*high << 4 | *low);
  return true;
}

int imcCloneDrv::AwaitReply(bool& progress) {
  const std::vector<std::vector<std::uint8_t>> frames = ReceiveFrames();
  const bool replied = std::any_of(frames.begin(), frames.end(), [this](const auto& f) { return TakeReply(f); });
  if (!replied) {
    progress = false;
    return kAwaitReply;
  }
  switch (Kind()) {
  case CloneKind::kFilterSweep: RunAtOnce(); return kSweepStepDone;
  case CloneKind::kAdjustTable: return kTableEntry;
  default: return EndWith(CloneCode::kSuccess);
  }
}

int imcCloneDrv::PauseAfterCommand() {
  if (pause_.Remaining() > 0) return kPauseAfterCommand;
  if (Kind() == CloneKind::kFilterSweep) {
    RunAtOnce();
    return kSweepCommand;
  }
  return kTableEntry;
}

int imcCloneDrv::SweepStepDone() {
  const bool allFilters = host_.Selector() != 0;
  SweepBest& best = best_[allFilters ? 1 : 0];
  if (level_ >= best.level) {
    best.lastSetting = setting_;
    if (level_ > best.level) {
      best.firstSetting = setting_;
      best.level = level_;
    }
  }
  host_.StoreAdjustmentByte(allFilters ? kSweepByteAllFilters : kSweepByteOneFilter,
                            static_cast<std::uint8_t>(setting_));
  events_.Post(ev::kAdjustRefresh, nullptr, 0);
  if (setting_ >= sweepMaximum_) return EndWith(CloneCode::kSuccess);
  setting_ = std::min(setting_ + sweepStep_, sweepMaximum_);
  RunAtOnce();
  return kSweepCommand;
}
