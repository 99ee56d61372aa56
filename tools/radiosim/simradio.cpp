#include "radiosim/simradio.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace {

using radiowire::Bytes;
using radiowire::Command;
using radiowire::Setting;

constexpr std::size_t kRequestBodyBytes = 4;    // A and B
constexpr std::size_t kSettingHeaderBytes = 5;  // A, B and the setting
constexpr int kBlockSize = 16;

// The two value characters of the speed command and the speed they name.
struct SpeedValue {
  std::array<std::uint8_t, 2> text;
  int baud;
};
constexpr std::array<SpeedValue, 2> kSpeeds = {{{{'2', '7'}, 9600}, {{'0', '9'}, 38400}}};

// The value characters of the mode command: read or write.
constexpr std::array<std::uint8_t, 2> kReadMode = {'0', '0'};
constexpr std::array<std::uint8_t, 2> kWriteMode = {'0', '1'};

std::string Hex4(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", value & 0xFFFF);
  return text;
}

bool ValueIs(std::span<const std::uint8_t> value, std::span<const std::uint8_t> expected) {
  return std::ranges::equal(value, expected);
}

}  // namespace

SimRadio::SimRadio(RadioMemory memory, RadioSettings settings)
    : memory_(std::move(memory)), settings_(std::move(settings)), transmitter_(settings_.faults) {}

void SimRadio::Receive(std::span<const std::uint8_t> bytes) {
  for (std::uint8_t byte : bytes) {
    if (transmitter_.HungUp()) return;
    if (settings_.echo) transmitter_.Echo(std::span(&byte, 1));
    std::optional<radiowire::ReceivedFrame> frame = collector_.Take(byte);
    // A silent radio is dead: it neither answers nor stores.
    if (frame && !transmitter_.Silent()) OnFrame(*frame);
  }
}

std::vector<std::uint8_t> SimRadio::Send(std::size_t max) {
  ContinueRead(max);
  return transmitter_.Take(max);
}

bool SimRadio::HasOutput() const { return transmitter_.Pending() > 0 || operation_ == Operation::kReading; }

void SimRadio::OnFrame(const radiowire::ReceivedFrame& frame) {
  if (frame.destination != radiowire::kRadioAddress || frame.source != radiowire::kComputerAddress) return;
  bool isRequest = frame.body.size() == kRequestBodyBytes;
  switch (static_cast<Command>(frame.command)) {
  case Command::kInformation:
    if (isRequest) OnInformation();
    return;
  case Command::kRead:
    if (isRequest) OnRead();
    return;
  case Command::kWrite:
    if (isRequest) OnWrite();
    return;
  case Command::kDataRecord: OnRecord(frame.body); return;
  case Command::kEndOfData: OnEndOfData(frame.body); return;
  case Command::kSetting: OnSetting(frame.body); return;
  default: Note("ignored a frame with command " + Hex4(frame.command).substr(2)); return;
  }
}

void SimRadio::OnInformation() {
  Note("information request");
  Bytes body{static_cast<std::uint8_t>(memory_.ModelCode() >> 8), static_cast<std::uint8_t>(memory_.ModelCode()),
             static_cast<std::uint8_t>(memory_.ExtraCode() >> 8), static_cast<std::uint8_t>(memory_.ExtraCode())};
  identification::Record record = identification::Build(memory_, settings_.traits);
  body.insert(body.end(), record.begin(), record.end());
  transmitter_.SendMessage(radiowire::RadioFrame(Command::kInformationReply, body));
}

bool SimRadio::Admit(bool forWrite) {
  bool unlocked = std::exchange(unlocked_, false);
  if (memory_.ClonePassword().empty()) return true;
  if (!forWrite && settings_.traits.passwordForWriteOnly) return true;
  return unlocked;
}

void SimRadio::OnRead() {
  if (!Admit(false)) {
    Note("read request ignored: no right clone password");
    return;
  }
  Note("read request");
  operation_ = Operation::kReading;
  readAddress_ = 0;
  recordsSent_ = 0;
}

void SimRadio::OnWrite() {
  if (!Admit(true)) {
    Note("write request ignored: no right clone password");
    return;
  }
  Note("write request");
  operation_ = Operation::kWriting;
  recordsTaken_ = 0;
  flowBytes_ = 0;
  SendFlowControl();
}

