#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace {

// One headless run of the desktop program with its own settings folder and box log.
struct HeadlessRun {
  TempDir config;
  TempDir logs;

  std::string SettingsFile() const { return (config.path() / "Tarn" / "RW-M52-Q.ini").string(); }
  std::string BoxLog() const { return logs.File("boxes.jsonl"); }

  ChildOptions Options(const std::string& answers = "") const {
    ChildOptions options{.env = {{"QT_QPA_PLATFORM", "offscreen"},
                                 {"XDG_CONFIG_HOME", config.path().string()},
                                 {"RWQ_MSGBOX_LOG", BoxLog()}},
                         .input = ""};
    if (!answers.empty()) options.env["RWQ_MSGBOX_ANSWERS"] = answers;
    return options;
  }

  // Starts the program, waits until it runs its message loop, then closes it by signal.
  ChildResult UntilSignal(int signal, const std::vector<std::string>& extraArguments = {},
                          const std::string& answers = "") const {
    std::vector<std::string> argv = {BuiltProgram("rw-m52-q")};
    argv.insert(argv.end(), extraArguments.begin(), extraArguments.end());
    ChildProcess app(argv, Options(answers));
    if (!app.WaitUntilCatching(signal)) return {};
    app.Signal(signal);
    return app.Finish();
  }
};

TEST(Application, StaysUpOffscreenUntilSigtermThenExitsCleanly) {
  for (int signal : {SIGTERM, SIGINT}) {
    HeadlessRun run;
    ChildResult result = run.UntilSignal(signal);
    EXPECT_EQ(result.status, 0) << result.err;
  }
}

TEST(Application, FirstStartWritesTheDefaultSettingsOnExitAndShowsNothing) {
  HeadlessRun run;
  ChildResult result = run.UntilSignal(SIGTERM);
  ASSERT_EQ(result.status, 0) << result.err;
  const std::string settings = ReadWholeFile(run.SettingsFile());
  EXPECT_NE(settings.find("BBT=753951"), std::string::npos) << settings;
  EXPECT_NE(settings.find("ModelType=0"), std::string::npos);
  EXPECT_NE(settings.find("MakerReserveMode=6B65737472656C"), std::string::npos);
  // The shipped overlay asks for no beta notice.
  EXPECT_FALSE(std::filesystem::exists(run.BoxLog()));
}

TEST(Application, SecondInstanceExitsAtOnceSilentlyAndLeavesTheSettingsAlone) {
  HeadlessRun run;
  ASSERT_EQ(run.UntilSignal(SIGTERM).status, 0);
  ChildProcess first({BuiltProgram("rw-m52-q")}, run.Options());
  ASSERT_TRUE(first.WaitUntilCatching(SIGTERM));
  const std::string before = ReadWholeFile(run.SettingsFile());

  ChildResult second = RunChild({BuiltProgram("rw-m52-q"), "/kestrel"}, run.Options());
  EXPECT_EQ(second.status, 0) << second.err;
  EXPECT_FALSE(std::filesystem::exists(run.BoxLog()));
  EXPECT_EQ(ReadWholeFile(run.SettingsFile()), before);

  first.Signal(SIGTERM);
  EXPECT_EQ(first.Finish().status, 0);
}

// Each switch asks: the second caution comes after the first was cancelled,
// and once maker mode is on no further caution is shown.
TEST(Application, EveryMakerSwitchAsksUntilMakerModeIsOn) {
  struct Case {
    std::vector<std::string> arguments;
    std::string answers;
    std::vector<std::string> expected;
  };
  // A readable clone file beside the switches opens without a box of its own.
  const std::string file = std::string(RWQ_SOURCE_DATA_DIR) + "/Initial_LMR.rwc";
  const Case cases[] = {
      {{"/KESTREL", "/kestrel", file}, "cancel,cancel", {"cancel", "cancel"}},
      {{"/KESTREL", "/kestrel", file}, "ok,cancel", {"ok"}},
  };
  for (const Case& c : cases) {
    HeadlessRun run;
    ChildResult result = run.UntilSignal(SIGTERM, c.arguments, c.answers);
    ASSERT_EQ(result.status, 0) << result.err;
    const std::string log = ReadWholeFile(run.BoxLog());
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), static_cast<long>(c.expected.size())) << log;
    EXPECT_NE(log.find("Maker mode is for Tarn service staff only."), std::string::npos) << log;
    std::size_t at = 0;
    for (const std::string& answer : c.expected) {
      at = log.find("\"icon\":\"warning\",\"buttons\":\"okcancel\",\"answer\":\"" + answer + "\"", at);
      ASSERT_NE(at, std::string::npos) << log;
      ++at;
    }
  }
}

TEST(Application, UnusableSettingsFolderStillStartsAndEndsCleanly) {
  HeadlessRun run;
  const std::string blocker = run.config.Write("Tarn", "not a folder");
  ChildResult result = run.UntilSignal(SIGTERM);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_FALSE(std::filesystem::exists(run.BoxLog()));
  EXPECT_EQ(ReadWholeFile(blocker), "not a folder");
}

TEST(Application, MissingLanguageListIsFatalWithStatusThree) {
  HeadlessRun run;
  TempDir emptyData;
  ChildOptions options = run.Options();
  options.env["RWQ_DATA_DIR"] = emptyData.path().string();
  ChildResult result = RunChild({BuiltProgram("rw-m52-q")}, options);
  EXPECT_EQ(result.status, 3);
  EXPECT_NE(result.err.find("GTEX Error !\nThe index 'GI_Sys_Language' was not found."), std::string::npos)
      << result.err;
  EXPECT_NE(ReadWholeFile(run.BoxLog()).find("The index 'GI_Sys_Language' was not found."), std::string::npos);
  // A fatal stop saves nothing.
  EXPECT_FALSE(std::filesystem::exists(run.SettingsFile()));
}

}  // namespace
