// What undo costs an edit: a typed name committed through the evaluator with
// and without the recorder (which copies and compares the whole image around
// every user action), and a step recorded, undone and redone.
#include <benchmark/benchmark.h>

#include <string>

#include "control/document.h"
#include "control/documentundo.h"
#include "core/gtex.h"
#include "links/celllinks.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "platform/paths.h"
#include "sheet/headless.h"

namespace {

// A PMR document whose channel 0 name is typed again and again.
struct Bench {
  Bench() {
    overlay.Open(platform::DataDir() + "QZ5071KE.OVL");
    document.LoadModel(ModelType::kPmr);
    environment.modelType = ModelType::kPmr;
  }
  void Type(int n) {
    cmcCellObj cell;
    cell.type = ct::CT_Mch;
    cell.link = cl::CL_Mch_Text_Pmr;
    cmcCellCapsule request;
    request.cell = &cell;
    request.editResult = kTextCommitted;
    request.editedText = "N";
    request.editedText += std::to_string(n % 1000);
    links.Evaluate(request, false);
  }

  cmcGTex overlay;
  Document document{overlay};
  DocumentUndo undo{document, overlay, nullptr};
  cmcFCache choices{overlay};
  NoEditors editors;
  LinkEnvironment environment{document.Edit(), overlay, choices, editors};
  CellLinks links{environment};
};

void BM_TypedNameCommitted(benchmark::State& state) {
  Bench bench;
  if (state.range(0) != 0) {
    bench.environment.recorder = &bench.undo;
  }
  int n = 0;
  for (auto _ : state) bench.Type(++n);
  state.SetLabel(state.range(0) != 0 ? "recorded" : "not recorded");
}
BENCHMARK(BM_TypedNameCommitted)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_UndoAndRedoOfATypedName(benchmark::State& state) {
  Bench bench;
  bench.environment.recorder = &bench.undo;
  bench.Type(1);
  for (auto _ : state) {
    bench.undo.Undo();
    bench.undo.Redo();
  }
}
BENCHMARK(BM_UndoAndRedoOfATypedName)->Unit(benchmark::kMicrosecond);

}  // namespace
