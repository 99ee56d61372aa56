#include "clone/clonedrv.h"

#include <algorithm>
#include <array>

#include "clone/cloneframe.h"
#include "clone/framecheck.h"
#include "runtime/task.h"
#include "runtime/taskscheduler.h"

namespace {

// One read from the line per call.
constexpr std::size_t kReadBlock = 256;
// Bytes read and not yet consumed are not read beyond this.
constexpr std::size_t kReceiveLimit = 4096;
// While records are sent, this many echo bytes may be outstanding.
constexpr std::size_t kEchoAllowanceWhileSending = 128;
constexpr int kRecordsPerStep = 8;
// Records are handed over only while the line holds at most this many times
// their size.
constexpr std::size_t kPacingFactor = 4;
constexpr int kMaxPreamble = 255;
constexpr int kMaxImageSize = 0x10000;
// States that run at once after the one before, in one step.
constexpr int kMaxChainedStates = 8;

constexpr std::uint32_t kScriptLimitMs = 1000;
constexpr std::uint32_t kInformationLimitMs = 1000;
constexpr std::uint32_t kConfirmationLimitMs = 2000;

}  // namespace

cmcCloneDrv::cmcCloneDrv(TaskScheduler& scheduler, const platform::Clock& clock, std::unique_ptr<CloneLine> line)
    : line_(line ? std::move(line) : std::make_unique<CommLine>(scheduler)),
      setup_(*line_, clock),
      stopwatch_(clock),
      task_(scheduler.NewTask()) {
  task_->SetCallback([this](cmcTask&) { Step(); });
}

cmcCloneDrv::~cmcCloneDrv() {
  task_->Stop();
  task_->Release();
}

void cmcCloneDrv::SetFrameParameters(std::uint16_t a, std::uint16_t b) {
  if (IsBusy()) return;
  frameA_ = a;
  frameB_ = b;
}

void cmcCloneDrv::SetPort(int number, std::string_view settings) {
  if (IsBusy()) return;
  port_ = PortId{number, {}};
  settings_ = settings;
}

void cmcCloneDrv::SetPortPath(std::string_view devicePath, std::string_view settings) {
  if (IsBusy()) return;
  port_ = PortId{0, std::string(devicePath)};
  settings_ = settings;
}

void cmcCloneDrv::SetImageSize(int size) {
  if (!IsBusy()) imageSize_ = std::clamp(size, 1, kMaxImageSize);
}

void cmcCloneDrv::SetRequestPreamble(int count) {
  if (!IsBusy()) requestPreamble_ = std::clamp(count, 0, kMaxPreamble);
}

void cmcCloneDrv::SetDataPreamble(int later, int first) {
  if (IsBusy()) return;
  laterDataPreamble_ = std::clamp(later, 0, kMaxPreamble);
  firstDataPreamble_ = std::clamp(first, 0, kMaxPreamble);
}

void cmcCloneDrv::SetScript(std::string_view text) {
  if (!IsBusy()) script_.Set(text);
}

void cmcCloneDrv::SetEndCount(bool on) {
  if (!IsBusy()) endCount_ = on;
}

void cmcCloneDrv::SetEcho(bool on) {
  if (!IsBusy()) echo_ = on;
}

void cmcCloneDrv::SetEchoTest(bool on) {
  if (!IsBusy()) echoTest_ = on;
}

void cmcCloneDrv::SetWaitAfterWriteRequest(bool on) {
  if (!IsBusy()) waitAfterWriteRequest_ = on;
}

void cmcCloneDrv::SetFlowControl(int interval, int offset) {
  if (IsBusy()) return;
  if (interval > 0) flow_.interval = interval;
  if (offset > 0) flow_.offset = offset;
}

void cmcCloneDrv::SetTimeout(int ms) {
  if (!IsBusy() && ms > 0) timeoutMs_ = static_cast<std::uint32_t>(ms);
}

void cmcCloneDrv::SetWriteRequestTimeout(int ms) {
  if (!IsBusy() && ms > 0) writeRequestTimeoutMs_ = static_cast<std::uint32_t>(ms);
}

void cmcCloneDrv::SetRtsControl(int mode) {
  // A device without modem lines refuses; the transfer runs all the same.
  line_->SetRtsControl(mode);
}

bool cmcCloneDrv::StartInformation(Completion done) { return Start(CloneKind::kInformation, std::move(done)); }

bool cmcCloneDrv::StartRead(std::span<const memmap::AddressRange> ranges, Completion done) {
  if (!Start(CloneKind::kRead, std::move(done))) return false;
  ranges_ = receivedmap::ActiveRanges(ranges);
  return true;
}

