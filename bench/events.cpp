// Posting and pumping a million events through ten listeners.
#include "runtime/events.h"

#include <benchmark/benchmark.h>

#include "platform/clock.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"

namespace {

constexpr int kListeners = 10;
constexpr int kEvents = 1000000;

void Count(void* data, const Event& event) { *static_cast<std::int64_t*>(data) += event.argument; }

void BM_PostAndPumpAMillionEventsThroughTenListeners(benchmark::State& state) {
  platform::ManualClock clock;
  TaskScheduler scheduler(clock);
  cmcEvMan events(scheduler);
  std::int64_t sums[kListeners] = {};
  for (auto& sum : sums) events.AddListener(&Count, &sum);
  for (auto _ : state) {
    for (int i = 0; i < kEvents; ++i) events.Post(ev::kRefresh, nullptr, 1);
    clock.Advance(cmcEvMan::kPumpIntervalMs);
    scheduler.RunDue();
  }
  benchmark::DoNotOptimize(sums);
  if (sums[0] != static_cast<std::int64_t>(state.iterations()) * kEvents) state.SkipWithError("events were lost");
  state.SetItemsProcessed(state.iterations() * kEvents);
}
BENCHMARK(BM_PostAndPumpAMillionEventsThroughTenListeners)->Unit(benchmark::kMillisecond);

}  // namespace
