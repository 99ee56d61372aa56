#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/accesswords.h"
#include "app/commandline.h"
#include "app/windowbounds.h"

using Request = AccessWordWatcher::Request;

namespace {

// Types `text` and returns the request of the last character.
Request Type(AccessWordWatcher& watcher, const std::string& text, const std::string& makerWord, bool makerOn,
             ModelType modelType) {
  Request last = Request::None;
  for (char c : text) last = watcher.OnKeyChar(c, makerWord, makerOn, modelType);
  return last;
}

}  // namespace

TEST(AccessWords, MakerWordIsMatchedAsTypedInAnyCase) {
  struct Case {
    std::string typed;
    std::string word;
    Request expected;
  };
  const Case cases[] = {
      {"kestrel", "kestrel", Request::MakerMode},
      {"KESTREL", "kestrel", Request::MakerMode},
      {"xkestrel", "kestrel", Request::MakerMode},
      {"kestrex", "kestrel", Request::None},
      {"kkestrel", "kestrel", Request::MakerMode},  // a wrong character that starts the word restarts there
      {"aab", "ab", Request::MakerMode},
      {"q", "", Request::MakerMode},  // an empty word asks on every character
  };
  for (const Case& c : cases) {
    AccessWordWatcher watcher;
    EXPECT_EQ(Type(watcher, c.typed, c.word, false, ModelType::kLandMobile), c.expected) << c.typed << " / " << c.word;
  }
}

TEST(AccessWords, MakerWordIsIgnoredWhileMakerModeIsOnAndRestartsOnReset) {
  AccessWordWatcher watcher;
  EXPECT_EQ(Type(watcher, "kestrel", "kestrel", true, ModelType::kLandMobile), Request::None);
  EXPECT_EQ(Type(watcher, "kest", "kestrel", false, ModelType::kLandMobile), Request::None);
  watcher.ResetMakerMatch();
  EXPECT_EQ(Type(watcher, "rel", "kestrel", false, ModelType::kLandMobile), Request::None);
  EXPECT_EQ(Type(watcher, "kestrel", "kestrel", false, ModelType::kLandMobile), Request::MakerMode);
}

TEST(AccessWords, ExtendedWordNeedsModelTypeThreeAndTheLastEightCharacters) {
  AccessWordWatcher dpmr;
  EXPECT_EQ(Type(dpmr, "xVORMELAQ", "kestrel", false, ModelType::kDpmr446), Request::ExtendedMode);
  AccessWordWatcher lmr;
  EXPECT_EQ(Type(lmr, "xvormelaq", "kestrel", false, ModelType::kLandMobile), Request::None);
  AccessWordWatcher interrupted;
  EXPECT_EQ(Type(interrupted, "vormexlaq", "kestrel", false, ModelType::kDpmr446), Request::None);
}

TEST(CommandLine, MakerSwitchInAnyCaseAmongTheRealArgumentsOnly) {
  struct Case {
    std::vector<const char*> arguments;
    int expected;
  };
  const Case cases[] = {
      {{"rw-m52-q"}, 0},
      {{"rw-m52-q", "/kestrel"}, 1},
      {{"rw-m52-q", "file.rwc", "/KeStReL"}, 1},
      {{"/kestrel"}, 1},  // the program path is compared too
      {{"rw-m52-q", "/KESTREL", "/kestrel"}, 2},
      {{"rw-m52-q", "/kestrels"}, 0},
      {{"rw-m52-q", "/kestre"}, 0},
      {{"rw-m52-q", "kestrel"}, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CountMakerSwitches(c.arguments), c.expected) << (c.arguments.size() > 1 ? c.arguments[1] : "");
  }
}

TEST(CommandLine, TheFileIsTheFirstArgumentThatIsNotTheMakerSwitch) {
  struct Case {
    std::vector<const char*> arguments;
    std::optional<std::string> expected;
  };
  const Case cases[] = {
      {{"rw-m52-q"}, std::nullopt},
      {{"rw-m52-q", "/kestrel"}, std::nullopt},
      {{"rw-m52-q", "a.rwc"}, "a.rwc"},
      {{"rw-m52-q", "/KESTREL", "a.rwc", "b.rwc"}, "a.rwc"},
      {{"rw-m52-q", "", "a.rwc"}, "a.rwc"},
      {{"/kestrel.rwc"}, std::nullopt},  // the program path is never the file
      {{}, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(FileArgument(c.arguments), c.expected) << c.arguments.size();
}

// A file manager opens clone files with the program: the desktop entry takes a
// file and declares the type that the shared-mime-info entry gives *.rwc.
TEST(DesktopEntry, DeclaresTheCloneFileTypeAndTakesAFile) {
  auto read = [](const std::string& name) {
    std::ifstream in(std::string(RWQ_SOURCE_DATA_DIR) + "/" + name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  };
  const std::string desktop = read("rw-m52-q.desktop");
  const std::string mime = read("rw-m52-q.xml");
  const std::string typeStart = R"(<mime-type type=")";
  const std::size_t start = mime.find(typeStart);
  ASSERT_NE(start, std::string::npos);
  const std::size_t from = start + typeStart.size();
  const std::string type = mime.substr(from, mime.find('"', from) - from);
  ASSERT_FALSE(type.empty());
  EXPECT_NE(mime.find(R"(<glob pattern="*.rwc"/>)"), std::string::npos);
  EXPECT_NE(desktop.find("\nMimeType=" + type + ";"), std::string::npos) << desktop;
  EXPECT_NE(desktop.find("\nExec=rw-m52-q %f\n"), std::string::npos) << desktop;
}

TEST(WindowBounds, KeepsSixteenPixelsReachableAndNoMoreThanTheWorkAreaBig) {
  const QRect workArea(0, 0, 1920, 1040);
  struct Case {
    QRect stored;
    QPoint expected;
  };
  const Case cases[] = {
      {{100, 100, 800, 600}, {100, 100}},     // inside: unchanged
      {{5000, 100, 800, 600}, {1904, 100}},   // off the right edge: left edge 16 inside
      {{100, 3000, 800, 600}, {100, 1024}},   // below the bottom
      {{-2000, 100, 800, 600}, {-784, 100}},  // off the left: its right edge 16 inside
      {{100, -300, 800, 600}, {100, 0}},      // above the top: top at the work area's top
  };
  for (const Case& c : cases) {
    QRect fitted = FitToWorkArea(c.stored, workArea);
    EXPECT_EQ(fitted.topLeft(), c.expected) << c.stored.x() << "," << c.stored.y();
    EXPECT_EQ(fitted.size(), c.stored.size());
  }
  // A size beyond the work area (damaged settings) shrinks to it before the position is fitted.
  EXPECT_EQ(FitToWorkArea({100, 100, 32767, 32767}, workArea), QRect(100, 100, 1920, 1040));
  // A work area that does not start at the origin (a panel on the left).
  EXPECT_EQ(FitToWorkArea({-2000, 50, 800, 600}, QRect(64, 32, 1856, 1008)).topLeft(), QPoint(-720, 50));
}
