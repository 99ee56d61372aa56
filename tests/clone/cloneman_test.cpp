// The clone manager's pieces: the transfer script and its password record,
// the messages for result codes, the checks of what a radio sends, the
// progress figure, and the manager's completion on a port that does not open.

#include "clone/cloneman.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "clone/clonechecks.h"
#include "clone/clonemessage.h"
#include "clone/clonesequence.h"
#include "clone/transferscript.h"
#include "core/gtex.h"
#include "managerscript.h"
#include "platform/clock.h"
#include "runtime/taskscheduler.h"
#include "support/recording_message_box.h"

namespace {

TEST(TransferScript, MatchesTheScriptWrittenOutForEverySpeedModeAndPassword) {
  for (bool high : {false, true}) {
    for (bool write : {false, true}) {
      for (const std::string password : {"", "tarn", "0123456789ABCDEF", "\xC3\xA9t\xC3\xA9"}) {
        SCOPED_TRACE(password);
        const std::optional<std::string> given = password.empty() ? std::nullopt : std::optional(password);
        EXPECT_EQ(transferscript::Build(0x3620, high, write, given), ManagerScript(high, write, password));
      }
    }
  }
}

TEST(TransferScript, PasswordRecordCarriesLengthChecksumAndUpperCaseDigitsAsAscii) {
  // "ab": length 02, sum 0xC3 gives 3D, then 61 62; each digit as its ASCII code.
  EXPECT_EQ(transferscript::PasswordRecordText("ab"), "30 32 33 44 36 31 36 32 ");
}

void OpenMessageOverlay(cmcGTex& overlay) {
  std::vector<std::string> lines = {"#GI_Sys_AppTitle", "Title", "#", "#GI_Mess_CloneErr_Head"};
  for (int c = 0; c <= 17; ++c) lines.push_back(c == 2 ? "Port %d %s failed." : "head " + std::to_string(c));
  lines.push_back("#");
  lines.push_back("#GI_Mess_CloneErr_Check");
  for (int c = 0; c <= 7; ++c) lines.push_back("check " + std::to_string(c));
  lines.insert(lines.end(), {"#", "#GI_AppMess_PortErr_Permission", "No permission.", "Join \"%s\".", "Join.", "#",
                             "#GI_AppMess_PortErr_Busy", "Busy.", "#", "#GI_AppMess_PortErr_Path",
                             "Path %s did not open.", "Not serial.", "#"});
  overlay.OpenLines(lines);
}

TEST(CloneMessage, HeadLineAndCheckLinesByCode) {
  cmcGTex overlay;
  OpenMessageOverlay(overlay);
  const platform::SerialOpenFailure none;
  struct Case {
    CloneCode code;
    std::string text;
    bool losesSpeed;
  };
  const Case cases[] = {
      {CloneCode::kSuccess, "", false},
      {CloneCode::kCancelled, "", false},
      {CloneCode::kTimeout, "head 5\n\ncheck 0\ncheck 1\ncheck 2\ncheck 3", true},
      {CloneCode::kWriteNotConfirmed, "head 10\n\ncheck 0\ncheck 2\ncheck 3", false},
      {CloneCode::kIdentificationRefused, "head 11\n\ncheck 0\ncheck 1\ncheck 2\ncheck 3\ncheck 4\ncheck 5", false},
      {CloneCode::kOperationRefused, "head 13\n\ncheck 6\ncheck 7", false},
      {CloneCode::kIdentificationValue, "head 14\n\ncheck 0\ncheck 4\ncheck 5", false},
      {CloneCode::kImageCheckFirst, "head 15\n\ncheck 0\ncheck 1\ncheck 2\ncheck 3", true},
      {CloneCode::kImageCheckSecond, "head 16", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.code));
    EXPECT_EQ(clonemessage::Text(overlay, c.code, 3, none), c.text);
    EXPECT_EQ(clonemessage::LosesSpeedState(c.code), c.losesSpeed);
  }
}

TEST(CloneMessage, PortFailureNamesOnlyTheNumberThenTheDeviceAndReason) {
  cmcGTex overlay;
  OpenMessageOverlay(overlay);
  platform::SerialOpenFailure busy{platform::SerialOpenError::kBusy, "/dev/ttyUSB0", ""};
  // The second conversion has no argument and stays as it stands.
  EXPECT_EQ(clonemessage::Text(overlay, CloneCode::kPortNotOpen, 33, busy),
            "Port 33 %s failed.\n/dev/ttyUSB0\nBusy.\n\ncheck 0\ncheck 1\ncheck 2\ncheck 3");
  EXPECT_TRUE(clonemessage::LosesSpeedState(CloneCode::kPortNotOpen));
}

dst_CDrv_Result InformationResult(int a, int b, std::size_t size) {
  dst_CDrv_Result result;
  result.code = CloneCode::kSuccess;
  result.a = a;
  result.b = b;
  std::vector<std::uint8_t> id(size, '0');
  if (size > 0) id[0] = static_cast<std::uint8_t>(size);
  if (size > 35) id[35] = 3;
  result.identification.Append(std::span<const std::uint8_t>(id));
  return result;
}

TEST(CloneChecks, InformationCheckByModelRevisionSizeAndHeaderValue) {
  const int accepted[] = {0x3620, 0x2926};
  struct Case {
    dst_CDrv_Result result;
    CloneCode code;
  };
  std::vector<Case> cases = {
      {InformationResult(0x3620, 0x0006, 78), CloneCode::kSuccess},
      {InformationResult(0x2926, 0x0105, 78), CloneCode::kSuccess},
      {InformationResult(0x3179, 0x0006, 78), CloneCode::kIdentificationRefused},
      {InformationResult(0x3620, 0x0007, 78), CloneCode::kIdentificationRefused},
      {InformationResult(0x3620, 0x0006, 77), CloneCode::kIdentificationRefused},
      {InformationResult(0x3620, 0x0006, 79), CloneCode::kIdentificationRefused},
  };
  dst_CDrv_Result eight = InformationResult(0x3620, 0x0006, 78);
  eight.identification.Data()[35] = 8;
  cases.push_back({eight, CloneCode::kIdentificationValue});
  for (const Case& c : cases) EXPECT_EQ(clonechecks::CheckInformation(c.result, accepted), c.code);
}

