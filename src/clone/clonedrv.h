#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "clone/cloneline.h"
#include "clone/cloneresult.h"
#include "clone/clonescript.h"
#include "clone/frameassembler.h"
#include "clone/imagereceiver.h"
#include "clone/imagesender.h"
#include "clone/linesetup.h"
#include "clone/receivedmap.h"
#include "core/buff.h"
#include "model/eeprom.h"
#include "model/memorymap.h"
#include "platform/clock.h"
#include "runtime/tick.h"

class TaskScheduler;
class cmcTask;

// The clone protocol driver: moves the radio's image over the serial line, one
// operation at a time (information, read or write), as a state machine that
// its task steps every 10 ms. No step waits for the line: pauses while the
// port is opened are pauses of the task. At the end the result record goes to
// the operation's completion callback.
class cmcCloneDrv {
 public:
  // Called once per operation, after the driver is idle again: it may start
  // the next operation, and may take what it wants from the result.
  using Completion = std::function<void(dst_CDrv_Result& result)>;

  static constexpr int kStepMs = 10;

  // States of the machine; the adjustment driver adds its own between them.
  enum State : int {
    kIdle = 0,
    kStart = 2,
    kScript = 3,
    kOpenLine = 4,
    kSendInformationRequest = 5,
    kAwaitInformation = 6,
    kSendReadRequest = 7,
    kReceiveRecords = 8,
    kSendWriteRequest = 9,
    kAwaitFirstGoOn = 10,
    kSendRecords = 11,
    kAwaitGoOn = 12,
    kSendEndOfData = 13,
    kAwaitConfirmation = 14,
    kFinishing = 22,
    kComplete = 23,
  };

  // The scheduler and clock must outlive the driver. Without a line the
  // driver talks through a cmcComm of its own.
  explicit cmcCloneDrv(TaskScheduler& scheduler, const platform::Clock& clock = platform::SystemClock(),
                       std::unique_ptr<CloneLine> line = nullptr);
  virtual ~cmcCloneDrv();
  cmcCloneDrv(const cmcCloneDrv&) = delete;
  cmcCloneDrv& operator=(const cmcCloneDrv&) = delete;

  // Configuration, taken only while idle.
  void SetFrameParameters(std::uint16_t a, std::uint16_t b);
  void SetPort(int number, std::string_view settings);
  // A device path in place of the port number.
  void SetPortPath(std::string_view devicePath, std::string_view settings);
  // 1 to 65536 bytes; records beyond it are refused.
  void SetImageSize(int size);
  void SetRequestPreamble(int count);
  void SetDataPreamble(int count) { SetDataPreamble(count, count); }
  void SetDataPreamble(int later, int first);
  void SetScript(std::string_view text);
  void SetEndCount(bool on);
  void SetEcho(bool on);
  void SetEchoTest(bool on);
  void SetWaitAfterWriteRequest(bool on);
  // Pause for the go-on byte whenever address mod interval = offset; a value
  // of 0 or less keeps the old one.
  void SetFlowControl(int interval, int offset);
  // The default time limit and the wait for the first go-on byte; 0 or less
  // keeps the old value.
  void SetTimeout(int ms);
  void SetWriteRequestTimeout(int ms);
  // Passed to the port. A device without modem lines ignores it; that never
  // fails an operation.
  void SetRtsControl(int mode);
  bool Echo() const { return echo_; }
  // Why the port of the last operation did not open (its result code 2).
  platform::SerialOpenFailure LastOpenFailure() const { return line_->LastOpenFailure(); }

  // Each returns false, doing nothing, while an operation runs. Ranges are
  // inclusive (first, last) pairs, ending at the list's end or at the first
  // pair whose last is below its first; the driver keeps its own copy.
  bool StartInformation(Completion done);
  bool StartRead(std::span<const memmap::AddressRange> ranges, Completion done);
  // The image is copied at the start; the caller's may change afterwards.
  bool StartWrite(const cmcEeprom& image, std::span<const memmap::AddressRange> ranges, Completion done);
  bool IsBusy() const { return state_ != kIdle; }
  // Ends the running operation at once with kCancelled: the line is closed and
  // the completion called before this returns. Nothing while idle.
  void Cancel();

