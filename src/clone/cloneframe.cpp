#include "clone/cloneframe.h"

namespace cloneframe {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";
// The computer's frames begin with two preamble bytes and the addresses.
constexpr std::string_view kToRadio = "FEFE EE EF ";

void AppendPreamble(cmcBuff& frame, int count) {
  if (count > 0) frame.AppendFill(kPreamble, static_cast<std::size_t>(count));
}

void AppendAscii(cmcBuff& frame, std::string_view text) {
  for (char c : text) frame.PushByte(static_cast<std::uint8_t>(c));
}

std::string CommandHex(Command command) { return Hex(static_cast<unsigned>(command), 2); }

}  // namespace

std::string Hex(unsigned value, int digits) {
  std::string text(static_cast<std::size_t>(digits), '0');
  for (int i = digits - 1; i >= 0; --i) {
    text[static_cast<std::size_t>(i)] = kDigits[value & 0xF];
    value >>= 4;
  }
  return text;
}

cmcBuff Request(Command command, std::uint16_t a, std::uint16_t b, int preamble) {
  cmcBuff frame;
  AppendPreamble(frame, preamble);
  const std::string text =
      std::string(kToRadio) + CommandHex(command) + " " + Hex(a, 4) + " " + Hex(b, 4) + " " + Hex(kEnd, 2);
  frame.Append(cmcBuff::FromHex(text));
  return frame;
}

std::uint8_t RecordChecksum(int address, std::span<const std::uint8_t> data) {
  unsigned sum = (static_cast<unsigned>(address) & 0xFF) + ((static_cast<unsigned>(address) >> 8) & 0xFF) +
                 static_cast<unsigned>(data.size());
  for (std::uint8_t byte : data) sum += byte;
  return static_cast<std::uint8_t>(0x100 - (sum & 0xFF));
}

cmcBuff DataRecord(int address, std::span<const std::uint8_t> data, int preamble) {
  if (data.size() > 0xFF) data = data.first(0xFF);
  cmcBuff frame;
  AppendPreamble(frame, preamble);
  frame.Append(cmcBuff::FromHex(std::string(kToRadio) + CommandHex(Command::kDataRecord)));
  std::string text = Hex(static_cast<unsigned>(address), 4) + Hex(static_cast<unsigned>(data.size()), 2);
  for (std::uint8_t byte : data) text += Hex(byte, 2);
  text += Hex(RecordChecksum(address, data), 2);
  AppendAscii(frame, text);
  frame.PushByte(kEnd);
  return frame;
}

std::string EndOfDataText(std::optional<int> frameCount) {
  std::string text(kMakerText);
  if (frameCount) text += Hex(static_cast<unsigned>(*frameCount) & 0xFF, 2);
  return text;
}

cmcBuff EndOfData(std::optional<int> frameCount) {
  cmcBuff frame = cmcBuff::FromHex(std::string(kToRadio) + CommandHex(Command::kEndOfData));
  AppendAscii(frame, EndOfDataText(frameCount));
  frame.PushByte(kEnd);
  return frame;
}

cmcBuff AdjustCommand(std::uint16_t a, std::uint16_t b, std::uint8_t command, std::uint8_t value) {
  const std::string valueText = Hex(value, 2);
  const std::string text = std::string(kToRadio) + CommandHex(Command::kAdjust) + " " + Hex(a, 4) + " " + Hex(b, 4) +
                           " " + Hex(command, 2) + " " + Hex(static_cast<unsigned char>(valueText[0]), 2) + " " +
                           Hex(static_cast<unsigned char>(valueText[1]), 2) + " " + Hex(kEnd, 2);
  return cmcBuff::FromHex(text);
}

}  // namespace cloneframe
