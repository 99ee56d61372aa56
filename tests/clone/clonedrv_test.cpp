#include "clone/clonedrv.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "managerscript.h"
#include "platform/clock.h"
#include "runtime/taskscheduler.h"
#include "simulatedline.h"
#include "testradio.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Ascii(std::string_view text) { return Bytes(text.begin(), text.end()); }
Bytes Fill(std::uint8_t byte, std::size_t n) { return Bytes(n, byte); }
Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const Bytes kEchoProbe = {0xFE, 0xFE, 0xFE, 0xFE};

// The clone driver on a simulated line with a radio at its other end, on a
// clock that the test steps.
class CloneDrvTest : public testing::Test {
 protected:
  CloneDrvTest() {
    auto owned = std::make_unique<SimulatedLine>(clock);
    line = owned.get();
    driver = std::make_unique<cmcCloneDrv>(scheduler, clock, std::move(owned));
    line->peer = [this](std::uint8_t byte) { radio.OnByte(byte); };
    Configure(false);
  }

  // As the clone manager prepares a transfer, without the script.
  void Configure(bool highSpeed) {
    driver->SetPort(1, highSpeed ? "38400,N,8,1" : "9600,N,8,1");
    driver->SetRequestPreamble(highSpeed ? 48 : 12);
    driver->SetDataPreamble(0);
    driver->SetEcho(false);
    driver->SetEchoTest(true);
    driver->SetEndCount(true);
    driver->SetWaitAfterWriteRequest(true);
    driver->SetFlowControl(128, 0);
    driver->SetTimeout(1000);
    driver->SetImageSize(cmcEeprom::kImageSize);
    driver->SetFrameParameters(0x3620, 0x0106);
  }

  cmcCloneDrv::Completion Done() {
    return [this](dst_CDrv_Result& r) {
      ++calls;
      busyInCallback = driver->IsBusy();
      lineOpenInCallback = line->IsOpen();
      doneAt = clock.NowMs();
      result = std::move(r);
    };
  }

  // Steps the scheduler from one due time to the next until the operation has
  // completed or limitMs have passed; whether it completed.
  bool Run(std::uint32_t limitMs = 600000) {
    const std::uint32_t start = clock.NowMs();
    while (calls == 0 && clock.NowMs() - start < limitMs) {
      const std::optional<std::uint32_t> due = scheduler.MsUntilNextDue();
      if (!due) break;
      clock.Advance(std::max<std::uint32_t>(*due, 1));
      scheduler.RunDue();
    }
    return calls > 0;
  }

  CloneCode RunRead(std::vector<memmap::AddressRange> ranges) {
    EXPECT_TRUE(driver->StartRead(ranges, Done()));
    EXPECT_TRUE(Run());
    EXPECT_EQ(calls, 1);
    return result.code;
  }

  CloneCode RunWrite(const cmcEeprom& image, std::vector<memmap::AddressRange> ranges) {
    EXPECT_TRUE(driver->StartWrite(image, ranges, Done()));
    EXPECT_TRUE(Run());
    EXPECT_EQ(calls, 1);
    return result.code;
  }

  // An image for writes: a pattern over the raw area.
  static cmcEeprom WriteImage() {
    cmcEeprom image(cmcEeprom::kImageSize);
    for (int a = 0; a < cmcEeprom::kRawSize; ++a) image.SetByte(a, static_cast<std::uint8_t>(a ^ (a >> 7)));
    return image;
  }

  platform::ManualClock clock{5000};
  TaskScheduler scheduler{clock};
  SimulatedLine* line = nullptr;
  TestRadio radio{[this](const Bytes& bytes, double delayMs) {
                    if (delayMs > 0) {
                      line->PeerSendAt(line->PeerTime() + delayMs, bytes);
                    } else {
                      line->PeerSend(bytes);
                    }
                  },
                  [this] { return line->PeerTime(); }};
  std::unique_ptr<cmcCloneDrv> driver;
  dst_CDrv_Result result;
  int calls = 0;
  bool busyInCallback = true;
  bool lineOpenInCallback = true;
  std::uint32_t doneAt = 0;
};

