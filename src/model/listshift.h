#pragma once

#include "model/clipch.h"
#include "model/eeprom.h"

// A list of records as one sheet shows it: the record kind and the records
// its commands may touch (the channels of one bank, the aliases in use).
struct RecordList {
  int kind = 0;
  int first = 0;
  int last = -1;  // inclusive; below first when the list is empty
  int bank = -1;  // a channel list: the bank it shows

  bool Contains(int index) const { return index >= first && index <= last; }
  int Size() const { return last >= first ? last - first + 1 : 0; }
};

// Inserts and deletes single records, moving the records behind them and
// renumbering the references to channels. A moved channel takes its A, B and
// E markers along; the bank flag stays with the position. The caller checks
// the room for an insert first.
class ListShifter {
 public:
  // `initial` is the image whose records fill freed and new places.
  ListShifter(cmcEeprom& image, cmcEeprom& initial, bool banksInUse)
      : image_(image), initial_(initial), banksInUse_(banksInUse) {}

  // A record of the initial image at `position` of the list; the records from
  // there on move up by one and the list grows by one.
  void Insert(const RecordList& list, int position);
  // Record `index` goes; the records behind it move down by one and the last
  // place takes the initial image's record. With banks in use (and always for
  // the alias list) the list shrinks by one.
  void Delete(const RecordList& list, int index);

 private:
  // Places past the last record that a shift may use (the channel lists: the
  // whole memory when banks are in use, else one past the channels in use).
  int ChannelLimit(bool growing) const;
  void Move(int kind, int from, int to);
  void TakeInitial(int kind, int index);

  cmcEeprom& image_;
  cmcEeprom& initial_;
  bool banksInUse_;
  datClipCh clip_;
};