bool cmcCloneDrv::StartWrite(const cmcEeprom& image, std::span<const memmap::AddressRange> ranges, Completion done) {
  if (!Start(CloneKind::kWrite, std::move(done))) return false;
  const int copied = std::min(image.Size(), result_->image.Size());
  result_->image.WriteBlock(0, image.Data(), copied);
  ranges_ = receivedmap::ActiveRanges(ranges);
  sender_.Begin(ranges_, firstDataPreamble_, laterDataPreamble_, flow_);
  return true;
}

bool cmcCloneDrv::Start(CloneKind kind, Completion done, int intervalMs) {
  if (IsBusy()) return false;
  result_ = std::make_unique<dst_CDrv_Result>();
  result_->kind = kind;
  result_->code = CloneCode::kPortNotOpen;
  result_->a = frameA_;
  result_->b = frameB_;
  result_->image.Resize(imageSize_);
  completion_ = std::move(done);
  kind_ = kind;
  ranges_.clear();
  frameCount_ = 0;
  bytesMoved_ = 0;
  dataBytesMoved_ = 0;
  receive_.Clear();
  echoBuffer_.Clear();
  frames_.Clear();
  setup_.Reset();
  receiver_.reset();
  state_ = kStart;
  stopwatch_.Start(timeoutMs_);
  task_->SetInterval(intervalMs);
  return true;
}

int cmcCloneDrv::ExtraState(int, bool&) { return kIdle; }

int cmcCloneDrv::FirstState(CloneKind) { return kSendInformationRequest; }

void cmcCloneDrv::Send(std::span<const std::uint8_t> bytes) {
  line_->Write(bytes);
  bytesMoved_ += static_cast<long long>(bytes.size());
  if (echo_) echoBuffer_.Append(bytes);
}

void cmcCloneDrv::ReadLine() {
  if (receive_.Length() >= kReceiveLimit) return;
  std::array<std::uint8_t, kReadBlock> block;
  const std::size_t n = line_->Read(block.data(), block.size());
  receive_.Append({block.data(), n});
  bytesMoved_ += static_cast<long long>(n);
}

std::vector<std::vector<std::uint8_t>> cmcCloneDrv::ReceiveFrames() {
  ReadLine();
  std::vector<std::vector<std::uint8_t>> frames;
  for (int byte = receive_.PopFront(); byte >= 0; byte = receive_.PopFront()) {
    switch (frames_.Push(static_cast<std::uint8_t>(byte))) {
    case FrameAssembler::Event::kNone: break;
    case FrameAssembler::Event::kFrame: frames.emplace_back(frames_.Frame().begin(), frames_.Frame().end()); break;
    case FrameAssembler::Event::kOverlong: frames.push_back({0x00}); return frames;
    }
  }
  return frames;
}

std::optional<std::vector<std::uint8_t>> cmcCloneDrv::ReceiveFrame() {
  std::vector<std::vector<std::uint8_t>> frames = ReceiveFrames();
  if (frames.empty()) return std::nullopt;
  return std::move(frames.back());
}

int cmcCloneDrv::EndWith(CloneCode code) {
  result_->code = code;
  return kFinishing;
}

void cmcCloneDrv::Step() {
  if (state_ == kIdle) return;
  const bool timedOut = stopwatch_.Remaining() == 0;
  bool progress = true;
  int next = state_ + 1;
  if (port_ != lastPort_) {
    lastPort_ = port_;
    echo_ = false;
  }
  if (CheckEcho(next, progress)) next = RunStates(progress);
  if (next != state_) progress = true;
  if (progress) {
    stopwatch_.Start(TimeLimitOf(next));
  } else if (timedOut) {
    OnNoProgress(next);
  }
  state_ = next;
  if (line_->HasWriteError()) {
    result_->code = CloneCode::kPortWriteError;
    state_ = kComplete;
  }
  // Last: the completion may start the next operation.
  if (state_ == kComplete) Complete();
}

bool cmcCloneDrv::CheckEcho(int& next, bool& progress) {
  if (!echo_) {
    echoBuffer_.Clear();
    return true;
  }
  if (state_ == kFinishing || echoBuffer_.Length() == 0) return true;
  progress = false;
  ReadLine();
  while (echoBuffer_.Length() > 0 && receive_.Length() > 0) {
    if (echoBuffer_.Data()[0] != receive_.Data()[0]) {
      next = EndWith(CloneCode::kEchoMismatch);
      return false;
    }
    echoBuffer_.PopFront();
    receive_.PopFront();
    progress = true;
  }
  const std::size_t allowed = state_ == kSendRecords ? kEchoAllowanceWhileSending : 0;
  if (echoBuffer_.Length() > allowed) {
    next = state_;
    return false;
  }
  return true;
}

