// Writes the initial clone files from the readable default tables in
// tools/initialfiles/: rwq-initialfile OUTDIR COMMON.txt MODEL.txt...
// Each model table is applied over the common one and written to OUTDIR.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "model/clonefile.h"
#include "model/cloneio.h"
#include "model/eeprom.h"
#include "model/memorymap.h"

namespace {

constexpr int kRadioRecords = 0x7F80;  // block 2, 22 bytes per channel
constexpr int kRadioRecordSize = 22;
constexpr int kNameOffset = 12;
constexpr int kNameSize = 8;
constexpr int kSettingRecords = 0x8CF4;  // block 49, 20 bytes per channel
constexpr int kSettingRecordSize = 20;

struct InitialImage {
  cmcEeprom image{cmcEeprom::kImageSize};
  std::optional<ModelType> modelType;
  int channels = 0;
  int lastBank = 0;
  std::string fileName;
};

void PutLong(cmcEeprom& image, int address, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) image.SetByte(address + i, static_cast<std::uint8_t>(value >> (24 - 8 * i)));
}

bool ReadQuoted(std::istringstream& in, std::string& text) {
  in >> std::ws;
  if (in.get() != '"') return false;
  return static_cast<bool>(std::getline(in, text, '"'));
}

bool ValidAddress(int address, int length) { return address >= 0 && address + length <= cmcEeprom::kImageSize; }

// One line of a table; false with a reason when it is wrong.
bool ApplyLine(InitialImage& initial, const std::string& line, std::string& why) {
  std::istringstream in(line.substr(0, line.find('#')));
  std::string directive;
  if (!(in >> directive)) return true;
  if (directive == "bytes") {
    int address = 0;
    in >> std::hex >> address;
    for (unsigned value = 0; in >> value; ++address) {
      if (value > 0xFF || !ValidAddress(address, 1)) return (why = "byte or address out of range", false);
      initial.image.SetByte(address, static_cast<std::uint8_t>(value));
    }
    return in.eof() || (why = "bad byte", false);
  }
  if (directive == "text") {
    int address = 0, width = 0;
    std::string text;
    if (!(in >> std::hex >> address >> std::dec >> width) || !ReadQuoted(in, text) ||
        static_cast<int>(text.size()) > width || !ValidAddress(address, width)) {
      return (why = "expected: text ADDRESS WIDTH \"TEXT\"", false);
    }
    text.resize(static_cast<std::size_t>(width), ' ');
    initial.image.WriteBlock(address, reinterpret_cast<const std::uint8_t*>(text.data()), width);
    return true;
  }
  if (directive == "model-type") {
    int number = -1;
    initial.modelType = (in >> number) ? ModelTypeFromNumber(number) : std::nullopt;
    if (!initial.modelType) return (why = "model type must be 0 to 3", false);
    memmap::SetModelFlags(initial.image, *initial.modelType);
    return true;
  }
  if (directive == "file") return static_cast<bool>(in >> initial.fileName) || (why = "missing file name", false);
  if (directive == "channel") {
    int bank = 0;
    std::uint32_t frequency = 0;
    std::string name;
    if (!(in >> bank >> frequency) || !ReadQuoted(in, name) || name.size() > kNameSize) {
      return (why = "expected: channel BANK FREQUENCY \"NAME\" (8 characters at most)", false);
    }
    if (bank < initial.lastBank || bank >= memmap::kBankCount || initial.channels >= memmap::kMaxChannels) {
      return (why = "banks must ascend from 0 to 7, 128 channels at most", false);
    }
    int n = initial.channels++;
    initial.lastBank = bank;
    int setting = kSettingRecords + kSettingRecordSize * n;
    int radio = kRadioRecords + kRadioRecordSize * n;
    PutLong(initial.image, setting, frequency);  // receive; offset 0, simplex
    PutLong(initial.image, radio, frequency);    // effective receive and transmit
    PutLong(initial.image, radio + 4, frequency);
    name.resize(kNameSize, ' ');
    initial.image.WriteBlock(radio + kNameOffset, reinterpret_cast<const std::uint8_t*>(name.data()), kNameSize);
    int sizeAddress = memmap::addr::kBankSizes + 2 * bank;
    initial.image.SetWord(sizeAddress, static_cast<std::uint16_t>(initial.image.GetWord(sizeAddress) + 1));
    return true;
  }
  why = "unknown directive '" + directive + "'";
  return false;
}

bool ApplyTable(InitialImage& initial, const std::string& path) {
  std::ifstream in(path);
  if (!in) {
    std::cerr << path << ": cannot open\n";
    return false;
  }
  std::string line, why;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!ApplyLine(initial, line, why)) {
      std::cerr << path << ':' << number << ": " << why << '\n';
      return false;
    }
  }
  return true;
}

bool Generate(const std::string& outDir, const std::string& common, const std::string& model) {
  InitialImage initial;
  if (!ApplyTable(initial, common) || !ApplyTable(initial, model)) return false;
  if (!initial.modelType || initial.fileName.empty()) {
    std::cerr << model << ": needs a model-type and a file line\n";
    return false;
  }
  if (!memmap::Encode(initial.image, *initial.modelType)) {
    std::cerr << model << ": the defaults do not fit in the radio's memory\n";
    return false;
  }
  cmcCloneFile file;
  file.AttachImage(&initial.image);
  file.SetModelCode(memmap::kMainModelCode);
  file.SetExtraCode(cloneio::kExtraCode);
  file.SetMapRevision(cloneio::kSavedMapRevision);
  file.SetComment(cmcCloneFile::CommentOf(initial.image));
  std::string path = outDir + "/" + initial.fileName;
  if (file.Write(path, memmap::RangeList(2)) != cmcCloneFile::kOk) {
    std::cerr << path << ": cannot write\n";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::cerr << "usage: rwq-initialfile OUTDIR COMMON.txt MODEL.txt...\n";
    return 2;
  }
  for (int i = 3; i < argc; ++i) {
    if (!Generate(argv[1], argv[2], argv[i])) return 1;
  }
  return 0;
}
