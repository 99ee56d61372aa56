// A full clone file through the engine: read, decode, encode, write. The copy
// of the same file is the floor that no clone-file save can beat.

#include "model/clonefile.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "model/eeprom.h"
#include "model/memorymap.h"
#include "platform/paths.h"

namespace {

constexpr ModelType kModelType = ModelType::kDpmr446;  // the dPMR446 file has the most blocks

std::string Source() { return platform::DataDir() + "Initial_dPMR446.rwc"; }
std::string Target() {
  return (std::filesystem::temp_directory_path() / ("rwq-bench-" + std::to_string(getpid()) + ".rwc")).string();
}

cmcCloneFile FileFor(cmcEeprom& image) {
  cmcCloneFile file;
  file.AttachImage(&image);
  file.SetModelCode(0x3620);
  file.SetExtraCode(6);
  file.SetMapRevision(7);
  file.SetMapRevCheck([](int revision) { return revision <= 7; });
  return file;
}

cmcEeprom LoadedImage() {
  cmcEeprom image(cmcEeprom::kImageSize);
  cmcCloneFile file = FileFor(image);
  if (file.Read(Source(), nullptr) != cmcCloneFile::kOk) {
    std::fprintf(stderr, "cannot read %s\n", Source().c_str());
    std::exit(1);
  }
  memmap::Decode(image);
  return image;
}

void BM_Read(benchmark::State& state) {
  cmcEeprom image(cmcEeprom::kImageSize);
  cmcCloneFile file = FileFor(image);
  const cmcCloneFile::Ranges all = memmap::RangeList(3);
  std::string path = Source();
  for (auto _ : state) {
    if (file.Read(path, &all) != 0) state.SkipWithError("read failed");
  }
}

void BM_Decode(benchmark::State& state) {
  cmcEeprom image = LoadedImage();
  for (auto _ : state) {
    memmap::Decode(image);
    benchmark::DoNotOptimize(image.Data());
  }
}

void BM_Encode(benchmark::State& state) {
  cmcEeprom image = LoadedImage();
  for (auto _ : state) {
    if (!memmap::Encode(image, kModelType)) state.SkipWithError("encode failed");
  }
}

void BM_Write(benchmark::State& state) {
  cmcEeprom image = LoadedImage();
  cmcCloneFile file = FileFor(image);
  const cmcCloneFile::Ranges all = memmap::RangeList(2);
  std::string path = Target();
  for (auto _ : state) {
    if (file.Write(path, all) != 0) state.SkipWithError("write failed");
  }
  std::filesystem::remove(path);
}

void BM_ReadDecodeEncodeWrite(benchmark::State& state) {
  cmcEeprom image(cmcEeprom::kImageSize);
  cmcCloneFile file = FileFor(image);
  const cmcCloneFile::Ranges all = memmap::RangeList(3);
  std::string source = Source(), target = Target();
  for (auto _ : state) {
    bool ok = file.Read(source, &all) == 0;
    memmap::Decode(image);
    ok = ok && memmap::Encode(image, kModelType) && file.Write(target, all) == 0;
    if (!ok) state.SkipWithError("round trip failed");
  }
  std::filesystem::remove(target);
}

// The floor: what cp does with the same file.
void BM_CopyFile(benchmark::State& state) {
  std::string source = Source(), target = Target();
  for (auto _ : state) {
    std::filesystem::copy_file(source, target, std::filesystem::copy_options::overwrite_existing);
  }
  std::filesystem::remove(target);
}

}  // namespace

BENCHMARK(BM_Read)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Decode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Encode)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Write)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadDecodeEncodeWrite)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_CopyFile)->Unit(benchmark::kMicrosecond);
