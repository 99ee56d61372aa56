// libFuzzer target: any bytes as a clone file, read with the application's
// codes, checks and messages (the shipped main overlay, from memory); a file
// that reads goes through the checks of the open command and the decode, and
// is written out and read back. The same bytes also serve as a raw area for
// decode, the initial decode, the identity check and encode.
//
// Findings: a crash or sanitizer report, the fatal stop (every message the
// reader shows is a shipped block), and a file that reads but does not read
// back the same once saved.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/gtex.h"
#include "core/textutil.h"
#include "fuzz_support.h"
#include "model/clonefile.h"
#include "model/cloneio.h"
#include "model/eeprom.h"
#include "model/memorymap.h"
#include "platform/messagebox.h"

namespace {

class SilentMessageBox : public platform::MessageBox {
 public:
  platform::MsgAnswer Show(const platform::MsgRequest& request) override {
    return platform::FirstButton(request.buttons);
  }
};

// The shipped main overlay, read from memory and kept for every run as the
// program keeps it.
cmcGTex& Overlay() {
  static cmcGTex overlay;
  return overlay;
}

// Images kept from run to run, so a run spends its time reading rather than
// allocating and zeroing pages.
struct Images {
  cmcEeprom candidate{cmcEeprom::kImageSize};
  cmcEeprom written{cmcEeprom::kImageSize};
  cmcEeprom reread{cmcEeprom::kImageSize};
  cmcEeprom raw{cmcEeprom::kImageSize};
  cmcEeprom decoded{cmcEeprom::kImageSize};
};
Images& Scratch() {
  static Images images;
  return images;
}

// The address ranges of the data lines of `content` that a read accepted, in
// file order: four hexadecimal digits of address, two of count.
cmcCloneFile::Ranges DataLineRanges(std::string_view content) {
  cmcCloneFile::Ranges ranges;
  bool header = true;
  while (!content.empty()) {
    const std::size_t lf = content.find('\n');
    const std::string_view line = content.substr(0, lf);
    content.remove_prefix(lf == std::string_view::npos ? content.size() : lf + 1);
    if (std::exchange(header, false) || line.starts_with('#')) continue;
    const int address = static_cast<int>(HexNumber(line.substr(0, 4)).value_or(0));
    const int count = static_cast<int>(HexNumber(line.substr(4, 2)).value_or(0));
    ranges.emplace_back(address, address + count - 1);
  }
  return ranges;
}

// The data of a file that was read, written as the application writes and
// read again: the same bytes, and the revision the writer puts in.
bool ReadsBackTheSame(std::string_view content, const cmcEeprom& image) {
  cmcCloneFile writer;
  cmcEeprom& written = Scratch().written;
  written = image;
  writer.AttachImage(&written);
  writer.SetModelCode(memmap::kMainModelCode);
  writer.SetExtraCode(cloneio::kExtraCode);
  writer.SetMapRevision(cloneio::kSavedMapRevision);
  const std::string text = writer.Format(DataLineRanges(content));

  cmcEeprom& reread = Scratch().reread;
  reread.Fill(0);
  cmcCloneFile reader;
  reader.AttachImage(&reread);
  reader.SetModelCode(memmap::kMainModelCode);
  reader.SetExtraCode(cloneio::kExtraCode);
  reader.SetMapRevCheck([](int) { return true; });
  return reader.Parse(text, nullptr) == cmcCloneFile::kOk && reader.MapRevision() == cloneio::kSavedMapRevision &&
         std::equal(image.Data(), image.Data() + image.Size(), reread.Data());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::TreatFatalStopAsFinding();
  static SilentMessageBox box;
  platform::InstallMessageBox(&box);
  Overlay().OpenText(fuzz::MainOverlayText());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view content(reinterpret_cast<const char*>(data), size);

  cmcEeprom& candidate = Scratch().candidate;
  candidate.Fill(0);
  cmcCloneFile file;
  file.AttachImage(&candidate);
  cloneio::FileHeader header;
  cloneio::Configure(file, Overlay(), &header);
  if (file.Parse(content, nullptr) == cmcCloneFile::kOk) {
    fuzz::Require(ReadsBackTheSame(content, candidate), "a file that reads does not read back the same");
    // The checks of the open command, in its order, then the decode of the opened image.
    if (memmap::IdentityCheck(candidate, memmap::IdentityLevel::kBasic) == 0 && !memmap::IsNewerData(candidate, true)) {
      const cmcCloneFile::Ranges required = memmap::RangeList(3);
      const cmcCloneFile::Error coverage = file.CoverageCheck(&required);
      fuzz::Require(
          coverage == cmcCloneFile::kOk || coverage == cmcCloneFile::kCoverage || coverage == cmcCloneFile::kData,
          "a coverage check with a result it does not give");
    }
    memmap::Decode(candidate);
  }

  cmcEeprom& raw = Scratch().raw;
  raw.Fill(0);
  raw.WriteBlock(0, data, static_cast<int>(std::min<std::size_t>(size, cmcEeprom::kRawSize)));
  cmcEeprom& decoded = Scratch().decoded;
  decoded = raw;
  memmap::Decode(decoded);
  memmap::IdentityCheck(decoded, memmap::IdentityLevel::kFull);
  // One model type per run, chosen by the input, keeps the run short.
  cmcEeprom& encoded = Scratch().written;
  encoded = decoded;
  if (memmap::Encode(encoded, kAllModelTypes[size % kAllModelTypes.size()])) memmap::Decode(encoded);
  decoded = raw;
  memmap::DecodeInitial(decoded);
  return 0;
}
