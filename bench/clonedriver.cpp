// A full read and a full write of the dPMR446 initial image through the clone
// driver and the simulated radio, paced at the line rate, at 38400 and 9600
// baud. Beside each time: the wire time (every byte read and handed to the
// line, 10 bits at the baud rate) and the fixed pauses of opening the line and
// of the echo test on a cable without echo; the ratio of the time to their sum
// is how much the stepping costs.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "clone/clonedrv.h"
#include "clone/linesetup.h"
#include "model/clonefile.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "runtime/taskscheduler.h"
#include "support/radio_process.h"

namespace {

// Settle after the open, the echo test's pause and its listening.
constexpr double kFixedPausesMs = LineSetup::kSettlePauseMs + LineSetup::kEchoPhaseMs + LineSetup::kEchoPhaseMs;

std::string ProgramDir() { return std::filesystem::read_symlink("/proc/self/exe").parent_path().string() + "/"; }
std::string ImageFile() { return platform::DataDir() + "Initial_dPMR446.rwc"; }

cmcEeprom LoadImage() {
  cmcEeprom image(cmcEeprom::kImageSize);
  cmcCloneFile file;
  file.AttachImage(&image);
  file.SetMapRevCheck([](int) { return true; });
  file.SetHeaderCheck([](int, int, cmcCloneFile::Error&) { return true; });
  if (file.Read(ImageFile(), nullptr) != cmcCloneFile::kOk) image.Resize(0);
  return image;
}

void BM_Transfer(benchmark::State& state, bool write, int baud) {
  const cmcEeprom image = LoadImage();
  if (image.Size() == 0) {
    state.SkipWithError("no image");
    return;
  }
  RadioProcess radio(ProgramDir() + "rw-m52-q-radiosim", {"--file", ImageFile(), "--pace"});
  if (radio.TerminalPath().empty()) {
    state.SkipWithError("the simulated radio did not start");
    return;
  }
  platform::SteadyClock clock;
  TaskScheduler scheduler(clock);
  cmcCloneDrv driver(scheduler, clock);
  const bool high = baud == 38400;
  driver.SetPortPath(radio.TerminalPath(), high ? "38400,N,8,1" : "9600,N,8,1");
  driver.SetRequestPreamble(high ? 48 : 12);
  driver.SetFlowControl(128, 0);
  driver.SetWaitAfterWriteRequest(true);
  driver.SetTimeout(write ? 2000 : 1000);
  driver.SetWriteRequestTimeout(5000);
  driver.SetImageSize(cmcEeprom::kImageSize);
  driver.SetFrameParameters(0x3620, 0);
  const std::vector<memmap::AddressRange> ranges = {{write ? 0x0200 : 0x0000, 0x7D7F}};

  for (auto _ : state) {
    bool done = false;
    CloneCode code = CloneCode::kPortNotOpen;
    auto finish = [&](dst_CDrv_Result& result) {
      done = true;
      code = result.code;
    };
    const auto start = std::chrono::steady_clock::now();
    if (write) {
      driver.StartWrite(image, ranges, finish);
    } else {
      driver.StartRead(ranges, finish);
    }
    while (!done) {
      scheduler.RunDue();
      const std::optional<std::uint32_t> due = scheduler.MsUntilNextDue();
      if (due && *due > 0) std::this_thread::sleep_for(std::chrono::milliseconds(*due));
    }
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(ms / 1000);
    if (code != CloneCode::kSuccess) {
      state.SkipWithError(("transfer failed with code " + std::to_string(static_cast<int>(code))).c_str());
      return;
    }
    const double wireMs = static_cast<double>(driver.BytesMoved()) * 10 * 1000 / baud;
    state.counters["bytes"] = static_cast<double>(driver.BytesMoved());
    state.counters["wire_s"] = wireMs / 1000;
    state.counters["pauses_s"] = kFixedPausesMs / 1000;
    state.counters["ratio"] = ms / (wireMs + kFixedPausesMs);
  }
}

BENCHMARK_CAPTURE(BM_Transfer, Read38400, false, 38400)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_Transfer, Write38400, true, 38400)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_Transfer, Read9600, false, 9600)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK_CAPTURE(BM_Transfer, Write9600, true, 9600)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

}  // namespace
