// The clone driver against the simulated radio on its pseudo-terminal: whole
// transfers of a shipped clone file, the radio's faults, a one-wire cable,
// record lengths and the clone password.

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "clone/clonedrv.h"
#include "managerscript.h"
#include "model/clonefile.h"
#include "model/memorymap.h"
#include "platform/clock.h"
#include "runtime/taskscheduler.h"
#include "support/child_process.h"
#include "support/locked_clone_file.h"
#include "support/radio_process.h"
#include "support/temp_dir.h"

namespace {

const std::string kFile = std::string(RWQ_SOURCE_DATA_DIR) + "/Initial_dPMR446.rwc";
const std::vector<memmap::AddressRange> kReadRanges = {{0x0000, 0x7D7F}};
const std::vector<memmap::AddressRange> kWriteRanges = {{0x0200, 0x7D7F}};
// Shorter transfers for the tests of single behaviours: a radio started with
// --top 0FFF reads these addresses.
const std::vector<memmap::AddressRange> kShortRead = {{0x0000, 0x0FFF}};
const std::vector<memmap::AddressRange> kShortWrite = {{0x0200, 0x0FFF}};

// The raw area of a clone file, with its header codes.
struct LoadedFile {
  cmcEeprom image{cmcEeprom::kImageSize};
  int modelCode = 0;
  int extraCode = 0;
};

LoadedFile Load(const std::string& path) {
  LoadedFile loaded;
  cmcCloneFile file;
  file.AttachImage(&loaded.image);
  file.SetMapRevCheck([](int) { return true; });
  file.SetHeaderCheck([&](int model, int extra, cmcCloneFile::Error&) {
    loaded.modelCode = model;
    loaded.extraCode = extra;
    return true;
  });
  EXPECT_EQ(file.Read(path, nullptr), cmcCloneFile::kOk) << path;
  return loaded;
}

class RadioSimTest : public testing::Test {
 protected:
  // Starts the radio with the options after --file and points the driver at
  // it as the clone manager would prepare a transfer (without the script).
  void StartRadio(std::vector<std::string> options, const std::string& file = kFile) {
    options.insert(options.begin(), {"--file", file});
    radio = std::make_unique<RadioProcess>(BuiltProgram("rw-m52-q-radiosim"), options, temp.File("radio.log"));
    ASSERT_FALSE(radio->TerminalPath().empty()) << ReadWholeFile(temp.File("radio.log"));
  }

  void Configure(bool highSpeed, bool writeMode) {
    driver.SetPortPath(radio->TerminalPath(), highSpeed ? "38400,N,8,1" : "9600,N,8,1");
    driver.SetRequestPreamble(highSpeed ? 48 : 12);
    driver.SetDataPreamble(0);
    driver.SetScript("");
    driver.SetEcho(false);
    driver.SetEchoTest(true);
    driver.SetEndCount(true);
    driver.SetWaitAfterWriteRequest(true);
    driver.SetFlowControl(128, 0);
    driver.SetTimeout(writeMode ? 2000 : 1000);
    driver.SetWriteRequestTimeout(5000);
    driver.SetImageSize(cmcEeprom::kImageSize);
    driver.SetFrameParameters(0x3620, writeMode ? 0x0000 : 0x0106);
    driver.SetRtsControl(1);
  }

  // Runs the scheduler on real time until the completion, sleeping until the
  // next task is due.
  CloneCode Run(const std::function<bool(cmcCloneDrv::Completion)>& start) {
    calls = 0;
    EXPECT_TRUE(start([this](dst_CDrv_Result& r) {
      ++calls;
      result = std::move(r);
    }));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (calls == 0 && std::chrono::steady_clock::now() < deadline) {
      scheduler.RunDue();
      const std::uint32_t wait = std::min<std::uint32_t>(scheduler.MsUntilNextDue().value_or(1), 5);
      std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    }
    EXPECT_EQ(calls, 1) << ReadWholeFile(temp.File("radio.log"));
    return result.code;
  }
  CloneCode Information() {
    return Run([this](cmcCloneDrv::Completion done) { return driver.StartInformation(std::move(done)); });
  }
  CloneCode Read(const std::vector<memmap::AddressRange>& ranges = kReadRanges) {
    return Run([&](cmcCloneDrv::Completion done) { return driver.StartRead(ranges, std::move(done)); });
  }
  CloneCode Write(const cmcEeprom& image, const std::vector<memmap::AddressRange>& ranges = kWriteRanges) {
    return Run([&](cmcCloneDrv::Completion done) { return driver.StartWrite(image, ranges, std::move(done)); });
  }

  void ExpectReadMatches(const cmcEeprom& expected, int first = 0x0000, int last = 0x7D7F) {
    for (int a = first; a <= last; ++a) ASSERT_EQ(result.image.GetByte(a), expected.GetByte(a)) << a;
  }

