#pragma once

#include <optional>
#include <vector>

#include "model/chlayout.h"
#include "model/eeprom.h"

// The channel numbers that scan entries and the favourite-channel list hold,
// kept pointing at the same channels while channels move. They are bytes;
// only values that are channel numbers (0-127) are ever changed, and every
// new value is one.
namespace chrefs {

// One place that holds a channel number.
struct Place {
  int address;
  const chlayout::ScanReference* scan;  // the rule of a scan entry's reference; none for a favourite
  int number;                           // the scan entry or the favourite, from 0
};
// Every place: the scan entries' references, then the favourites.
std::vector<Place> Places();
// The mode tied to a scan entry's reference; none for a favourite.
std::optional<int> ModeOf(const cmcEeprom& image, const Place& place);

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
