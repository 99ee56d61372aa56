#include "model/bankname.h"

#include <array>
#include <cstdint>

#include "core/gtex.h"
#include "model/charset.h"
#include "model/eeprom.h"
#include "model/memorymap.h"

namespace {

constexpr int kNameLength = 8;

}  // namespace

std::string BankName(const cmcEeprom& image, int bank, const Charset* charset) {
  if (bank < 0 || bank >= memmap::kBankCount) return {};
  const int address = memmap::addr::kBankNames + kNameLength * bank;
  if (!image.IsValidAddress(address) || !image.IsValidAddress(address + kNameLength - 1)) return {};
  std::array<std::uint8_t, kNameLength> codes{};
  image.ReadBlock(address, codes.data(), kNameLength);
  std::string name;
  if (charset) {
    name = charset->Decode(codes, " ");
  } else {
    for (std::uint8_t code : codes) name += code >= 0x20 && code < 0x7F ? static_cast<char>(code) : ' ';
  }
  cmcGTex::TrimBlanks(name);
  return name;
}
