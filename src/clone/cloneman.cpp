#include "clone/cloneman.h"

#include <algorithm>

#include "clone/clonemessage.h"
#include "clone/transferscript.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "runtime/task.h"
#include "runtime/taskscheduler.h"

namespace {

constexpr std::size_t kWriteCaptionLine = 0;
constexpr std::size_t kReadCaptionLine = 1;
constexpr int kDefaultTimeoutMs = 1000;
constexpr int kWriteTimeoutMs = 2000;
constexpr int kWriteRequestTimeoutMs = 5000;
constexpr int kFlowInterval = 128;

long long AddressCount(std::span<const memmap::AddressRange> ranges) {
  long long count = 0;
  for (const memmap::AddressRange& range : ranges) {
    if (range.first > range.second) break;
    count += range.second - range.first + 1;
  }
  return count;
}

}  // namespace

indCloneMan::indCloneMan(TaskScheduler& scheduler, cmcGTex& overlay, const platform::Clock& clock,
                         std::unique_ptr<CloneLine> line)
    : overlay_(overlay), driver_(scheduler, clock, std::move(line)), progressTask_(scheduler.NewTask()) {}

indCloneMan::~indCloneMan() {
  progressTask_->Stop();
  progressTask_->Release();
  StopProgress();
}

void indCloneMan::SetPort(int number) {
  portNumber_ = number;
  portPath_.clear();
}

void indCloneMan::SetPortPath(const std::string& path) {
  portNumber_ = 0;
  portPath_ = path;
}

void indCloneMan::SetNamedPort(int number, const std::string& path) {
  portNumber_ = number;
  portPath_ = path;
}

bool indCloneMan::GivePassword(const std::string& password) {
  if (password.empty() || password.size() > transferscript::kMaxPasswordBytes) return false;
  password_ = password;
  return true;
}

void indCloneMan::SetFrameParameters(std::uint16_t a, std::uint16_t b) {
  frameA_ = a;
  driver_.SetFrameParameters(a, b);
}

void indCloneMan::Prepare(bool writeMode) {
  const bool high = highSpeed_ && kind_ != CloneKind::kInformation;
  const std::optional<std::string> password = kind_ == CloneKind::kInformation ? std::nullopt : password_;
  driver_.SetScript(transferscript::Build(frameA_, high, writeMode, password));
  passwordSent_ = password.has_value();
  speedState_ = high ? 1 : 0;
  const char* settings = high ? "38400,N,8,1" : "9600,N,8,1";
  if (portPath_.empty()) {
    driver_.SetPort(portNumber_, settings);
  } else {
    driver_.SetPortPath(portPath_, settings);
  }
  driver_.SetRequestPreamble(high ? 48 : 12);
  driver_.SetDataPreamble(0);
  driver_.SetEcho(false);
  driver_.SetEndCount(true);
  driver_.SetWaitAfterWriteRequest(true);
  driver_.SetFlowControl(kFlowInterval, 0);
  driver_.SetTimeout(kDefaultTimeoutMs);
  driver_.SetRtsControl(cmcComm::kRtsEnable);
  driver_.SetEchoTest(true);
}

bool indCloneMan::Information(Completion done) {
  if (IsBusy()) return false;
  kind_ = CloneKind::kInformation;
  expectedBytes_ = 0;
  Prepare(false);
  completion_ = std::move(done);
  return driver_.StartInformation([this](dst_CDrv_Result& result) { OnDriverDone(result); });
}

bool indCloneMan::Read(std::span<const memmap::AddressRange> ranges, Completion done) {
  if (IsBusy()) return false;
  kind_ = CloneKind::kRead;
  expectedBytes_ = AddressCount(ranges);
  Prepare(false);
  password_.reset();
  completion_ = std::move(done);
  if (!driver_.StartRead(ranges, [this](dst_CDrv_Result& result) { OnDriverDone(result); })) return false;
  StartProgress(kReadCaptionLine);
  return true;
}

bool indCloneMan::Write(const cmcEeprom& image, std::span<const memmap::AddressRange> ranges, Completion done) {
  if (IsBusy()) return false;
  kind_ = CloneKind::kWrite;
  expectedBytes_ = AddressCount(ranges);
  Prepare(true);
  password_.reset();
  driver_.SetWriteRequestTimeout(kWriteRequestTimeoutMs);
  driver_.SetTimeout(kWriteTimeoutMs);
  completion_ = std::move(done);
  if (!driver_.StartWrite(image, ranges, [this](dst_CDrv_Result& result) { OnDriverDone(result); })) return false;
  StartProgress(kWriteCaptionLine);
  return true;
}

int indCloneMan::ProgressFigure(long long moved, long long expected) {
  if (expected <= 0 || moved <= 0) return 0;
  return static_cast<int>(std::min<long long>(moved * (kProgressSegments + 1) / expected, kProgressSegments));
}

void indCloneMan::StartProgress(std::size_t captionLine) {
  progressOpen_ = true;
  if (progress_.open) progress_.open(overlay_.GetLine(gi::GI_Mess_CloneRW_Title_Message, captionLine));
  progressTask_->SetCallback([this](cmcTask& task) {
    if (progress_.update) progress_.update(ProgressSegments());
    if (!IsBusy()) task.SetInterval(-1);
  });
  progressTask_->SetInterval(kProgressStepMs);
}

void indCloneMan::StopProgress() {
  progressTask_->SetInterval(-1);
  if (!progressOpen_) return;
  progressOpen_ = false;
  if (progress_.update) progress_.update(ProgressSegments());
  if (progress_.close) progress_.close();
}

namespace {
constexpr std::size_t kPasswordCheckLine = 7;  // "Check the radio's clone password."
}  // namespace

void indCloneMan::ShowError(CloneCode code) {
  if (clonemessage::LosesSpeedState(code)) speedState_ = kSpeedUnknown;
  std::string text = clonemessage::Text(overlay_, code, portNumber_, driver_.LastOpenFailure());
  // A locked radio stays silent when the password is wrong.
  if (code == CloneCode::kTimeout && passwordSent_ && driver_.DataBytesMoved() == 0) {
    text.append("\n").append(overlay_.GetLine(gi::GI_Mess_CloneErr_Check, kPasswordCheckLine));
  }
  if (!text.empty() && kind_ == CloneKind::kWrite && driver_.DataBytesMoved() > 0) {
    text += "\n\n" + writeFailureNote_;
  }
  writeFailureNote_.clear();
  clonemessage::Show(overlay_, text);
}

void indCloneMan::OnDriverDone(dst_CDrv_Result& result) {
  // A check judges only what arrived: a failure of the line keeps its own code.
  if (result.code == CloneCode::kSuccess) {
    if (kind_ == CloneKind::kInformation) {
      if (informationCheck_) {
        informationCheck_(result);
      } else {
        result.code = CloneCode::kIdentificationRefused;
      }
    } else if (kind_ == CloneKind::kRead) {
      if (readCheck_) {
        readCheck_(result);
      } else {
        result.code = CloneCode::kAddressesMissing;
      }
    }
  }
  ShowError(result.code);
  StopProgress();
  kind_ = CloneKind::kNone;
  // Taken first: the completion may start the next operation.
  Completion done = std::move(completion_);
  completion_ = nullptr;
  if (done) done(result);
}