  // Image bytes in accepted or sent records: the progress of a transfer.
  int DataBytesMoved() const { return dataBytesMoved_; }
  // Every byte read from and handed to the line.
  long long BytesMoved() const { return bytesMoved_; }
  int FrameCount() const { return frameCount_; }

 protected:
  // The next state for a state outside the base set; may clear `progress`.
  virtual int ExtraState(int state, bool& progress);
  // The first protocol state of a kind other than information, read and write.
  virtual int FirstState(CloneKind kind);

  // Starts an operation of the kind with its task stepping every intervalMs.
  bool Start(CloneKind kind, Completion done, int intervalMs = kStepMs);
  CloneKind Kind() const { return kind_; }
  dst_CDrv_Result& Result() { return *result_; }
  cmcTask& Task() { return *task_; }
  // Sends bytes, keeping them for the echo check while the echo flag is on.
  void Send(std::span<const std::uint8_t> bytes);
  // Reads the line and gathers frames: every frame that ended, in order. A
  // frame that outgrew its limit ends the call as the frame 00, which no
  // check accepts.
  std::vector<std::vector<std::uint8_t>> ReceiveFrames();
  // The last of them, if any.
  std::optional<std::vector<std::uint8_t>> ReceiveFrame();
  // Sets the result code; the state to go to.
  int EndWith(CloneCode code);
  // The state returned by the running state is run in this same step.
  void RunAtOnce() { runAtOnce_ = true; }
  std::uint16_t FrameA() const { return frameA_; }
  std::uint16_t FrameB() const { return frameB_; }

 private:
  void Step();
  // Step 3: compares what came back with what was sent. Whether the state may
  // run; `next` and `progress` as the check decides.
  bool CheckEcho(int& next, bool& progress);
  int RunStates(bool& progress);
  int RunState(int state, bool& progress);
  std::uint32_t TimeLimitOf(int state) const;
  void OnNoProgress(int& next);
  // Reads at most one block from the line into the receive buffer.
  void ReadLine();
  void Complete();

  int RunScript(bool& progress);
  int OpenLine(bool& progress);
  int TakeSetupStep(LineSetup::Step step, bool& progress);
  int SendRequest(cloneframe::Command command, int next);
  int AwaitInformation(bool& progress);
  int ReceiveRecords(bool& progress);
  int AwaitGoOn(bool& progress);
  int SendRecords(bool& progress);
  int SendEndOfData();
  int AwaitConfirmation(bool& progress);
  int Finishing(bool& progress);

  std::unique_ptr<CloneLine> line_;
  LineSetup setup_;

  // Configuration.
  std::uint16_t frameA_ = 0;
  std::uint16_t frameB_ = 0;
  int imageSize_ = 1;
  PortId port_;
  PortId lastPort_;
  std::string settings_ = "9600,n,8,1";
  int requestPreamble_ = 0;
  int laterDataPreamble_ = 0;
  int firstDataPreamble_ = 0;
  CloneScript script_;
  bool endCount_ = true;
  bool echoTest_ = true;
  bool waitAfterWriteRequest_ = false;
  ImageSender::FlowControl flow_;
  std::uint32_t timeoutMs_ = 1000;
  std::uint32_t writeRequestTimeoutMs_ = 1000;
  bool echo_ = false;

  // The running operation.
  CloneKind kind_ = CloneKind::kNone;
  int state_ = kIdle;
  std::unique_ptr<dst_CDrv_Result> result_;
  Completion completion_;
  receivedmap::Ranges ranges_;
  std::optional<ImageReceiver> receiver_;
  ImageSender sender_;
  cmcBuff receive_;
  cmcBuff echoBuffer_;
  FrameAssembler frames_;
  int frameCount_ = 0;
  long long bytesMoved_ = 0;
  int dataBytesMoved_ = 0;
  bool runAtOnce_ = false;
  cmcTick stopwatch_;
  cmcTask* task_;
};
