#include <gtest/gtest.h>

#include <csignal>

#include "support/child_process.h"
#include "support/temp_dir.h"

TEST(Application, StaysUpOffscreenUntilSigtermThenExitsCleanly) {
  for (int signal : {SIGTERM, SIGINT}) {
    TempDir config;
    ChildProcess app({BuiltProgram("rw-m52-q")},
                     {.env = {{"QT_QPA_PLATFORM", "offscreen"}, {"XDG_CONFIG_HOME", config.path().string()}},
                      .input = ""});
    ASSERT_TRUE(app.WaitUntilCatching(signal));
    app.Signal(signal);
    ChildResult result = app.Finish();
    EXPECT_EQ(result.status, 0) << result.err;
  }
}
