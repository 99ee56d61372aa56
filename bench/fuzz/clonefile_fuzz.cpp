// libFuzzer target: any bytes as a clone file and as a raw area, through the
// parser, decode, the initial decode, the identity check and encode.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/clonefile.h"
#include "model/eeprom.h"
#include "model/memorymap.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  cmcEeprom parsed(cmcEeprom::kImageSize);
  cmcCloneFile file;
  file.AttachImage(&parsed);
  file.SetModelCode(0x3620);
  file.SetExtraCode(6);
  file.SetMapRevCheck([](int revision) { return revision <= 7; });
  const cmcCloneFile::Ranges all = memmap::RangeList(3);
  if (file.Parse(std::string_view(reinterpret_cast<const char*>(data), size), &all) != cmcCloneFile::kOk) return 0;

  cmcEeprom image(cmcEeprom::kImageSize);
  image.WriteBlock(0, data, static_cast<int>(std::min<std::size_t>(size, cmcEeprom::kRawSize)));
  memmap::Decode(image);
  memmap::IdentityCheck(image, memmap::IdentityLevel::kFull);
  cmcEeprom initial = image;
  memmap::DecodeInitial(initial);
  for (ModelType type : kAllModelTypes) {
    cmcEeprom encoded = image;
    if (memmap::Encode(encoded, type)) memmap::Decode(encoded);
  }
  return 0;
}
