#pragma once

#include "model/eeprom.h"

// The channel numbers that scan entries and the favourite-channel list hold,
// kept pointing at the same channels while channels move. They are bytes;
// only values that are channel numbers (0-127) are ever changed, and every
// new value is one.
namespace chrefs {

// Channels first to last move one place down (or up); the neighbour they pass
// takes the freed place at the other end.
void Carry(cmcEeprom& image, int first, int last, bool down);
// A channel is inserted at `position`: the channels from there on move up by one.
void Insert(cmcEeprom& image, int position);
// Channel `deleted` goes and the channels after it move down by one. A scan
// entry's reference to it becomes 0 and its mode falls back; a favourite that
// named it takes the value of the same place in `initial`.
void Delete(cmcEeprom& image, const cmcEeprom& initial, int deleted);

}  // namespace chrefs
