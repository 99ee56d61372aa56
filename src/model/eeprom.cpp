#include "model/eeprom.h"

#include <algorithm>
#include <cstring>

#include "platform/fatal.h"

void cmcEeprom::Resize(int size) { bytes_.assign(static_cast<std::size_t>(std::max(size, 0)), 0); }

void cmcEeprom::Fill(std::uint8_t value) { std::fill(bytes_.begin(), bytes_.end(), value); }

void cmcEeprom::SetByte(int address, std::uint8_t value) {
  if (!IsValidAddress(address)) platform::Fatal("Out of EEPROM image address (SetByte).");
  bytes_[static_cast<std::size_t>(address)] = value;
}

std::uint8_t cmcEeprom::GetByte(int address) const {
  if (!IsValidAddress(address)) platform::Fatal("Out of EEPROM image address (GetByte).");
  return bytes_[static_cast<std::size_t>(address)];
}

void cmcEeprom::WriteBlock(int address, const std::uint8_t* source, int length) {
  if (length <= 0 || !IsValidRange(address, length)) return;
  std::memcpy(bytes_.data() + address, source, static_cast<std::size_t>(length));
}

void cmcEeprom::ReadBlock(int address, std::uint8_t* destination, int length) const {
  if (length <= 0 || !IsValidRange(address, length)) return;
  std::memcpy(destination, bytes_.data() + address, static_cast<std::size_t>(length));
}

std::uint16_t cmcEeprom::GetWord(int address) const {
  return static_cast<std::uint16_t>(GetByte(address) << 8 | GetByte(address + 1));
}

void cmcEeprom::SetWord(int address, std::uint16_t value) {
  SetByte(address, static_cast<std::uint8_t>(value >> 8));
  SetByte(address + 1, static_cast<std::uint8_t>(value & 0xFF));
}