TEST_F(CloneDrvTest, InformationSendsTheEchoProbeAndTheRequestAndTakesTheReply) {
  ASSERT_TRUE(driver->StartInformation(Done()));
  EXPECT_TRUE(driver->IsBusy());
  ASSERT_TRUE(Run());
  EXPECT_EQ(result.kind, CloneKind::kInformation);
  EXPECT_EQ(result.code, CloneCode::kSuccess);
  EXPECT_EQ(result.a, 0x3620);
  EXPECT_EQ(result.b, 0x0006);
  EXPECT_EQ(Bytes(result.identification.Bytes().begin(), result.identification.Bytes().end()), radio.identification);
  ASSERT_EQ(line->sessions.size(), 1u);
  EXPECT_EQ(line->sessions[0].settings, "9600,N,8,1");
  EXPECT_EQ(line->sessions[0].bytes,
            Join({kEchoProbe, Fill(0xFE, 12), {0xFE, 0xFE, 0xEE, 0xEF, 0xE0, 0x36, 0x20, 0x01, 0x06, 0xFD}}));
  EXPECT_FALSE(driver->Echo());
  EXPECT_FALSE(busyInCallback);
  EXPECT_FALSE(lineOpenInCallback);
  EXPECT_FALSE(driver->IsBusy());
}

TEST_F(CloneDrvTest, AnInformationReplyThatIsNotPackedBcdOrNoReplyFails) {
  struct Case {
    std::optional<Bytes> reply;
    CloneCode code;
  };
  const Case cases[] = {
      {Bytes{0xFE, 0xFE, 0xEF, 0xEE, 0xE1, 0x36, 0x2A, 0x00, 0x06, 78, 0xFD}, CloneCode::kBadFrame},
      {Bytes{0xFE, 0xFE, 0xEF, 0xEE, 0xE1, 0x36, 0x20, 0x00, 0xFD}, CloneCode::kBadFrame},
      {Bytes{0xFE, 0xFE, 0xEF, 0xEE, 0xE4, 0x36, 0x20, 0x00, 0x06, 0xFD}, CloneCode::kBadFrame},
      {std::nullopt, CloneCode::kTimeout},
  };
  for (const Case& c : cases) {
    calls = 0;
    radio.informationReply = c.reply;
    radio.answerInformation = c.reply.has_value();
    ASSERT_TRUE(driver->StartInformation(Done()));
    ASSERT_TRUE(Run());
    EXPECT_EQ(result.code, c.code);
    EXPECT_EQ(result.a, 0x3620) << "the frame parameter stays";
    EXPECT_EQ(result.b, 0x0106);
  }
}

TEST_F(CloneDrvTest, AMissingReplyTimesOutAfterTheInformationLimit) {
  radio.answerInformation = false;
  ASSERT_TRUE(driver->StartInformation(Done()));
  ASSERT_TRUE(Run());
  EXPECT_EQ(result.code, CloneCode::kTimeout);
  // Open, 100 ms settle, echo test (100 ms pause and 100 ms listening), the
  // request, then one second without progress.
  const double requestSent = line->sessions[0].openedAt + 300;
  EXPECT_GE(doneAt, requestSent + 1000);
  EXPECT_LE(doneAt, requestSent + 1000 + 60);
}

TEST_F(CloneDrvTest, ReadsAtBothSpeedsWithTheRequestOnTheWireByteForByte) {
  for (bool high : {false, true}) {
    SCOPED_TRACE(high ? "38400" : "9600");
    calls = 0;
    line->sessions.clear();
    Configure(high);
    radio.readRanges = {{0x0200, 0x02FF}};
    ASSERT_EQ(RunRead({{0x0200, 0x02FF}}), CloneCode::kSuccess);
    EXPECT_EQ(line->sessions.at(0).settings, high ? "38400,N,8,1" : "9600,N,8,1");
    EXPECT_EQ(
        line->sessions[0].bytes,
        Join({kEchoProbe, Fill(0xFE, high ? 48 : 12), {0xFE, 0xFE, 0xEE, 0xEF, 0xE2, 0x36, 0x20, 0x01, 0x06, 0xFD}}));
    for (int a = 0x0200; a <= 0x02FF; ++a) ASSERT_EQ(result.image.GetByte(a), radio.image.GetByte(a)) << a;
    EXPECT_EQ(result.image.GetByte(0x01FF), 0);
    EXPECT_EQ(result.image.Size(), cmcEeprom::kImageSize);
    EXPECT_EQ(result.receivedMap.Length(), 0x300u / 8);
    EXPECT_EQ(driver->DataBytesMoved(), 256);
    EXPECT_EQ(driver->FrameCount(), 16);
  }
}

