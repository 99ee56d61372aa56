#include "platform/fatal.h"

#include <gtest/gtest.h>

#include "platform/paths.h"
#include "support/fatal_trap.h"
#include "support/recording_message_box.h"

TEST(FatalDeathTest, EndsTheProcessWithStatusThreeAndTheTextOnStderr) {
  EXPECT_EXIT(platform::Fatal("GTEX Error !\nThe index 'GI_X' was not found."),
              testing::ExitedWithCode(platform::kFatalExitStatus), "The index 'GI_X' was not found.");
}

TEST(FatalDeathTest, ShowsATopmostErrorBoxCaptionedWithTheExecutableName) {
  EXPECT_EXIT(
      {
        struct CheckingBox : platform::MessageBox {
          platform::MsgAnswer Show(const platform::MsgRequest& request) override {
            const bool right = request.caption == platform::ExecutableName() &&
                               request.icon == platform::MsgIcon::Error && request.topmost &&
                               request.buttons == platform::MsgButtons::Ok;
            fprintf(stderr, right ? "box-ok\n" : "box-wrong\n");
            return platform::MsgAnswer::Ok;
          }
        } box;
        platform::InstallMessageBox(&box);
        platform::Fatal("stop");
      },
      testing::ExitedWithCode(platform::kFatalExitStatus), "box-ok\nstop");
}

TEST(Fatal, TrapTurnsTheStopIntoAnException) {
  FatalTrap trap;
  RecordingMessageBox box;
  try {
    platform::Fatal("Overlapped Hash table.");
    FAIL() << "Fatal returned";
  } catch (const FatalStop& stop) {
    EXPECT_STREQ(stop.what(), "Overlapped Hash table.");
  }
  EXPECT_TRUE(box.shown.empty());
}

TEST(Paths, DataDirHonoursTheOverrideAndEndsWithASlash) {
  setenv("RWQ_DATA_DIR", "/tmp/rwq-data", 1);
  EXPECT_EQ(platform::DataDir(), "/tmp/rwq-data/");
  unsetenv("RWQ_DATA_DIR");
  const std::string own = platform::DataDir();
  EXPECT_EQ(own.back(), '/');
  EXPECT_EQ(own.find("rwq-data"), std::string::npos);
  EXPECT_EQ(platform::ExecutableName(), "test_platform");
}
