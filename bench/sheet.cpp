// The 128-row land-mobile channel sheet (all 128 channels in use), built and
// evaluated headless, beside the time of merely evaluating the same cells
// through the evaluator.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "landmobile.h"
#include "sheet/sheettext.h"

namespace {

FullLandMobile& Fixture() {
  static FullLandMobile fixture;
  return fixture;
}

void CountCells(benchmark::State& state, const cuiSheet& sheet) {
  state.counters["rows"] = sheet.Rows();
  state.counters["cells"] = static_cast<double>(sheet.Rows()) * sheet.Columns();
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * sheet.Rows() * sheet.Columns());
}

// Reads the definition, parses and sizes every cell, then evaluates every cell's text.
void BuildAndEvaluateLmrSheet(benchmark::State& state) {
  FullLandMobile& fixture = Fixture();
  std::unique_ptr<cuiSheet> sheet;
  for (auto _ : state) {
    sheet = fixture.Sheet();
    sheet->Build();
    for (int row = 0; row < sheet->Rows(); ++row) benchmark::DoNotOptimize(RowTexts(*sheet, row));
  }
  CountCells(state, *sheet);
}
BENCHMARK(BuildAndEvaluateLmrSheet)->Unit(benchmark::kMillisecond);

// The build alone: definition, cells and sizes, without a value.
void BuildLmrSheet(benchmark::State& state) {
  FullLandMobile& fixture = Fixture();
  std::unique_ptr<cuiSheet> sheet;
  for (auto _ : state) {
    sheet = fixture.Sheet();
    benchmark::DoNotOptimize(sheet->Build());
  }
  CountCells(state, *sheet);
}
BENCHMARK(BuildLmrSheet)->Unit(benchmark::kMillisecond);

// The same cells' texts straight from the evaluator, as a sheet asks for them.
void EvaluateLmrSheetCells(benchmark::State& state) {
  FullLandMobile& fixture = Fixture();
  std::unique_ptr<cuiSheet> sheet = fixture.Sheet();
  sheet->Build();
  std::vector<cmcCellObj> cells;
  for (int row = 0; row < sheet->Rows(); ++row) {
    for (int column = 0; column < sheet->Columns(); ++column) cells.push_back(sheet->CellAt(column, row)->cell);
  }
  for (auto _ : state) {
    for (cmcCellObj& cell : cells) {
      if (cell.link == kNoCellLink) {
        benchmark::DoNotOptimize(DisplayTextOf(cell));
        continue;
      }
      cmcCellCapsule request;
      request.cell = &cell;
      fixture.links.Evaluate(request, false);
      benchmark::DoNotOptimize(request.displayText);
    }
  }
  CountCells(state, *sheet);
}
BENCHMARK(EvaluateLmrSheetCells)->Unit(benchmark::kMillisecond);

}  // namespace