TEST_F(CloneDrvTest, ReadFaultsEndInTheirCodes) {
  using Frames = std::vector<Bytes>;
  struct Case {
    const char* what;
    std::function<void(Frames&)> tamper;
    CloneCode code;
  };
  const Case cases[] = {
      {"untouched", nullptr, CloneCode::kSuccess},
      {"noise between frames and extra preamble",
       [](Frames& f) {
         f[1].insert(f[1].begin(), {0x00, 0x41, 0xFD, 0xFE});
       },
       CloneCode::kSuccess},
      {"wrong checksum", [](Frames& f) { f[2][f[2].size() - 2] ^= 0x01; }, CloneCode::kBadFrame},
      {"lower case",
       [](Frames& f) {
         f[0] = RadioRecord(0x0200, Bytes(16, 0xAB));
         for (std::uint8_t& b : f[0]) b = b == 'A' ? 'a' : b;
       },
       CloneCode::kBadFrame},
      {"odd number of data bytes", [](Frames& f) { f[3] = RadioRecord(0x0230, Bytes(15, 1)); }, CloneCode::kBadFrame},
      {"overlong frame", [](Frames& f) { f[1].insert(f[1].begin() + 5, 600, '0'); }, CloneCode::kBadFrame},
      {"end count one off", [](Frames& f) { f.back()[f.back().size() - 2] = '1'; }, CloneCode::kFrameCountMismatch},
      {"maker text differs", [](Frames& f) { f.back()[5] = 't'; }, CloneCode::kBadFrame},
      {"one record missing", [](Frames& f) { f.erase(f.begin() + 4); }, CloneCode::kFrameCountMismatch},
      {"one record outside the ranges", [](Frames& f) { f.insert(f.end() - 1, RadioRecord(0x0400, Bytes(16, 0))); },
       CloneCode::kFrameCountMismatch},
      {"unknown command", [](Frames& f) { f[2][4] = 0xE7; }, CloneCode::kBadFrame},
      {"refused from the wrong sender", [](Frames& f) { f[2][2] = 0xEE; }, CloneCode::kBadFrame},
  };
  radio.readRanges = {{0x0200, 0x02FF}};
  for (const Case& c : cases) {
    calls = 0;
    radio.tamperRead = c.tamper;
    EXPECT_EQ(RunRead({{0x0200, 0x02FF}}), c.code) << c.what;
  }
}

TEST_F(CloneDrvTest, CoverageDecidesBetweenMissingAndOutsideAddresses) {
  struct Case {
    const char* what;
    std::vector<memmap::AddressRange> radioSends;
    std::vector<memmap::AddressRange> asked;
    CloneCode code;
  };
  const Case cases[] = {
      {"all", {{0x0200, 0x02FF}}, {{0x0200, 0x02FF}}, CloneCode::kSuccess},
      {"two addresses missing", {{0x0200, 0x02FD}}, {{0x0200, 0x02FF}}, CloneCode::kAddressesMissing},
      {"two addresses more", {{0x0200, 0x0301}}, {{0x0200, 0x02FF}}, CloneCode::kAddressOutside},
      {"two ranges", {{0x0200, 0x020F}, {0x0400, 0x040F}}, {{0x0200, 0x020F}, {0x0400, 0x040F}}, CloneCode::kSuccess},
      {"no ranges asked: no coverage check", {{0x0200, 0x020F}}, {}, CloneCode::kSuccess},
  };
  for (const Case& c : cases) {
    calls = 0;
    radio.readRanges = c.radioSends;
    EXPECT_EQ(RunRead(c.asked), c.code) << c.what;
  }
}