void SimRadio::ContinueRead(std::size_t wanted) {
  int top = std::clamp(settings_.traits.topAddress, 0, RadioMemory::kSize - 1);
  // The computer asks for whole 16-byte blocks up to the top address.
  int end = std::min(top - top % kBlockSize + kBlockSize - 1, RadioMemory::kSize - 1);
  std::optional<int> badRecord = settings_.faults.Number(Fault::kBadChecksum);
  while (operation_ == Operation::kReading && transmitter_.Pending() < wanted) {
    if (transmitter_.Silent()) {
      operation_ = Operation::kIdle;
    } else if (readAddress_ > end) {
      int count = recordsSent_ + (settings_.faults.Has(Fault::kWrongCount) ? 1 : 0);
      transmitter_.SendMessage(radiowire::EndOfData(count));
      Note("read finished: " + std::to_string(recordsSent_) + " records");
      operation_ = Operation::kIdle;
    } else {
      int length = std::min(settings_.recordLength, end - readAddress_ + 1);
      ++recordsSent_;
      int checksumOffset = badRecord == recordsSent_ ? 1 : 0;
      transmitter_.SendMessage(
          radiowire::DataRecord(readAddress_, memory_.Bytes(readAddress_, length), checksumOffset));
      readAddress_ += length;
    }
  }
}

void SimRadio::SendFlowControl() {
  ++flowBytes_;
  if (settings_.faults.Number(Fault::kRefuse) == flowBytes_) {
    AbandonWrite("refused (fault)");
    return;
  }
  if (settings_.faults.Number(Fault::kDropGoOn) == flowBytes_) {
    Note("go-on byte " + std::to_string(flowBytes_) + " left out (fault)");
    return;
  }
  const std::uint8_t goOn[] = {radiowire::kGoOn};
  transmitter_.SendMessage(goOn);
}

void SimRadio::AbandonWrite(const std::string& why) {
  Note("write " + why);
  const std::uint8_t refuse[] = {radiowire::kRefuse};
  transmitter_.SendMessage(refuse);
  operation_ = Operation::kIdle;
}

void SimRadio::OnRecord(std::span<const std::uint8_t> body) {
  if (operation_ != Operation::kWriting) return;
  std::optional<radiowire::Record> record = radiowire::ParseRecord(body);
  if (!record) {
    AbandonWrite("refused: bad record");
    return;
  }
  if (settings_.faults.Number(Fault::kStoreWrong) == recordsTaken_ + 1 && !record->data.empty()) {
    record->data.front() ^= 0xFF;
    Note("record at " + Hex4(record->address) + " stored wrong (fault)");
  }
  if (!memory_.Store(record->address, record->data)) {
    AbandonWrite("refused: record at " + Hex4(record->address) + " outside the memory");
    return;
  }
  ++recordsTaken_;
  int end = record->address + static_cast<int>(record->data.size());
  if (record->address / kPageSize != end / kPageSize) SendFlowControl();
}

void SimRadio::OnEndOfData(std::span<const std::uint8_t> body) {
  if (operation_ != Operation::kWriting) return;
  operation_ = Operation::kIdle;
  switch (radiowire::CheckEndOfData(body, recordsTaken_)) {
  case radiowire::EndOfDataCheck::kWrongText: Note("write not confirmed: bad end of data"); return;
  case radiowire::EndOfDataCheck::kWrongCount: Note("write not confirmed: record count differs"); return;
  case radiowire::EndOfDataCheck::kAccepted: break;
  }
  Note("write finished: " + std::to_string(recordsTaken_) + " records");
  if (writeListener_) writeListener_(memory_);
  if (settings_.faults.Has(Fault::kNoConfirm)) {
    Note("write confirmation left out (fault)");
    return;
  }
  transmitter_.SendMessage(radiowire::WriteConfirmation());
}

void SimRadio::OnSetting(std::span<const std::uint8_t> body) {
  if (body.size() < kSettingHeaderBytes) return;
  std::span<const std::uint8_t> value = body.subspan(kSettingHeaderBytes);
  switch (static_cast<Setting>(body[kSettingHeaderBytes - 1])) {
  case Setting::kSpeed:
    for (const SpeedValue& speed : kSpeeds) {
      if (ValueIs(value, speed.text)) {
        commandedSpeed_ = speed.baud;
        Note("speed command: " + std::to_string(speed.baud) + " baud");
      }
    }
    return;
  case Setting::kMode:
    if (ValueIs(value, kReadMode) || ValueIs(value, kWriteMode)) {
      commandedWriteMode_ = ValueIs(value, kWriteMode);
      Note(*commandedWriteMode_ ? "mode command: write" : "mode command: read");
    }
    return;
  case Setting::kPassword: OnPassword(value); return;
  }
}

// The password travels as the hexadecimal text of a record: its length, the
// two's complement of its character sum, then the characters.
void SimRadio::OnPassword(std::span<const std::uint8_t> text) {
  std::optional<Bytes> record = radiowire::ParseHex(text, true);
  std::string password = memory_.ClonePassword();
  bool right = record && record->size() >= 2 && (*record)[0] + 2u == record->size() &&
               radiowire::Checksum(std::span(*record).subspan(2)) == (*record)[1] && !password.empty() &&
               std::ranges::equal(std::span(*record).subspan(2), password,
                                  [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); });
  unlocked_ = right;
  Note(right ? "clone password accepted" : "clone password refused");
}

void SimRadio::Note(const std::string& text) const {
  if (log_) log_(text);
}