int cmcCloneDrv::RunStates(bool& progress) {
  for (int chained = 0;; ++chained) {
    runAtOnce_ = false;
    int next = RunState(state_, progress);
    // A state that knows no way on ends the operation; the callback still comes.
    if (next == kIdle) next = kFinishing;
    if (!runAtOnce_ || next == state_ || chained == kMaxChainedStates) return next;
    state_ = next;
    progress = true;
  }
}

int cmcCloneDrv::RunState(int state, bool& progress) {
  using cloneframe::Command;
  switch (state) {
  case kStart: return kScript;
  case kScript: return RunScript(progress);
  case kOpenLine: return OpenLine(progress);
  case kSendInformationRequest: return SendRequest(Command::kInformationRequest, kAwaitInformation);
  case kAwaitInformation: return AwaitInformation(progress);
  case kSendReadRequest:
    receiver_.emplace(result_->image, result_->receivedMap, imageSize_, endCount_);
    return SendRequest(Command::kReadRequest, kReceiveRecords);
  case kReceiveRecords: return ReceiveRecords(progress);
  case kSendWriteRequest:
    return SendRequest(Command::kWriteRequest, waitAfterWriteRequest_ ? kAwaitFirstGoOn : kSendRecords);
  case kAwaitFirstGoOn:
  case kAwaitGoOn: return AwaitGoOn(progress);
  case kSendRecords: return SendRecords(progress);
  case kSendEndOfData: return SendEndOfData();
  case kAwaitConfirmation: return AwaitConfirmation(progress);
  case kFinishing: return Finishing(progress);
  default: return ExtraState(state, progress);
  }
}

std::uint32_t cmcCloneDrv::TimeLimitOf(int state) const {
  switch (state) {
  case kScript: return script_.Empty() && !setup_.IsActive() ? timeoutMs_ : kScriptLimitMs;
  case kAwaitInformation: return kInformationLimitMs;
  case kAwaitFirstGoOn: return writeRequestTimeoutMs_;
  case kAwaitConfirmation: return kConfirmationLimitMs;
  default: return timeoutMs_;
  }
}

void cmcCloneDrv::OnNoProgress(int& next) {
  if (state_ == kFinishing) {
    // Output that never leaves: closing the port drops it. An error found
    // before stays the result.
    if (result_->code == CloneCode::kSuccess) result_->code = CloneCode::kTimeout;
    next = kComplete;
    return;
  }
  next = EndWith(echo_ && echoBuffer_.Length() > 0 ? CloneCode::kEchoMismatch : CloneCode::kTimeout);
}

void cmcCloneDrv::Cancel() {
  if (!IsBusy()) return;
  result_->code = CloneCode::kCancelled;
  Complete();
}

void cmcCloneDrv::Complete() {
  // Everything is put away before the callback, which may start the next
  // operation or destroy the driver: nothing of the driver is touched after it.
  std::unique_ptr<dst_CDrv_Result> result = std::move(result_);
  Completion done = std::move(completion_);
  completion_ = nullptr;
  line_->Close();
  receiver_.reset();
  sender_.Begin({}, 0, 0, {});
  ranges_.clear();
  receive_.Clear();
  echoBuffer_.Clear();
  frames_.Clear();
  setup_.Reset();
  task_->SetInterval(-1);
  kind_ = CloneKind::kNone;
  state_ = kIdle;
  if (done) done(*result);
}

int cmcCloneDrv::RunScript(bool& progress) {
  if (!setup_.IsActive()) {
    std::optional<CloneScript::Segment> segment = script_.TakeSegment();
    if (!segment) {
      if (line_->OutPending() == 0) return kOpenLine;
      progress = false;
      return kScript;
    }
    if (segment->kind == CloneScript::Segment::Kind::kBytes) {
      Send(segment->bytes.Bytes());
      return kScript;
    }
    setup_.Begin(port_, segment->settings, /*leadPause=*/true, /*echoTest=*/false);
  }
  const LineSetup::Step step = setup_.Advance();
  if (step.status == LineSetup::Status::kOpenFailed) {
    script_.Clear();
    return EndWith(CloneCode::kPortNotOpen);
  }
  return TakeSetupStep(step, progress);
}