TEST_F(CloneDrvTest, ARecordBeyondTheImageSizeIsRefused) {
  driver->SetImageSize(0x0280);
  radio.readRanges = {{0x0200, 0x02FF}};
  EXPECT_EQ(RunRead({{0x0200, 0x027F}}), CloneCode::kAddressOutside);
  EXPECT_EQ(result.image.Size(), 0x0280);
}

TEST_F(CloneDrvTest, RecordsOfSeveralEvenLengthsAreAccepted) {
  radio.readRanges = {{0x0200, 0x07FF}};
  radio.recordLengths = {2, 8, 16, 32, 64, 254, 4};
  ASSERT_EQ(RunRead({{0x0200, 0x07FF}}), CloneCode::kSuccess);
  for (int a = 0x0200; a <= 0x07FF; ++a) ASSERT_EQ(result.image.GetByte(a), radio.image.GetByte(a)) << a;
}

TEST_F(CloneDrvTest, WritesAtBothSpeedsWithRequestAndFirstRecordsOnTheWireByteForByte) {
  cmcEeprom image = WriteImage();
  for (int i = 0; i < 16; ++i) image.SetByte(0x0200 + i, static_cast<std::uint8_t>(i));
  for (bool high : {false, true}) {
    SCOPED_TRACE(high ? "38400" : "9600");
    calls = 0;
    line->sessions.clear();
    Configure(high);
    radio.written.Fill(0);
    radio.goOnSent = 0;
    ASSERT_EQ(RunWrite(image, {{0x0200, 0x02FF}}), CloneCode::kSuccess);
    const Bytes request = {0xFE, 0xFE, 0xEE, 0xEF, 0xE3, 0x36, 0x20, 0x01, 0x06, 0xFD};
    const Bytes first = Join({{0xFE, 0xFE, 0xEE, 0xEF, 0xE4},
                              Ascii("020010"
                                    "000102030405060708090A0B0C0D0E0F"
                                    "76"),
                              {0xFD}});
    const Bytes second = Join({{0xFE, 0xFE, 0xEE, 0xEF, 0xE4}, Ascii("021010"), {}});
    const Bytes& wire = line->sessions.at(0).bytes;
    const Bytes expectedStart = Join({kEchoProbe, Fill(0xFE, high ? 48 : 12), request, first, second});
    ASSERT_GE(wire.size(), expectedStart.size());
    EXPECT_EQ(Bytes(wire.begin(), wire.begin() + static_cast<std::ptrdiff_t>(expectedStart.size())), expectedStart);
    const Bytes end = Join({{0xFE, 0xFE, 0xEE, 0xEF, 0xE5}, Ascii("Tarn Inc.10"), {0xFD}});
    EXPECT_EQ(Bytes(wire.end() - static_cast<std::ptrdiff_t>(end.size()), wire.end()), end);
    EXPECT_EQ(radio.recordsWritten % 16, 0);
    EXPECT_EQ(radio.endText, "Tarn Inc.10");
    EXPECT_EQ(radio.goOnSent, 3) << "after the request and at 0x0280 and 0x0300";
    EXPECT_EQ(radio.badRecords, 0);
    for (int a = 0x0200; a <= 0x02FF; ++a) ASSERT_EQ(radio.written.GetByte(a), image.GetByte(a)) << a;
    EXPECT_EQ(driver->DataBytesMoved(), 256);
  }
}

TEST_F(CloneDrvTest, AFullWriteHonoursEveryFlowControlPointWhilePacingHoldsRecordsBack) {
  const cmcEeprom image = WriteImage();
  radio.goOnDelayMs = 15;
  for (bool high : {true, false}) {
    SCOPED_TRACE(high ? "38400" : "9600");
    calls = 0;
    Configure(high);
    radio.recordsWritten = 0;
    radio.goOnSent = 0;
    radio.flowViolations = 0;
    radio.written.Fill(0);
    line->maxOutPending = 0;
    ASSERT_EQ(RunWrite(image, {{0x0200, 0x7D7F}}), CloneCode::kSuccess);
    EXPECT_EQ(radio.recordsWritten, 1976);
    EXPECT_EQ(radio.goOnSent, 1 + 247);
    EXPECT_EQ(radio.flowViolations, 0);
    EXPECT_EQ(radio.badRecords, 0);
    EXPECT_EQ(radio.endText, "Tarn Inc.B8");
    for (int a = 0x0200; a <= 0x7D7F; ++a) ASSERT_EQ(radio.written.GetByte(a), image.GetByte(a)) << a;
    // Pacing held records back: several were queued at once, never more than
    // four times a record beyond the one handed over.
    EXPECT_GT(line->maxOutPending, 2u * 46);
    EXPECT_LE(line->maxOutPending, 5u * 46);
  }
}

