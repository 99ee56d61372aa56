#pragma once

#include <cstdint>

#include "model/eeprom.h"

class cmcGTex;

// Bank structure and record upkeep of the memory channels, as the channel links need them.
namespace chops {

int BankSize(const cmcEeprom& image, int bank);
void SetBankSize(cmcEeprom& image, int bank, int size);
int FirstChannel(const cmcEeprom& image, int bank);  // bank 8: the channels in use
int BankOf(const cmcEeprom& image, int channel);     // 8 when no bank holds it
int ChannelsInUse(const cmcEeprom& image);
bool BankFlag(const cmcEeprom& image, int bank);
void SetBankFlag(cmcEeprom& image, int bank, bool on);

// The bank a new channel on row `channel` joins: the sheet's bank when the row
// is that bank's new-channel row, else the last bank that ends at the row.
int BankForNewChannel(const cmcEeprom& image, int channel, int sheetBank);

bool InUse(const cmcEeprom& image, int channel);

// Attribute bits of a channel: 0 "A", 1 "B", 2 "E", 3 "E" off, 4 bank flag.
std::uint32_t Attributes(const cmcEeprom& image, int channel);
void SetAttributes(cmcEeprom& image, int channel, std::uint32_t bits);

// The transmit frequency the radio derives from receive, duplex and offset.
std::int64_t TransmitFrequency(const cmcEeprom& image, int channel);

// Writes the fields the radio derives (the effective frequencies of the radio
// record) from those the links change, with the store's limits.
void StoreDerived(cmcEeprom& image, int channel);

// Makes row `channel` a new channel of `bank` (later channels move up by one),
// with default values and the given receive frequency. False, with the
// overflow message shown, when 128 channels are in use or memory is full.
bool CreateChannel(cmcEeprom& image, cmcGTex& overlay, int modelType, int channel, int bank,
                   std::int64_t receiveHz);

constexpr std::int64_t kBandLow = 144000000;
constexpr std::int64_t kBandHigh = 147000000;
constexpr std::int64_t kMaxOffset = 20000000;

}  // namespace chops