  TempDir temp;
  std::unique_ptr<RadioProcess> radio;
  platform::SteadyClock clock;
  TaskScheduler scheduler{clock};
  cmcCloneDrv driver{scheduler, clock};
  dst_CDrv_Result result;
  int calls = 0;
};

TEST_F(RadioSimTest, InformationAfterTheManagersScript) {
  StartRadio({});
  Configure(false, false);
  driver.SetScript(ManagerScript(false, false));
  ASSERT_EQ(Information(), CloneCode::kSuccess);
  const LoadedFile file = Load(kFile);
  EXPECT_EQ(result.a, file.modelCode);
  EXPECT_EQ(result.identification.Length(), 78u);
  EXPECT_EQ(result.identification.Data()[0], 78);
  EXPECT_FALSE(driver.Echo());
}

TEST_F(RadioSimTest, AFullReadAndAFullWriteAtBothSpeeds) {
  const std::string saved = temp.File("saved.rwc");
  StartRadio({"--save-after-write", saved});
  const LoadedFile file = Load(kFile);
  cmcEeprom changed = file.image;
  for (int a = 0x0300; a < 0x7D80; a += 97) changed.SetByte(a, static_cast<std::uint8_t>(changed.GetByte(a) ^ 0x5A));
  for (bool high : {false, true}) {
    SCOPED_TRACE(high ? "38400" : "9600");
    Configure(high, false);
    ASSERT_EQ(Read(), CloneCode::kSuccess);
    EXPECT_EQ(driver.FrameCount(), 0x7D80 / 16);
    ExpectReadMatches(high ? changed : file.image);

    Configure(high, true);
    ASSERT_EQ(Write(changed), CloneCode::kSuccess);
    EXPECT_EQ(driver.FrameCount(), 1976);
    const LoadedFile written = Load(saved);
    for (int a = 0x0200; a <= 0x7D7F; ++a) ASSERT_EQ(written.image.GetByte(a), changed.GetByte(a)) << a;
  }
}

TEST_F(RadioSimTest, EveryFaultOfTheRadioEndsInItsCode) {
  struct Case {
    std::vector<std::string> options;
    bool write;
    CloneCode code;
  };
  const Case cases[] = {
      {{"--fault", "bad-checksum:7"}, false, CloneCode::kBadFrame},
      {{"--fault", "wrong-count"}, false, CloneCode::kFrameCountMismatch},
      {{"--fault", "silence-after:100"}, false, CloneCode::kTimeout},
      {{"--fault", "refuse"}, true, CloneCode::kBadFrame},
      {{"--fault", "refuse:5"}, true, CloneCode::kBadFrame},
      {{"--fault", "drop-fb:9"}, true, CloneCode::kTimeout},
      {{"--fault", "no-confirm"}, true, CloneCode::kTimeout},
      {{"--fault", "silence-after:10"}, true, CloneCode::kTimeout},
      {{"--top", "07FF"}, false, CloneCode::kAddressesMissing},
  };
  const LoadedFile file = Load(kFile);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.options.back());
    std::vector<std::string> options = c.options;
    if (options.front() != "--top") options.insert(options.end(), {"--top", "0FFF"});
    StartRadio(options);
    Configure(false, c.write);
    const CloneCode code = c.write ? Write(file.image, kShortWrite) : Read(kShortRead);
    EXPECT_EQ(code, c.code);
    radio.reset();
  }
}

TEST_F(RadioSimTest, ARadioThatHangsUpNeverEndsInSuccess) {
  const LoadedFile file = Load(kFile);
  for (bool write : {false, true}) {
    StartRadio({"--fault", "hangup-after:40"});
    Configure(true, write);
    const CloneCode code = write ? Write(file.image) : Read();
    EXPECT_NE(code, CloneCode::kSuccess);
    radio.reset();
  }
}

TEST_F(RadioSimTest, NoiseBetweenMessagesIsDropped) {
  StartRadio({"--fault", "garbage:8", "--top", "0FFF"});
  const LoadedFile file = Load(kFile);
  Configure(true, false);
  ASSERT_EQ(Read(kShortRead), CloneCode::kSuccess);
  ExpectReadMatches(file.image, 0x0000, 0x0FFF);
  Configure(true, true);
  EXPECT_EQ(Write(file.image, kShortWrite), CloneCode::kSuccess);
}

TEST_F(RadioSimTest, OnAOneWireCableTheEchoIsFoundAndChecked) {
  StartRadio({"--echo", "--top", "0FFF"});
  const LoadedFile file = Load(kFile);
  Configure(false, false);
  ASSERT_EQ(Read(kShortRead), CloneCode::kSuccess);
  EXPECT_TRUE(driver.Echo());
  ExpectReadMatches(file.image, 0x0000, 0x0FFF);
  Configure(true, true);
  EXPECT_EQ(Write(file.image, kShortWrite), CloneCode::kSuccess);
  EXPECT_TRUE(driver.Echo());
}

TEST_F(RadioSimTest, RecordsOfSeveralEvenLengths) {
  const LoadedFile file = Load(kFile);
  for (const char* length : {"2", "6", "64", "128", "254"}) {
    SCOPED_TRACE(length);
    StartRadio({"--record-length", length, "--top", "0FFF"});
    Configure(true, false);
    ASSERT_EQ(Read(kShortRead), CloneCode::kSuccess);
    ExpectReadMatches(file.image, 0x0000, 0x0FFF);
    radio.reset();
  }
}

TEST_F(RadioSimTest, AClonePasswordRightAndWrong) {
  // A copy of the shipped file with the clone password "tarn" in its settings.
  const std::string locked = LockedCloneFile(kFile, temp.File("locked.rwc"), "tarn");
  ASSERT_FALSE(locked.empty());

  StartRadio({"--top", "0FFF"}, locked);
  Configure(false, false);
  ASSERT_EQ(Information(), CloneCode::kSuccess);
  ASSERT_EQ(result.identification.Length(), 78u);
  EXPECT_NE(result.identification.Data()[53] & 0x08, 0) << "the radio reports its password";

  struct Case {
    std::string given;
    CloneCode code;
  };
  const Case cases[] = {{"tarn", CloneCode::kSuccess}, {"tarm", CloneCode::kTimeout}, {"", CloneCode::kTimeout}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.given);
    Configure(false, false);
    driver.SetScript(ManagerScript(false, false, c.given));
    EXPECT_EQ(Read(kShortRead), c.code);
  }
}

}  // namespace