TEST_F(CloneDrvTest, WriteFaultsEndInTheirCodes) {
  struct Case {
    const char* what;
    std::function<void(TestRadio&, SimulatedLine&)> setUp;
    CloneCode code;
  };
  const Case cases[] = {
      {"refused after the request", [](TestRadio& r, SimulatedLine&) { r.writeRequestAnswer = 0xFA; },
       CloneCode::kBadFrame},
      {"no go-on after the request", [](TestRadio& r, SimulatedLine&) { r.goOnAfterWriteRequest = false; },
       CloneCode::kTimeout},
      {"no go-on at a flow-control point", [](TestRadio& r, SimulatedLine&) { r.flowInterval = 0; },
       CloneCode::kTimeout},
      {"confirmation differs",
       [](TestRadio& r, SimulatedLine&) { r.confirmation = {0xFE, 0xFE, 0xEF, 0xEE, 0xE6, 0x01, 0xFD}; },
       CloneCode::kWriteNotConfirmed},
      {"no confirmation", [](TestRadio& r, SimulatedLine&) { r.confirm = false; }, CloneCode::kTimeout},
      {"the port fails to write", [](TestRadio&, SimulatedLine& l) { l.writeErrorAfter = 500; },
       CloneCode::kPortWriteError},
      {"the port does not open",
       [](TestRadio&, SimulatedLine& l) { l.acceptOpen = [](std::string_view) { return false; }; },
       CloneCode::kPortNotOpen},
  };
  const cmcEeprom image = WriteImage();
  for (const Case& c : cases) {
    calls = 0;
    TestRadio::Send send = [this](const Bytes& bytes, double) { line->PeerSend(bytes); };
    radio = TestRadio(send, [this] { return line->PeerTime(); });
    line->writeErrorAfter.reset();
    line->acceptOpen = [](std::string_view) { return true; };
    c.setUp(radio, *line);
    EXPECT_EQ(RunWrite(image, {{0x0200, 0x03FF}}), c.code) << c.what;
    EXPECT_FALSE(line->IsOpen()) << c.what;
  }
}

TEST_F(CloneDrvTest, TheRefuseByteAtAFlowControlPointEndsTheWrite) {
  radio.flowInterval = 0;
  // The radio answers the first boundary with the refuse byte instead.
  line->peer = [this](std::uint8_t byte) {
    radio.OnByte(byte);
    if (radio.recordsWritten == 8 && radio.goOnSent == 1) {
      ++radio.goOnSent;
      line->PeerSend(Bytes{0xFA});
    }
  };
  EXPECT_EQ(RunWrite(WriteImage(), {{0x0200, 0x03FF}}), CloneCode::kBadFrame);
}

TEST_F(CloneDrvTest, WithoutTheWaitFlagTheFirstRecordFollowsTheRequest) {
  driver->SetWaitAfterWriteRequest(false);
  radio.goOnAfterWriteRequest = false;
  ASSERT_EQ(RunWrite(WriteImage(), {{0x0200, 0x02FF}}), CloneCode::kSuccess);
  EXPECT_EQ(radio.goOnSent, 2);
}

TEST_F(CloneDrvTest, AWriteRangeOutsideTheImageEndsWithCode9) {
  driver->SetImageSize(0x0300);
  EXPECT_EQ(RunWrite(WriteImage(), {{0x0200, 0x03FF}}), CloneCode::kAddressOutside);
  EXPECT_EQ(radio.recordsWritten, 16);
}

