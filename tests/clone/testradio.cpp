#include "testradio.h"

#include <string>

namespace {

using Bytes = TestRadio::Bytes;

constexpr char kDigits[] = "0123456789ABCDEF";

void AppendHex(std::string& text, unsigned value, int digits) {
  for (int i = digits - 1; i >= 0; --i) text += kDigits[(value >> (4 * i)) & 0xF];
}

int HexValue(const Bytes& text, std::size_t at, int digits) {
  int value = 0;
  for (int i = 0; i < digits; ++i) {
    const char c = static_cast<char>(text.at(at + static_cast<std::size_t>(i)));
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

Bytes Frame(std::uint8_t command, const std::string& ascii) {
  Bytes frame = {0xFE, 0xFE, 0xEF, 0xEE, command};
  frame.insert(frame.end(), ascii.begin(), ascii.end());
  frame.push_back(0xFD);
  return frame;
}

}  // namespace

Bytes RadioRecord(int address, const std::vector<std::uint8_t>& data) {
  std::string text;
  AppendHex(text, static_cast<unsigned>(address), 4);
  AppendHex(text, static_cast<unsigned>(data.size()), 2);
  unsigned sum = (address & 0xFF) + ((address >> 8) & 0xFF) + data.size();
  for (std::uint8_t byte : data) {
    AppendHex(text, byte, 2);
    sum += byte;
  }
  AppendHex(text, (0x100 - (sum & 0xFF)) & 0xFF, 2);
  return Frame(0xE4, text);
}

TestRadio::TestRadio(Send send, Now now) : send_(std::move(send)), now_(std::move(now)) {
  identification.assign(78, 0x20);
  identification[0] = 78;
  for (int a = 0; a < image.Size(); ++a) image.SetByte(a, static_cast<std::uint8_t>(a * 7 + (a >> 8)));
}

void TestRadio::OnByte(std::uint8_t byte) {
  if (byte == 0xFE) {
    // The first preamble byte of a record ends any go-on wait it should have respected.
    if (!inFrame_ && goOnArrivesAt_ >= 0 && now_() < goOnArrivesAt_) ++flowViolations;
    partial_.assign(1, 0xFE);
    inFrame_ = true;
    return;
  }
  if (!inFrame_) return;
  if (byte == 0xFD) {
    inFrame_ = false;
    Bytes frame;
    frame.swap(partial_);
    OnFrame(frame);
    return;
  }
  partial_.push_back(byte);
}

void TestRadio::OnFrame(const Bytes& frame) {
  frames.push_back(frame);
  // FE EE EF command body
  if (frame.size() < 4 || frame[1] != 0xEE || frame[2] != 0xEF) return;
  const Bytes body(frame.begin() + 4, frame.end());
  const bool unlocked = !password || passwordGiven;
  switch (frame[3]) {
  case 0xE0:
    if (!answerInformation) return;
    if (informationReply) {
      send_(*informationReply, 0);
    } else {
      Bytes reply = {0xFE, 0xFE, 0xEF, 0xEE, 0xE1};
      for (int number : {modelCode, revision}) {
        reply.push_back(static_cast<std::uint8_t>(number >> 8));
        reply.push_back(static_cast<std::uint8_t>(number & 0xFF));
      }
      reply.insert(reply.end(), identification.begin(), identification.end());
      reply.push_back(0xFD);
      send_(reply, 0);
    }
    return;
  case 0xE2:
    if (unlocked) SendRead();
    return;
  case 0xE3:
    if (!unlocked) return;
    goOnArrivesAt_ = -1;
    if (writeRequestAnswer) {
      send_({*writeRequestAnswer}, 0);
    } else if (goOnAfterWriteRequest) {
      SendGoOn();
    }
    return;
  case 0xE4: OnRecord(body); return;
  case 0xE5:
    endText.assign(body.begin(), body.end());
    if (confirm) send_(confirmation, 0);
    return;
  case 0xE8: OnAdjust(body); return;
  default: return;
  }
}

void TestRadio::OnRecord(const Bytes& body) {
  if (body.size() < 8 || body.size() % 2 != 0) {
    ++badRecords;
    return;
  }
  const int address = HexValue(body, 0, 4);
  const int length = HexValue(body, 4, 2);
  if (address < 0 || length < 0 || body.size() != 8 + 2 * static_cast<std::size_t>(length)) {
    ++badRecords;
    return;
  }
  unsigned sum = (address & 0xFF) + (address >> 8) + static_cast<unsigned>(length);
  for (int i = 0; i <= length; ++i) {
    const int value = HexValue(body, 6 + 2 * static_cast<std::size_t>(i), 2);
    if (value < 0) {
      ++badRecords;
      return;
    }
    sum += static_cast<unsigned>(value);
    if (i < length && written.IsValidAddress(address + i))
      written.SetByte(address + i, static_cast<std::uint8_t>(value));
  }
  if ((sum & 0xFF) != 0) {
    ++badRecords;
    return;
  }
  ++recordsWritten;
  if (flowInterval > 0 && (address + length) % flowInterval == 0) SendGoOn();
}

void TestRadio::SendGoOn() {
  ++goOnSent;
  send_({0xFB}, goOnDelayMs);
  // The byte has crossed the wire one byte time after it was sent; this time
  // is a lower bound that any byte time satisfies.
  goOnArrivesAt_ = now_() + goOnDelayMs;
}

void TestRadio::SendRead() {
  std::vector<Bytes> out;
  std::size_t turn = 0;
  int count = 0;
  for (const memmap::AddressRange& range : readRanges) {
    for (int address = range.first; address <= range.second;) {
      const int length = std::min(recordLengths[turn++ % recordLengths.size()], range.second - address + 1);
      std::vector<std::uint8_t> data(static_cast<std::size_t>(length));
      for (int i = 0; i < length; ++i) data[static_cast<std::size_t>(i)] = image.GetByte(address + i);
      out.push_back(RadioRecord(address, data));
      ++count;
      address += length;
    }
  }
  std::string end = "Tarn Inc.";
  if (endCount) AppendHex(end, static_cast<unsigned>(count) & 0xFF, 2);
  out.push_back(Frame(0xE5, end));
  if (tamperRead) tamperRead(out);
  Bytes all;
  for (const Bytes& frame : out) all.insert(all.end(), frame.begin(), frame.end());
  send_(all, 0);
}

void TestRadio::OnAdjust(const Bytes& body) {
  // A B (2 bytes each), command, then the value as two ASCII digits or the
  // password record as ASCII digits.
  if (body.size() < 5) return;
  const int command = body[4];
  const Bytes text(body.begin() + 5, body.end());
  adjustCommands.push_back({command, text.size() >= 2 ? HexValue(text, 0, 2) : -1});
  if (command != 0x99 || !password) return;
  // Length, two's complement of the character sum, the characters.
  const int length = HexValue(text, 0, 2);
  if (length < 0 || text.size() != 4 + 2 * static_cast<std::size_t>(length)) return;
  std::string given;
  unsigned sum = 0;
  for (int i = 0; i < length; ++i) {
    const int c = HexValue(text, 4 + 2 * static_cast<std::size_t>(i), 2);
    if (c < 0) return;
    given += static_cast<char>(c);
    sum += static_cast<unsigned>(c);
  }
  passwordGiven = given == *password && HexValue(text, 2, 2) == static_cast<int>((0x100 - (sum & 0xFF)) & 0xFF);
}