TEST(CloneChecks, TopAddressNeedsFourHexDigitsAndTheReadEndStaysInTheRawArea) {
  std::vector<std::uint8_t> id(78, 0);
  auto top = [&id](const char* digits) {
    std::copy(digits, digits + 4, id.begin() + 62);
    return clonechecks::Identification(id).TopAddress();
  };
  EXPECT_EQ(top("0FFF"), 0x0FFF);
  EXPECT_EQ(top("7d7f"), 0x7D7F);
  EXPECT_EQ(top("0F G"), std::nullopt);
  EXPECT_EQ(top("-123"), std::nullopt);
  EXPECT_EQ(clonechecks::ReadEnd(0x0FF0), 0x0FFF);
  EXPECT_EQ(clonechecks::ReadEnd(0x7D70), 0x7D7F);
  EXPECT_EQ(clonechecks::ReadEnd(0xFFFF), 0x7D7F);
}

TEST(CloneChecks, AWriteEndsAtOrAbove0200AndInsideTheRawArea) {
  struct Case {
    int end;
    bool allowed;
  };
  const Case cases[] = {{-1, false},    {0x007F, false}, {0x01FF, false}, {0x0200, true}, {0x027F, true},
                        {0x7D7F, true}, {0x7D80, false}, {0x7DFF, false}, {0xFFFF, false}};
  for (const Case& c : cases) EXPECT_EQ(clonechecks::WriteEndAllowed(c.end), c.allowed) << c.end;
}

TEST(CloneManager, ProgressFigureIsClampedToTheSegments) {
  EXPECT_EQ(indCloneMan::ProgressFigure(500, 1000), 16);
  EXPECT_EQ(indCloneMan::ProgressFigure(0, 1000), 0);
  EXPECT_EQ(indCloneMan::ProgressFigure(1000, 1000), 32);
  EXPECT_EQ(indCloneMan::ProgressFigure(5000, 1000), 32);
  EXPECT_EQ(indCloneMan::ProgressFigure(10, 0), 0);
}

TEST(CloneManager, PortThatDoesNotOpenKeepsItsCodeShowsItsMessageAndCompletesOnce) {
  cmcGTex overlay;
  OpenMessageOverlay(overlay);
  RecordingMessageBox box;
  platform::SteadyClock clock;
  TaskScheduler scheduler(clock);
  indCloneMan manager(scheduler, overlay, clock);
  manager.SetPortPath("/nonexistent/tty-for-test");
  int checks = 0, calls = 0;
  CloneCode code = CloneCode::kSuccess;
  manager.SetInformationCheck([&](dst_CDrv_Result& r) {
    ++checks;
    r.code = CloneCode::kIdentificationRefused;
  });
  ASSERT_TRUE(manager.Information([&](dst_CDrv_Result& r) {
    ++calls;
    code = r.code;
    // The completion may start the next operation at once.
    EXPECT_FALSE(manager.IsBusy());
  }));
  EXPECT_FALSE(manager.Information(nullptr)) << "refused while busy";
  for (int i = 0; i < 2000 && calls == 0; ++i) {
    scheduler.RunDue();
    usleep(1000);
  }
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(checks, 0);
  EXPECT_EQ(code, CloneCode::kPortNotOpen);
  EXPECT_EQ(manager.SpeedState(), indCloneMan::kSpeedUnknown);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].caption, "Title");
  EXPECT_EQ(box.shown[0].icon, platform::MsgIcon::Error);
  // A path given directly is named by that path, not as a port number.
  EXPECT_TRUE(box.shown[0].text.starts_with("Path /nonexistent/tty-for-test did not open.\n\ncheck"))
      << box.shown[0].text;
}

TEST(CloneManager, PasswordMustHoldOneToSixteenBytes) {
  cmcGTex overlay;
  OpenMessageOverlay(overlay);
  platform::SteadyClock clock;
  TaskScheduler scheduler(clock);
  indCloneMan manager(scheduler, overlay, clock);
  EXPECT_FALSE(manager.GivePassword(""));
  EXPECT_FALSE(manager.GivePassword(std::string(17, 'x')));
  EXPECT_FALSE(manager.HasPassword());
  EXPECT_TRUE(manager.GivePassword(std::string(16, 'x')));
  EXPECT_TRUE(manager.HasPassword());
}

}  // namespace

namespace {

TEST(CloneSequenceCompare, ReportsTheFirstDifferingAddressesInsideTheWrittenRanges) {
  cmcEeprom sent(cmcEeprom::kImageSize), received(cmcEeprom::kImageSize);
  for (int a : {0x0100, 0x0300, 0x0301, 0x0500}) received.SetByte(a, 0x55);
  const std::vector<memmap::AddressRange> ranges = {{0x0200, 0x04FF}};
  EXPECT_EQ(CloneSequence::FirstDifferences(sent, received, ranges, 8), (std::vector<int>{0x0300, 0x0301}));
  EXPECT_EQ(CloneSequence::FirstDifferences(sent, received, ranges, 1), (std::vector<int>{0x0300}));
  EXPECT_TRUE(CloneSequence::FirstDifferences(sent, sent, ranges, 8).empty());
}

}  // namespace