TEST_F(CloneDrvTest, FinishingIsBoundedAndKeepsTheCodeItHad) {
  // The ninth record is handed over, then the port stops sending; the tenth
  // would lie outside the image. The output never leaves, the error stays.
  driver->SetImageSize(0x0290);
  driver->SetWaitAfterWriteRequest(false);
  radio.goOnAfterWriteRequest = false;
  line->peer = [this](std::uint8_t byte) {
    radio.OnByte(byte);
    if (radio.recordsWritten == 8) line->stalled = true;
  };
  EXPECT_EQ(RunWrite(WriteImage(), {{0x0200, 0x02FF}}), CloneCode::kAddressOutside);
  EXPECT_EQ(radio.recordsWritten, 8);
  EXPECT_FALSE(lineOpenInCallback);
}

TEST_F(CloneDrvTest, APortThatDoesNotOpenStillCompletes) {
  line->acceptOpen = [](std::string_view) { return false; };
  ASSERT_TRUE(driver->StartInformation(Done()));
  ASSERT_TRUE(Run());
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(result.code, CloneCode::kPortNotOpen);
}

TEST_F(CloneDrvTest, TheScriptSetsEachSettingsSegmentOnThePortOpenedOnceAfterItsPauses) {
  driver->SetScript("(38400,N,8,1)FEFE(9600,N,8,1)");
  const std::uint32_t start = clock.NowMs();
  ASSERT_TRUE(driver->StartInformation(Done()));
  ASSERT_TRUE(Run());
  EXPECT_EQ(result.code, CloneCode::kSuccess);
  ASSERT_EQ(line->sessions.size(), 3u);
  EXPECT_EQ(line->sessions[0].settings, "38400,N,8,1");
  EXPECT_EQ(line->sessions[0].bytes, (Bytes{0xFE, 0xFE}));
  EXPECT_EQ(line->sessions[1].settings, "9600,N,8,1");
  EXPECT_EQ(line->sessions[1].bytes, Bytes{});
  EXPECT_EQ(line->sessions[2].settings, "9600,N,8,1");
  // The modem lines rise once: the later settings go to the open port.
  EXPECT_EQ(line->opens, 1);
  // 300 ms before each settings segment, 100 ms after each settings change.
  EXPECT_GE(line->sessions[0].openedAt, start + 300);
  EXPECT_GE(line->sessions[1].openedAt, line->sessions[0].openedAt + 400);
  EXPECT_LE(line->sessions[1].openedAt, line->sessions[0].openedAt + 440);
  EXPECT_GE(line->sessions[2].openedAt, line->sessions[1].openedAt + 100);
}

TEST_F(CloneDrvTest, ASettingsSegmentThatDoesNotOpenEndsWithCode2) {
  line->acceptOpen = [](std::string_view settings) { return settings != "38400,N,8,1"; };
  driver->SetScript("(9600,N,8,1)FEFE(38400,N,8,1)FEFE");
  ASSERT_TRUE(driver->StartInformation(Done()));
  ASSERT_TRUE(Run());
  EXPECT_EQ(result.code, CloneCode::kPortNotOpen);
  EXPECT_EQ(line->sessions.size(), 1u);
  // The script is gone: the next operation runs without it.
  calls = 0;
  line->acceptOpen = [](std::string_view) { return true; };
  ASSERT_TRUE(driver->StartInformation(Done()));
  ASSERT_TRUE(Run());
  EXPECT_EQ(result.code, CloneCode::kSuccess);
  EXPECT_EQ(line->sessions.size(), 2u);
}

// The password record "abc": length 3, checksum 0x100 - (0x61 + 0x62 + 0x63) =
// 0xDA, the characters; each digit as its ASCII code.
const std::string kAbcRecord = "30 33 44 41 36 31 36 32 36 33";

