#pragma once

#include <cstdint>
#include <vector>

#include "model/ch.h"
#include "model/eeprom.h"

// The record clipboards: copies of whole records of a list (not text), taken
// from an image and stored back at other indices. `cmcClipCh` keeps entries
// that are plain bytes of one table (the alias list); `datClipCh` adds the
// memory channels, which go through the channel record with their markers.

// The record kinds the clipboards hold besides the channel kinds 1-4.
namespace recordkind {
constexpr int kAlias = 20;  // the MDC alias list
bool IsChannel(int kind);
// Kinds whose records a clipboard can hold.
bool IsListed(int kind);
}  // namespace recordkind

// One record as a clipboard keeps it, apart from any image.
struct ClipRecord {
  ChannelContents channel;          // the channel kinds
  std::vector<std::uint8_t> bytes;  // the other kinds: the entry's bytes
};

class cmcClipCh {
 public:
  virtual ~cmcClipCh() = default;

  virtual void clear();
  // Empties the clipboard and fills it with `count` records of `kind` from
  // `first` on; false (and empty) when any of them is not a record of the kind.
  virtual bool copy(cmcEeprom& image, int kind, int first, int count);
  virtual bool loadOne(cmcEeprom& image, int kind, int index, ClipRecord& record);
  // True when the clipboard holds records of `kind`.
  virtual bool canPaste(int kind) const;
  // Stores the first `count` records (at most as many as it holds) at `first`
  // onward; the number stored.
  virtual int paste(cmcEeprom& image, int kind, int first, int count);
  virtual bool storeOne(cmcEeprom& image, int kind, int index, const ClipRecord& record);

  int kind() const { return kind_; }  // 0: empty
  int first() const { return first_; }
  int count() const { return static_cast<int>(records_.size()); }

 private:
  std::vector<ClipRecord> records_;
  int kind_ = 0;
  int first_ = 0;
};

// The channel clipboard. Storing a channel keeps some of the attribute bits of
// the record it overwrites: with keep-target-attributes all of them (the A, B
// and E markers stay where they were), otherwise the E-off bit and the bank
// flag, which belong to the position.
class datClipCh : public cmcClipCh {
 public:
  bool loadOne(cmcEeprom& image, int kind, int index, ClipRecord& record) override;
  bool storeOne(cmcEeprom& image, int kind, int index, const ClipRecord& record) override;

  bool keepTargetAttributes() const { return keepTargetAttributes_; }
  void setKeepTargetAttributes(bool keep) { keepTargetAttributes_ = keep; }

 private:
  bool keepTargetAttributes_ = false;
};
