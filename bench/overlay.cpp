// Index building and lookups on the shipped English overlay and on a generated
// overlay of more than 2 MB. Run from the folder that holds the data.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "core/gtex.h"

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

void ShippedEnglishOverlay(benchmark::State& state) {
  const char* names[] = {"GI_Sys_AppTitle", "GI_Sys_MyHelpOvl"};
  std::mt19937 random(1);
  for (auto _ : state) {
    cmcGTex reader;
    reader.Open("QZ5071KE.OVL");
    for (int i = 0; i < 16; ++i) benchmark::DoNotOptimize(reader.GetLine(names[random() % 2], 0));
  }
}
BENCHMARK(ShippedEnglishOverlay);

}  // namespace