TEST_F(CloneDrvTest, TheManagersScriptGoesOnTheWireByteForByte) {
  Configure(true);
  driver->SetScript(ManagerScript(true, false));
  radio.readRanges = {{0x0200, 0x021F}};
  ASSERT_EQ(RunRead({{0x0200, 0x021F}}), CloneCode::kSuccess);
  ASSERT_EQ(line->sessions.size(), 4u);
  EXPECT_EQ(line->sessions[0].settings, "38400,N,8,1");
  EXPECT_EQ(line->sessions[0].bytes,
            Join({Fill(0xFE, 20), {0xEE, 0xEF, 0xE8, 0x36, 0x20, 0x00, 0x00, 0x01, 0x32, 0x37, 0xFD}}));
  EXPECT_EQ(line->sessions[1].settings, "9600,N,8,1");
  EXPECT_EQ(line->sessions[1].bytes,
            (Bytes{0xFE, 0xFE, 0xEE, 0xEF, 0xE8, 0x36, 0x20, 0x00, 0x00, 0x55, 0x30, 0x30, 0xFD}));
  EXPECT_EQ(line->sessions[2].settings, "9600,N,8,1");
  EXPECT_EQ(line->sessions[2].bytes,
            Join({Fill(0xFE, 20), {0xEE, 0xEF, 0xE8, 0x36, 0x20, 0x00, 0x00, 0x01, 0x30, 0x39, 0xFD}}));
  EXPECT_EQ(line->sessions[3].settings, "38400,N,8,1");
  EXPECT_EQ(line->sessions[3].bytes,
            Join({kEchoProbe, Fill(0xFE, 48), {0xFE, 0xFE, 0xEE, 0xEF, 0xE2, 0x36, 0x20, 0x01, 0x06, 0xFD}}));
  EXPECT_EQ(line->opens, 1);
}

TEST(ManagerScriptTest, ThePasswordRecordIsEachDigitAsItsAsciiCode) {
  EXPECT_EQ(PasswordRecordText("abc"), kAbcRecord + " ");
}

TEST_F(CloneDrvTest, AClonePasswordRightOpensTheRadioAndAWrongOneTimesOut) {
  radio.password = "abc";
  radio.readRanges = {{0x0200, 0x021F}};
  struct Case {
    std::string record;
    CloneCode code;
  };
  const Case cases[] = {
      {"abc", CloneCode::kSuccess},
      {"abd", CloneCode::kTimeout},
      {"ab", CloneCode::kTimeout},
      {"", CloneCode::kTimeout},
  };
  for (const Case& c : cases) {
    calls = 0;
    radio.passwordGiven = false;
    driver->SetScript(ManagerScript(true, false, c.record));
    EXPECT_EQ(RunRead({{0x0200, 0x021F}}), c.code) << c.record;
  }
}

TEST_F(CloneDrvTest, OnAOneWireCableTheEchoIsFoundAndCheckedThroughAReadAndAWrite) {
  line->echo = true;
  radio.readRanges = {{0x0200, 0x03FF}};
  ASSERT_EQ(RunRead({{0x0200, 0x03FF}}), CloneCode::kSuccess);
  EXPECT_TRUE(driver->Echo());
  calls = 0;
  ASSERT_EQ(RunWrite(WriteImage(), {{0x0200, 0x07FF}}), CloneCode::kSuccess);
  EXPECT_EQ(radio.recordsWritten, 0x600 / 16);
  EXPECT_EQ(radio.flowViolations, 0);
}

TEST_F(CloneDrvTest, ACableThatEchoesPartlyOnBothTriesCountsAsEchoing) {
  line->echo = true;
  // Of the eight probe bytes of two tries, one of each try comes back.
  line->echoDrops = [](std::size_t i) { return i < 8 && i != 0 && i != 4; };
  radio.readRanges = {{0x0200, 0x021F}};
  ASSERT_EQ(RunRead({{0x0200, 0x021F}}), CloneCode::kSuccess);
  EXPECT_TRUE(driver->Echo());
  const Bytes probes = Join({kEchoProbe, kEchoProbe});
  EXPECT_EQ(Bytes(line->sessions[0].bytes.begin(), line->sessions[0].bytes.begin() + 8), probes);
}

TEST_F(CloneDrvTest, AnEchoThatDiffersEndsWithCode4) {
  line->echo = true;
  // A byte of the request's echo is lost.
  line->echoDrops = [](std::size_t i) { return i == 4 + 20; };
  radio.readRanges = {{0x0200, 0x021F}};
  EXPECT_EQ(RunRead({{0x0200, 0x021F}}), CloneCode::kEchoMismatch);
}

