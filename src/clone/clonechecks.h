#pragma once

// What the program checks in a radio's answers: the identification record of
// an information operation and the image of a read.

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "clone/cloneresult.h"
#include "model/eeprom.h"

namespace clonechecks {

constexpr std::size_t kIdentificationSize = 78;

// The identification record, read only after the information check passed.
class Identification {
 public:
  explicit Identification(std::span<const std::uint8_t> record) : record_(record) {}

  // Byte 35: the value copied into the image before a write.
  std::uint8_t HeaderValue() const { return record_[35]; }
  bool PasswordSet() const { return (record_[53] & 0x08) != 0; }
  bool PasswordForWriteOnly() const { return (record_[53] & 0x10) != 0; }
  bool PasswordNeededToRead() const { return PasswordSet() && !PasswordForWriteOnly(); }
  // Bytes 62 to 65 as a number; none unless they are four hexadecimal digits.
  std::optional<int> TopAddress() const;
  // Bytes 37 to 48 with anything but a hexadecimal digit as '_', for a file name.
  std::string SerialText() const;

 private:
  std::span<const std::uint8_t> record_;
};

// The model code (A) must be one of `acceptedModels`, the low byte of the
// revision word (B) 0, 5 or 6, the identification 78 bytes long with byte 0
// 78 (else code 11); byte 35 above 7 gives code 14.
CloneCode CheckInformation(const dst_CDrv_Result& result, std::span<const int> acceptedModels);

// The first image check (the full identity check) failing gives code 15, the
// newer-data check code 16 (when newer data is locked out).
CloneCode CheckReadImage(const cmcEeprom& image, bool lockoutNewerData);

// The last address a read asks for: the radio's top address rounded up to the
// end of its 16-byte block, never past the raw area.
int ReadEnd(int topAddress);

// A write sends from 0x0200 up to its end: the end must lie at or above 0x0200
// and inside the raw area, else nothing is sent.
bool WriteEndAllowed(int end);

}  // namespace clonechecks
