// Index building and lookups on the shipped English overlay and on a generated
// overlay of more than 2 MB. The shipped overlay is read from the data folder.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "platform/paths.h"

namespace {

constexpr int kBlocks = 5000;
constexpr int kLinesPerBlock = 8;

std::string BlockName(int i) { return "GI_Sheet_Bench" + std::to_string(i) + "_Cells"; }

// A generated overlay: kBlocks blocks of kLinesPerBlock cell-like lines each.
const std::string& GeneratedOverlay() {
  static const std::string path = [] {
    std::string file = (std::filesystem::temp_directory_path() / "rwq-bench-overlay.OVL").string();
    std::ofstream out(file, std::ios::binary);
    for (int i = 0; i < kBlocks; ++i) {
      out << '#' << BlockName(i) << '\n';
      for (int line = 0; line < kLinesPerBlock; ++line) {
        out << "|{($eWh)^(%CL_Mch_RxFreq[" << line << "])}Receive frequency " << i << '|' << line << "\t{(Tip)}\n";
      }
      out << "#\n";
    }
    out << "#End_Of_Ovl\n";
    return file;
  }();
  return path;
}

void IndexWholeGenerated(benchmark::State& state) {
  const std::string& file = GeneratedOverlay();
  state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
  for (auto _ : state) {
    cmcGTex reader;
    reader.Open(file);
    benchmark::DoNotOptimize(reader.GetLine(BlockName(kBlocks - 1), 0));  // indexes to the end
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::filesystem::file_size(file)));
}
BENCHMARK(IndexWholeGenerated)->Unit(benchmark::kMillisecond);

void RandomLookupsGenerated(benchmark::State& state) {
  cmcGTex reader;
  reader.Open(GeneratedOverlay());
  std::mt19937 random(42);
  std::uniform_int_distribution<int> block(0, kBlocks - 1);
  std::uniform_int_distribution<int> line(0, kLinesPerBlock - 1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(reader.GetLine(BlockName(block(random)), static_cast<std::size_t>(line(random))));
  }
}
BENCHMARK(RandomLookupsGenerated);

void RandomBlockTextGenerated(benchmark::State& state) {
  cmcGTex reader;
  reader.Open(GeneratedOverlay());
  std::mt19937 random(7);
  std::uniform_int_distribution<int> block(0, kBlocks - 1);
  for (auto _ : state) benchmark::DoNotOptimize(reader.GetBlockText(BlockName(block(random))));
}
BENCHMARK(RandomBlockTextGenerated);

// Opens the shipped overlay and looks up 16 of the blocks the program asks for.
void ShippedEnglishOverlay(benchmark::State& state) {
  std::vector<std::string_view> names;
  for (const RequiredBlock& block : RequiredBlocks()) {
    if (block.overlay == OverlayKind::kMain) names.push_back(block.name);
  }
  const std::string file = platform::DataDir() + "QZ5071KE.OVL";
  std::mt19937 random(1);
  std::uniform_int_distribution<std::size_t> pick(0, names.size() - 1);
  for (auto _ : state) {
    cmcGTex reader;
    reader.Open(file);
    for (int i = 0; i < 16; ++i) benchmark::DoNotOptimize(reader.GetLine(names[pick(random)], 0));
  }
}
BENCHMARK(ShippedEnglishOverlay);

}  // namespace