TEST_F(CloneDrvTest, EchoBytesStillOutstandingAtTheTimeLimitEndWithCode4) {
  driver->SetEchoTest(false);
  driver->SetEcho(true);
  radio.answerInformation = false;
  ASSERT_TRUE(driver->StartInformation(Done()));
  ASSERT_TRUE(Run());
  EXPECT_EQ(result.code, CloneCode::kEchoMismatch);
}

TEST_F(CloneDrvTest, ANewPortNumberSwitchesTheEchoFlagOff) {
  driver->SetEchoTest(false);
  driver->SetEcho(true);
  driver->SetPort(2, "9600,N,8,1");
  ASSERT_TRUE(driver->StartInformation(Done()));
  ASSERT_TRUE(Run());
  EXPECT_EQ(result.code, CloneCode::kSuccess) << "no echo is waited for on the new port";
  EXPECT_FALSE(driver->Echo());
}

TEST_F(CloneDrvTest, UnsupportedModemLineControlNeverFailsAnOperation) {
  line->rtsSupported = false;
  driver->SetRtsControl(1);
  EXPECT_EQ(line->rtsMode, 1);
  ASSERT_TRUE(driver->StartInformation(Done()));
  ASSERT_TRUE(Run());
  EXPECT_EQ(result.code, CloneCode::kSuccess);
}

TEST_F(CloneDrvTest, AnOperationIsRefusedWhileAnotherRunsAndConfigurationWaits) {
  ASSERT_TRUE(driver->StartInformation(Done()));
  EXPECT_FALSE(driver->StartInformation(Done()));
  EXPECT_FALSE(driver->StartRead({}, Done()));
  EXPECT_FALSE(driver->StartWrite(WriteImage(), {}, Done()));
  driver->SetFrameParameters(1, 2);
  ASSERT_TRUE(Run());
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(result.a, 0x3620);
  EXPECT_EQ(radio.frames.back()[4], 0x36) << "the request kept the parameters it started with";
}

TEST_F(CloneDrvTest, TheCallbackMayStartTheNextOperation) {
  radio.readRanges = {{0x0200, 0x021F}};
  std::vector<CloneCode> codes;
  const std::vector<memmap::AddressRange> ranges = {{0x0200, 0x021F}};
  ASSERT_TRUE(driver->StartInformation([&](dst_CDrv_Result& r) {
    codes.push_back(r.code);
    EXPECT_FALSE(driver->IsBusy());
    EXPECT_TRUE(driver->StartRead(ranges, Done()));
  }));
  ASSERT_TRUE(Run());
  EXPECT_EQ(codes, std::vector<CloneCode>{CloneCode::kSuccess});
  EXPECT_EQ(result.kind, CloneKind::kRead);
  EXPECT_EQ(result.code, CloneCode::kSuccess);
}

TEST_F(CloneDrvTest, TheCallbackMayDestroyTheDriver) {
  bool called = false;
  ASSERT_TRUE(driver->StartInformation([&](dst_CDrv_Result& r) {
    called = true;
    EXPECT_EQ(r.code, CloneCode::kSuccess);
    driver.reset();
  }));
  for (int i = 0; i < 200 && !called; ++i) {
    clock.Advance(10);
    scheduler.RunDue();
  }
  EXPECT_TRUE(called);
  clock.Advance(10);
  scheduler.RunDue();
  EXPECT_EQ(scheduler.TaskCount(), 0u) << "the task is released with the driver";
}

TEST_F(CloneDrvTest, AWriteCopiesTheImageAtTheStart) {
  cmcEeprom image = WriteImage();
  ASSERT_TRUE(driver->StartWrite(image, std::vector<memmap::AddressRange>{{0x0200, 0x02FF}}, Done()));
  const cmcEeprom sent = image;
  image.Fill(0x55);
  ASSERT_TRUE(Run());
  EXPECT_EQ(result.code, CloneCode::kSuccess);
  for (int a = 0x0200; a <= 0x02FF; ++a) ASSERT_EQ(radio.written.GetByte(a), sent.GetByte(a));
  EXPECT_EQ(result.image, sent);
}

}  // namespace
