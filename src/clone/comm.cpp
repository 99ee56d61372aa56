#include "clone/comm.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "runtime/task.h"
#include "runtime/taskscheduler.h"

namespace {

std::vector<std::string_view> SplitAtCommas(std::string_view text) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t comma = text.find(',');
    fields.push_back(text.substr(0, comma));
    if (comma == std::string_view::npos) return fields;
    text.remove_prefix(comma + 1);
  }
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The leading decimal number of a field; 0 when it has none.
int DecimalValue(std::string_view field) {
  field = Trimmed(field);
  int value = 0;
  std::from_chars(field.data(), field.data() + field.size(), value);
  return value;
}

std::string_view Field(const std::vector<std::string_view>& fields, std::size_t i) {
  return i < fields.size() ? Trimmed(fields[i]) : std::string_view();
}

}  // namespace

platform::SerialLineSettings ParseCommSettings(std::string_view text) {
  const std::vector<std::string_view> fields = SplitAtCommas(text);
  platform::SerialLineSettings settings;
  settings.baud = DecimalValue(Field(fields, 0));
  const std::string_view parity = Field(fields, 1);
  settings.parityCheck = !parity.empty() && std::string_view("MmOo").find(parity[0]) != std::string_view::npos;
  settings.dataBits = std::clamp(DecimalValue(Field(fields, 2)), 5, 8);
  settings.twoStopBits = Field(fields, 3) == "2";
  return settings;
}

cmcComm::cmcComm(TaskScheduler& scheduler, std::uint32_t writeTimeConstantMs)
    : writeTimeConstantMs_(writeTimeConstantMs), flushTask_(scheduler.NewTask()) {}

cmcComm::~cmcComm() {
  Close();
  flushTask_->Release();
}

bool cmcComm::Open(int port, std::string_view settings) {
  if (IsOpen()) return false;
  portNumber_ = port;
  devicePath_ = platform::PortOpenPath(port, portPaths_).value_or(std::string());
  return OpenDevice(settings);
}

bool cmcComm::OpenPath(const std::string& devicePath, std::string_view settings) {
  if (IsOpen()) return false;
  portNumber_ = 0;
  devicePath_ = devicePath;
  return OpenDevice(settings);
}

bool cmcComm::OpenDevice(std::string_view settings) {
  writeError_ = false;
  pending_.Clear();
  const bool rtsOn = settings_.rtsOn;
  settings_ = ParseCommSettings(settings);
  settings_.rtsOn = rtsOn;
  return device_.Open(devicePath_, settings_);
}

bool cmcComm::ChangeSettings(std::string_view settings) {
  if (!IsOpen()) return false;
  platform::SerialLineSettings changed = ParseCommSettings(settings);
  changed.rtsOn = settings_.rtsOn;
  if (!device_.Configure(changed)) return false;
  settings_ = changed;
  return true;
}

void cmcComm::Close() {
  flushTask_->Stop();
  device_.Close();
  pending_.Clear();
  writeError_ = false;
}

bool cmcComm::SetRtsControl(int mode) {
  settings_.rtsOn = (mode & 3) != kRtsDisable;
  return IsOpen() && device_.Configure(settings_);
}

std::size_t cmcComm::Read(std::uint8_t* buffer, std::size_t maximum) { return device_.Read(buffer, maximum); }

void cmcComm::Write(const std::uint8_t* bytes, std::size_t length) {
  if (!IsOpen()) return;
  flushTask_->Stop();
  pending_.Append({bytes, length});
  flushTask_->SetCallback([this](cmcTask&) { FlushStep(); });
  flushTask_->SetInterval(0);
  FlushStep();
}

// Hands at most one chunk to the device, and only into an empty transmit
// queue, so that a write never waits long.
void cmcComm::FlushStep() {
  if (!IsOpen() || pending_.Length() == 0) {
    flushTask_->Stop();
    return;
  }
  if (device_.OutQueue() != 0) {
    flushTask_->SetInterval(kFlushRetryMs);
    return;
  }
  const std::size_t chunk = std::min(pending_.Length(), kOutputChunk);
  const std::size_t taken = device_.Write(pending_.Data(), chunk, WriteTimeLimitMs(chunk));
  // What the device took is gone, even from a short write, so that a later
  // Write never sends it twice.
  for (std::size_t i = 0; i < taken; ++i) pending_.PopFront();
  if (taken < chunk) {
    writeError_ = true;
    flushTask_->Stop();
  } else if (pending_.Length() > 0) {
    flushTask_->SetInterval(kFlushRetryMs);
  } else {
    flushTask_->Stop();
  }
}

std::uint32_t cmcComm::WriteTimeLimitMs(std::size_t length) const {
  const std::uint32_t msPerByte = settings_.baud > 0 ? 100000u / static_cast<std::uint32_t>(settings_.baud) : 0;
  return msPerByte * static_cast<std::uint32_t>(length) + writeTimeConstantMs_;
}
