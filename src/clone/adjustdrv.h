#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "clone/clonedrv.h"
#include "runtime/tick.h"

class cmcEvMan;

// What the adjustment driver asks of the controller that runs an adjustment.
class AdjustmentHost {
 public:
  struct SweepLimits {
    int minimum = 0;
    int maximum = 0;
    int step = 1;
  };

  virtual ~AdjustmentHost() = default;
  // The adjustment selector: 0 adjusts one filter, any other value all of them.
  virtual int Selector() const = 0;
  // The controller's adjustment state; while it is kSlowCommandState single
  // commands go out every 250 ms.
  virtual int AdjustState() const = 0;
  // The filter-sweep limits and pauses its overlay gives for the current
  // selector and state, as they stand; the driver clamps them.
  virtual SweepLimits FilterSweepLimits() = 0;
  virtual int FilterSweepPauseMs(bool first) = 0;
  // Keeps a sweep setting in the adjustment data.
  virtual void StoreAdjustmentByte(int index, std::uint8_t value) = 0;
};

// One entry of a command table: the command, where its value is read when
// the entry runs (none: 0) and where the radio's reply goes (none: no reply is
// awaited). Command kEndOfTable ends the table.
struct AdjustEntry {
  std::uint8_t command = 0;
  const std::uint8_t* value = nullptr;
  std::uint8_t* destination = nullptr;
};

// The adjustment driver: the clone driver with the radio's alignment commands
// as three more kinds of operation: one command, a table of commands, and the
// band-pass filter sweep.
class imcCloneDrv : public cmcCloneDrv {
 public:
  static constexpr std::uint8_t kEndOfTable = 255;
  static constexpr std::size_t kMaxTableEntries = 49;
  static constexpr int kSlowCommandState = 15;
  // The bytes of the adjustment data that keep the sweep's setting.
  static constexpr int kSweepByteOneFilter = 84;
  static constexpr int kSweepByteAllFilters = 85;

  // The best level a sweep found for one selector mode, with the first and
  // last setting that gave it.
  struct SweepBest {
    int level = -1;
    int firstSetting = 0;
    int lastSetting = 0;
  };

  // The event manager and the host must outlive the driver.
  imcCloneDrv(TaskScheduler& scheduler, cmcEvMan& events, AdjustmentHost& host,
              const platform::Clock& clock = platform::SystemClock(), std::unique_ptr<CloneLine> line = nullptr);

  // The single command; the destination (may be null) takes the radio's reply.
  void SetCommand(std::uint8_t command, std::uint8_t value, std::uint8_t* destination);
  bool HasNewCommand() const { return newCommand_; }
  // Copies the entries up to the first kEndOfTable (always ending the copy
  // with one), at most kMaxTableEntries in all.
  void SetCommandTable(std::span<const AdjustEntry> entries);

  bool StartCommand(Completion done);
  bool StartTable(Completion done);
  bool StartFilterSweep(Completion done);

  // Selector mode 0 or any other.
  const SweepBest& Best(bool allFilters) const { return best_[allFilters ? 1 : 0]; }

 protected:
  int ExtraState(int state, bool& progress) override;
  int FirstState(CloneKind kind) override;

 private:
  enum AdjustState : int {
    kSweepCommand = 15,
    kTableEntry = 16,
    kSendCommand = 18,
    kAwaitReply = 19,
    kPauseAfterCommand = 20,
    kSweepStepDone = 21,
  };

  int SweepCommand();
  int TableEntry();
  int SendCommand();
  int AwaitReply(bool& progress);
  int PauseAfterCommand();
  int SweepStepDone();
  // Whether a frame is a reply from one of the radios; the value into the
  // destination when its digits are good.
  bool TakeReply(const std::vector<std::uint8_t>& frame);

  cmcEvMan& events_;
  AdjustmentHost& host_;
  cmcTick pause_;

  std::uint8_t command_ = 0;
  std::uint8_t value_ = 0;
  std::uint8_t* destination_ = nullptr;
  bool newCommand_ = false;

  std::vector<AdjustEntry> table_ = {AdjustEntry{kEndOfTable}};
  std::size_t nextEntry_ = 0;

  int sweepMinimum_ = 0;
  int sweepMaximum_ = 0;
  int sweepStep_ = 1;
  int setting_ = 0;
  std::uint8_t level_ = 0;
  bool settingPhase_ = true;
  bool firstPause_ = true;
  std::array<SweepBest, 2> best_;
};