int cmcCloneDrv::OpenLine(bool& progress) {
  if (!setup_.IsActive()) {
    // The echo test runs with the echo flag off.
    if (echoTest_) echo_ = false;
    setup_.Begin(port_, settings_, /*leadPause=*/false, echoTest_);
  }
  const LineSetup::Step step = setup_.Advance();
  switch (step.status) {
  case LineSetup::Status::kOpenFailed: return EndWith(CloneCode::kPortNotOpen);
  case LineSetup::Status::kDone:
    if (echoTest_) echo_ = setup_.EchoFound();
    switch (kind_) {
    case CloneKind::kInformation: return kSendInformationRequest;
    case CloneKind::kRead: return kSendReadRequest;
    case CloneKind::kWrite: return kSendWriteRequest;
    default: return FirstState(kind_);
    }
  default: return TakeSetupStep(step, progress);
  }
}

int cmcCloneDrv::TakeSetupStep(LineSetup::Step step, bool& progress) {
  switch (step.status) {
  case LineSetup::Status::kPause: task_->Pause(step.pauseMs); break;
  case LineSetup::Status::kWaiting: progress = false; break;
  default: break;
  }
  return state_;
}

int cmcCloneDrv::SendRequest(cloneframe::Command command, int next) {
  const cmcBuff frame = cloneframe::Request(command, frameA_, frameB_, requestPreamble_);
  Send(frame.Bytes());
  frames_.Clear();
  return next;
}

int cmcCloneDrv::AwaitInformation(bool& progress) {
  const std::optional<std::vector<std::uint8_t>> frame = ReceiveFrame();
  if (!frame) {
    progress = false;
    return kAwaitInformation;
  }
  framecheck::InformationReply reply;
  const CloneCode code = framecheck::DecodeInformationReply(*frame, reply);
  if (code == CloneCode::kSuccess) {
    result_->a = reply.a;
    result_->b = reply.b;
    result_->identification.Assign(reply.identification);
  }
  return EndWith(code);
}

int cmcCloneDrv::ReceiveRecords(bool& progress) {
  progress = false;
  ReadLine();
  const ImageReceiver::Outcome outcome = receiver_->Take(receive_, frameCount_);
  dataBytesMoved_ += outcome.dataBytes;
  if (outcome.records > 0) progress = true;
  if (!outcome.end) return kReceiveRecords;
  CloneCode code = *outcome.end;
  if (code == CloneCode::kSuccess && !ranges_.empty()) code = receivedmap::Coverage(result_->receivedMap, ranges_);
  return EndWith(code);
}

int cmcCloneDrv::AwaitGoOn(bool& progress) {
  progress = false;
  ReadLine();
  // Other bytes are line noise: dropped, so that noise before the go-on byte
  // costs no step.
  for (int byte = receive_.PopFront(); byte >= 0; byte = receive_.PopFront()) {
    if (byte == cloneframe::kGoOn) {
      progress = true;
      RunAtOnce();
      return kSendRecords;
    }
    if (byte == cloneframe::kRefuse) return EndWith(CloneCode::kBadFrame);
  }
  return state_;
}

int cmcCloneDrv::SendRecords(bool& progress) {
  progress = false;
  for (int pass = 0; pass < kRecordsPerStep; ++pass) {
    if (!sender_.HasWaiting()) {
      switch (sender_.BuildNext(result_->image)) {
      case ImageSender::Build::kEnd: return line_->OutPending() == 0 ? kSendEndOfData : kSendRecords;
      case ImageSender::Build::kOutsideImage: return EndWith(CloneCode::kAddressOutside);
      case ImageSender::Build::kBuilt: break;
      }
      ++frameCount_;
      dataBytesMoved_ += sender_.LastLength();
    }
    // Pacing: the record waits while the line still holds much more than it.
    if (line_->OutPending() > kPacingFactor * sender_.Waiting().Length()) return kSendRecords;
    Send(sender_.Waiting().Bytes());
    progress = true;
    // The go-on wait starts only once the record that reaches the point has gone.
    if (sender_.Handed()) return kAwaitGoOn;
  }
  return kSendRecords;
}

int cmcCloneDrv::SendEndOfData() {
  const cmcBuff frame = cloneframe::EndOfData(endCount_ ? std::optional<int>(frameCount_) : std::nullopt);
  Send(frame.Bytes());
  frames_.Clear();
  return kAwaitConfirmation;
}

int cmcCloneDrv::AwaitConfirmation(bool& progress) {
  const std::optional<std::vector<std::uint8_t>> frame = ReceiveFrame();
  if (!frame) {
    progress = false;
    return kAwaitConfirmation;
  }
  return EndWith(framecheck::IsWriteConfirmation(*frame) ? CloneCode::kSuccess : CloneCode::kWriteNotConfirmed);
}

int cmcCloneDrv::Finishing(bool& progress) {
  if (line_->OutPending() == 0) return kComplete;
  progress = false;
  return kFinishing;
}
