#pragma once

#include <string>
#include <vector>

#include "model/ch.h"
#include "model/chlayout.h"
#include "model/eeprom.h"

// Small images for the list tests: banks of the given sizes whose channels
// are named "CH<n>" and tuned to 446 MHz plus n kHz (the slots after them
// "FREE<n>", not in use), and an initial image whose records are named
// "INI<n>", not in use.
namespace channelimages {

constexpr int kKind = 2;  // PMR channels
constexpr int kAliasTable = 0xBABD;
constexpr int kAliasSize = 12;

inline void NameChannel(cmcEeprom& image, int n, const std::string& prefix, bool inUse) {
  datCh ch(image);
  ch.load(kKind, n);
  ch.inUse = inUse;
  ch.freqR = inUse ? 446000000 + 1000 * n : 0;
  ch.name = prefix + std::to_string(n);
  ch.store();
}

struct Images {
  cmcEeprom image{cmcEeprom::kImageSize};
  cmcEeprom initial{cmcEeprom::kImageSize};

  explicit Images(const std::vector<int>& sizes = {4, 3}) {
    for (int bank = 0; bank < static_cast<int>(sizes.size()); ++bank) datCh::SetBankSize(image, bank, sizes[bank]);
    const int used = datCh::ChannelsInUse(image);
    for (int n = 0; n < 128; ++n) NameChannel(image, n, n < used ? "CH" : "FREE", n < used);
    for (int n = 0; n < 128; ++n) NameChannel(initial, n, "INI", false);
    // The markers away from channel 0, where a zeroed image puts them.
    image.SetByte(chlayout::kAtrA, 0x7F);
    image.SetByte(chlayout::kAtrB, 0x7F);
    initial.SetByte(chlayout::kAtrA, 0x7F);
    initial.SetByte(chlayout::kAtrB, 0x7F);
  }

  datCh Channel(int n) {
    datCh ch(image);
    ch.load(kKind, n);
    return ch;
  }
  // The name without its padding.
  std::string Name(int n) {
    std::string name = Channel(n).name;
    return name.substr(0, name.find(' '));
  }
  // The names of channels first to last, joined by blanks.
  std::string Names(int first, int last) {
    std::string names;
    for (int n = first; n <= last; ++n) names += (n > first ? " " : "") + Name(n);
    return names;
  }
  // Alias entries: entry n starts with the letter `letter`.
  void SetAlias(cmcEeprom& target, int n, char letter) {
    for (int i = 0; i < kAliasSize; ++i)
      target.SetByte(kAliasTable + kAliasSize * n + i, static_cast<std::uint8_t>(letter));
  }
  char AliasLetter(int n) { return static_cast<char>(image.GetByte(kAliasTable + kAliasSize * n)); }
  std::string AliasLetters(int first, int last) {
    std::string letters;
    for (int n = first; n <= last; ++n) letters += AliasLetter(n);
    return letters;
  }
};

}  // namespace channelimages
