#include "support/locked_clone_file.h"

#include "model/clonefile.h"
#include "model/eeprom.h"
#include "model/memorymap.h"
#include "model/modeltype.h"

std::string LockedCloneFile(const std::string& source, const std::string& target, const std::string& password) {
  cmcEeprom image(cmcEeprom::kImageSize);
  cmcCloneFile file;
  file.AttachImage(&image);
  file.SetMapRevCheck([](int) { return true; });
  file.SetHeaderCheck([&](int model, int extra, cmcCloneFile::Error&) {
    file.SetModelCode(model);
    file.SetExtraCode(extra);
    return true;
  });
  if (file.Read(source, nullptr) != cmcCloneFile::kOk) return {};
  memmap::Decode(image);
  for (int i = 0; i < memmap::addr::kClonePasswordSize; ++i) {
    const auto at = static_cast<std::size_t>(i);
    image.SetByte(memmap::addr::kClonePassword + i, at < password.size() ? static_cast<std::uint8_t>(password[at]) : 0);
  }
  if (!memmap::Encode(image, ModelType::kDpmr446)) return {};
  if (file.Write(target, {{0x0000, 0x7D7F}}) != cmcCloneFile::kOk) return {};
  return target;
}
