#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "model/chlayout.h"
#include "model/eeprom.h"
#include "model/modeltype.h"

// One two-byte tone setting as the channel and group tone fields hold it:
// on/off, a digital code with its polarity, or a tone frequency index.
struct ToneSetting {
  bool on = false;
  bool digital = false;   // a digital code instead of a tone frequency
  bool inverted = false;  // polarity of the digital code
  int index = 0;          // tone frequency index (when !digital)
  int code = 0;           // 9-bit digital code (when digital)

  // Decodes bytes[0..1]; Encode keeps the bits of bytes[0] that the setting does not name.
  static ToneSetting Decode(const std::uint8_t* bytes);
  void Encode(std::uint8_t* bytes) const;
  friend bool operator==(const ToneSetting&, const ToneSetting&) = default;
};

// Everything a channel record holds apart from the image: the fields of the
// layout table and those load and store treat themselves. The channel
// clipboard keeps channels as such values.
struct ChannelContents : chlayout::ChannelFields {
  // Frequencies in Hz.
  bool inUse = false;
  int atr = 0;
  std::uint32_t freqR = 0;
  std::uint32_t offset = 0;
  std::uint32_t freqT = 0;           // derived: receive +/- offset by duplex
  std::uint32_t effectiveFirst = 0;  // derived, as the radio record holds them
  std::uint32_t effectiveSecond = 0;
  std::string name;  // kNameLength characters of the radio's character set
  int lists = 0;     // kListCount bits, the first bitmap in the most significant place
  // The PMR tone settings of the option record.
  ToneSetting ctoneR;  // kinds 2 and 3
  ToneSetting ctoneT;  // kinds 2 and 3

  bool modified = false;

  // Raw slot copies, as last loaded; store writes the fields onto them so the
  // carried bytes go back unchanged.
  std::array<std::uint8_t, 22> radioRecord{};
  std::array<std::uint8_t, 20> settingRecord{};
  std::array<std::uint8_t, 14> optionRecord{};
};

// A memory channel gathered from its three slots, the list bitmaps and the
// attribute places into plain fields; store() scatters it back and refreshes
// the frequencies the radio derives. Kinds 1-4 are the channels of the model
// types 0-3. The fields' places in the slots are the table of chlayout.h.
class datCh : public ChannelContents {
 public:
  static constexpr int kFirstChannelKind = 1;
  static constexpr int kLastChannelKind = 4;
  // The channel record kind of a model type.
  static constexpr int KindOf(ModelType type) { return kFirstChannelKind + ModelNumber(type); }
  static constexpr int kNameLength = 8;
  static constexpr int kListCount = 17;  // list membership bits, the scan list first
  static constexpr std::uint32_t kMaxFrequency = 799999950;
  static constexpr std::uint32_t kMaxOffset = 20000000;

  // Attribute bits.
  static constexpr int kAtrA = 0x01;
  static constexpr int kAtrB = 0x02;
  static constexpr int kAtrE = 0x04;
  static constexpr int kAtrClearE = 0x08;  // the E marker is off (for every channel)
  static constexpr int kAtrBankFlag = 0x10;

  explicit datCh(cmcEeprom& image) : image_(image) {}

  // Clears the object and decodes channel `number` of record kind `kind`.
  // False (and a cleared object) for a kind or number outside the channels.
  bool load(int kind, int number);
  bool reload() { return load(kind_, number_); }
  // Encodes the object into the image, then reloads it; the modified flag
  // survives the reload so the caller can still see that something changed.
  bool store();
  // Default values for a channel being created; marks it in use and modified.
  void initialise();

  int kind() const { return kind_; }
  int number() const { return number_; }
  bool isLoaded() const { return kind_ >= kFirstChannelKind && kind_ <= kLastChannelKind; }
  bool isPmr446() const { return kind_ != kFirstChannelKind; }

  // The receive frequency band a stored channel is kept in.
  std::uint32_t minFrequency() const;
  std::uint32_t maxFrequency() const;

  // E shows when bit 2 is set and bit 3 is not.
  std::string atrLetters() const;
  bool inList(int list) const;  // list 0 is the scan list
  void setInList(int list, bool member);

  // Banks: 8 of them; the channels in use are packed bank after bank.
  static int BankSize(const cmcEeprom& image, int bank);
  static void SetBankSize(cmcEeprom& image, int bank, int size);
  // Sum of the sizes before `bank`, never past 128; FirstChannel(8) = ChannelsInUse.
  static int FirstChannel(const cmcEeprom& image, int bank);
  // The first bank whose range holds `channel`, 8 when none does.
  static int BankOf(const cmcEeprom& image, int channel);
  static int ChannelsInUse(const cmcEeprom& image);
  static bool BankFlag(const cmcEeprom& image, int bank);
  static void SetBankFlag(cmcEeprom& image, int bank, bool on);

  // Capacity: room for `count` more records of cell type `cellType`.
  static bool HasRoom(const cmcEeprom& image, ModelType modelType, int cellType, int count);
  // How many more channels still fit (at most 128 minus those in use).
  static int ChannelsThatFit(const cmcEeprom& image, ModelType modelType);

 private:
  void clear();
  // The raw copy of one of the three per-channel slots.
  std::span<std::uint8_t> Record(chlayout::Slot slot);
  void loadAttributes();
  void storeAttributes();
  void deriveFrequencies();

  cmcEeprom& image_;
  int kind_ = 0;
  int number_ = -1;
};

// Channel number as the sheets show it: "%d-%3d" (bank + 1, position in the
// bank from 1) when banks are shown, otherwise number + 1.
std::string ChannelLabel(const cmcEeprom& image, int channel, bool banksShown);

// The PMR446 frequency choice list, in Hz, in the list's row order.
std::span<const std::uint32_t> Pmr446Frequencies();
// The row of `frequency`, or -1 when it is not in the table.
int Pmr446Row(std::uint32_t frequency);

// Digits packed two per byte: digit i goes in the high nibble of byte i / 2
// when i is even, the low nibble when odd; the other nibble is kept.
class cmcPackedBcd {
 public:
  // Writes as many digits as the bytes hold; false when some did not fit.
  static bool Write(std::span<std::uint8_t> bytes, std::span<const std::uint8_t> digits);
  static std::uint8_t Digit(std::span<const std::uint8_t> bytes, int index);
};

// The digital signalling address record: the station's own identity (word at
// work 0xAFFE) and its identity ranges, 4095 meaning an empty bound.
class datVexlAdr {
 public:
  static constexpr int kRangeCount = 3;
  static constexpr int kEmpty = 4095;
  struct Range {
    int first = kEmpty;
    int last = kEmpty;
  };

  explicit datVexlAdr(cmcEeprom& image) : image_(image) {}
  void load();
  void store() const;

  int ownId = 0;
  std::array<Range, kRangeCount> ranges{};

 private:
  cmcEeprom& image_;
};
