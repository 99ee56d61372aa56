#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>

#include "model/eeprom.h"

// The simulated radio's configuration memory: the raw area of an image, with
// the model and extra codes of the clone file it came from. The settings the
// radio itself acts on (its clone password, its comment lines) are read from
// the current bytes each time, so a write that changes them takes effect.
class RadioMemory {
 public:
  static constexpr int kSize = cmcEeprom::kRawSize;
  static constexpr int kPasswordAddress = 0xA9CA;  // in the decoded work area
  static constexpr int kPasswordSize = 16;
  static constexpr int kCommentSize = 16;

  // `image` carries the raw area at its start; anything beyond it is ignored.
  RadioMemory(const cmcEeprom& image, int modelCode, int extraCode);

  // A clone file: the raw area (bytes the file leaves out read as 0) and its
  // header codes. On failure the text says why.
  static std::variant<RadioMemory, std::string> Load(const std::string& path);
  // Writes the memory as a clone file with the codes it was loaded with.
  // Empty on success, else why it failed; an existing file is then untouched.
  std::string Save(const std::string& path) const;

  int ModelCode() const { return modelCode_; }
  int ExtraCode() const { return extraCode_; }
  std::uint8_t Byte(int address) const { return image_.GetByte(address); }
  std::span<const std::uint8_t> Bytes(int address, int length) const;
  // False, changing nothing, unless the whole span lies inside the memory.
  bool Store(int address, std::span<const std::uint8_t> data);

  // The clone password; empty when none is set.
  std::string ClonePassword() const;
  // The two clone comment lines, kCommentSize bytes each, as stored.
  std::string Comment(int line) const;

 private:
  cmcEeprom Decoded() const;

  cmcEeprom image_;  // the application's image size, so that it decodes
  int modelCode_;
  int extraCode_;
};
