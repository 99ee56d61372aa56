#include "radiosim/radiomemory.h"

#include <algorithm>
#include <array>

#include "model/clonefile.h"
#include "model/memorymap.h"

namespace {

constexpr int kSavedMapRevision = 7;

// Plain texts for the clone file's errors, by their numbers.
constexpr std::array<const char*, 10> kFileErrors = {
    "",
    "cannot open the file",
    "cannot write the file",
    "unknown model code",
    "unknown extra code",
    "unknown map revision",
    "not a clone file (bad header or data line)",
    "data missing",
    "data outside the radio's memory",
    "data of a newer format",
};

std::string FileError(cmcCloneFile::Error error) {
  auto index = static_cast<std::size_t>(error);
  if (index == 0 || index >= kFileErrors.size()) return "clone file error " + std::to_string(index);
  return kFileErrors[index];
}

cmcCloneFile::Ranges WholeMemory() { return {{0, RadioMemory::kSize - 1}}; }

}  // namespace

RadioMemory::RadioMemory(const cmcEeprom& image, int modelCode, int extraCode)
    : image_(cmcEeprom::kImageSize), modelCode_(modelCode), extraCode_(extraCode) {
  image_.WriteBlock(0, image.Data(), std::min(image.Size(), kSize));
}

std::variant<RadioMemory, std::string> RadioMemory::Load(const std::string& path) {
  cmcEeprom image(cmcEeprom::kImageSize);
  int modelCode = 0, extraCode = 0;
  cmcCloneFile file;
  file.AttachImage(&image);
  // The radio answers with whatever codes its file names: a test may want a
  // radio that the program refuses.
  file.SetHeaderCheck([&](int model, int extra, cmcCloneFile::Error&) {
    modelCode = model;
    extraCode = extra;
    return true;
  });
  file.SetMapRevCheck([](int) { return true; });
  cmcCloneFile::Error error = file.Read(path, nullptr);
  cmcCloneFile::Ranges memory = WholeMemory();
  // A file may leave bytes out (they read as 0), but nothing beyond the memory.
  if (error == cmcCloneFile::kOk && file.CoverageCheck(&memory) == cmcCloneFile::kData) error = cmcCloneFile::kData;
  if (error != cmcCloneFile::kOk) return path + ": " + FileError(error);
  return RadioMemory(image, modelCode, extraCode);
}

std::string RadioMemory::Save(const std::string& path) const {
  cmcEeprom copy = image_;
  cmcCloneFile file;
  file.AttachImage(&copy);
  file.SetModelCode(modelCode_);
  file.SetExtraCode(extraCode_);
  file.SetMapRevision(kSavedMapRevision);
  file.SetComment(cmcCloneFile::CommentOf(Decoded()));
  cmcCloneFile::Error error = file.Write(path, WholeMemory());
  return error == cmcCloneFile::kOk ? std::string() : path + ": " + FileError(error);
}

std::span<const std::uint8_t> RadioMemory::Bytes(int address, int length) const {
  if (!image_.IsValidRange(address, length) || address + length > kSize) return {};
  return {image_.Data() + address, static_cast<std::size_t>(length)};
}

bool RadioMemory::Store(int address, std::span<const std::uint8_t> data) {
  long long end = static_cast<long long>(address) + static_cast<long long>(data.size());
  if (address < 0 || data.empty() || end > kSize) return false;
  image_.WriteBlock(address, data.data(), static_cast<int>(data.size()));
  return true;
}

std::string RadioMemory::ClonePassword() const {
  cmcEeprom work = Decoded();
  const std::uint8_t* field = work.Data() + kPasswordAddress;
  const std::uint8_t* end = std::find(field, field + kPasswordSize, 0);
  return std::string(field, end);
}

std::string RadioMemory::Comment(int line) const {
  cmcEeprom work = Decoded();
  int address = line == 0 ? memmap::addr::kCommentLine1 : memmap::addr::kCommentLine2;
  return std::string(work.Data() + address, work.Data() + address + kCommentSize);
}

cmcEeprom RadioMemory::Decoded() const {
  cmcEeprom work = image_;
  memmap::Decode(work);
  return work;
}
