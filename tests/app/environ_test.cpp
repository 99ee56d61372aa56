#include "app/environ.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QScreen>
#include <QSettings>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/instancelock.h"
#include "app/qt_application.h"
#include "app/settingspaths.h"
#include "support/temp_dir.h"

namespace {

class EnvironTest : public testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  }
  void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }

  // A complete stored set, as a first run leaves it.
  void StoreDefaults() { indEnviron first; }
  void Store(const QString& key, const QVariant& value) {
    QSettings settings(SettingsIniPath(), QSettings::IniFormat);
    settings.setValue(key, value);
  }
  void Erase(const QString& key) {
    QSettings settings(SettingsIniPath(), QSettings::IniFormat);
    settings.remove(key);
  }

  TempDir config;
};

TEST_F(EnvironTest, AFirstRunTakesTheDefaultsAndSavesThemForTheNext) {
  {
    indEnviron environ;
    ASSERT_TRUE(environ.IsFirstInstance());
    EXPECT_EQ(environ.bbt, indEnviron::kVersion);
    EXPECT_EQ(environ.comPort, 1);
    EXPECT_EQ(environ.comSpeedHigh, 1);
    EXPECT_EQ(environ.fontSizePercentage, 80);
    EXPECT_EQ(environ.toolbarVisible, 1);
    EXPECT_EQ(environ.fontSizePrinter, 10);
    EXPECT_EQ(environ.splitterV, 180);
    EXPECT_EQ(environ.makerReserveMode, "kestrel");
    EXPECT_EQ(environ.adjustMode, "");
    EXPECT_EQ(environ.pHelpView, 1);
    EXPECT_EQ(environ.pHelpAlignCheck, 2);
    EXPECT_TRUE(environ.mchDockPending);
    const QRect expected = indEnviron::DefaultWindowBounds(QGuiApplication::primaryScreen()->availableGeometry());
    EXPECT_EQ(QRect(environ.left, environ.top, environ.width, environ.height), expected);
  }
  QSettings stored(SettingsIniPath(), QSettings::IniFormat);
  EXPECT_EQ(stored.value("Global/BBT").toInt(), indEnviron::kVersion);
  EXPECT_EQ(stored.value("Password/MakerReserveMode").toString(), "6B65737472656C");
  EXPECT_EQ(stored.value("Password/AdjustMode").toString(), "00");
  EXPECT_EQ(stored.value("Recent File List/Recent9").toString(), "");
}

TEST_F(EnvironTest, DefaultWindowBoundsFollowTheWorkArea) {
  EXPECT_EQ(indEnviron::DefaultWindowBounds(QRect(0, 0, 1920, 1040)), QRect(448, 81, 1024, 768));
  // 90 % of 799 is 719.1, of 601 is 540.9; 30 % of 61 is 18.3.
  EXPECT_EQ(indEnviron::DefaultWindowBounds(QRect(10, 20, 799, 601)), QRect(10 + 40, 20 + 18, 719, 540));
}

TEST_F(EnvironTest, ChangedValuesSurviveARestart) {
  {
    indEnviron environ;
    environ.comPort = 7;
    environ.currentDirectory = "/home/dealer/radios";
    environ.recent.AddFirst("/home/dealer/radios/b.rwc");
    environ.recent.AddFirst("/home/dealer/radios/a.rwc");
    environ.dockMchWinWidth = 333;
    environ.floatingCheck = 1;
    environ.modelType = 2;
    environ.language = 1;
    environ.makerReserveMode = "Zz9";
    environ.adjustMode = "adj";
  }
  indEnviron environ;
  EXPECT_EQ(environ.comPort, 7);
  EXPECT_EQ(environ.currentDirectory, "/home/dealer/radios");
  ASSERT_EQ(environ.recent.Count(), 2u);
  EXPECT_EQ(environ.recent.At(0), "/home/dealer/radios/a.rwc");
  EXPECT_EQ(environ.recent.At(1), "/home/dealer/radios/b.rwc");
  EXPECT_EQ(environ.dockMchWinWidth, 333);
  EXPECT_FALSE(environ.mchDockPending);
  EXPECT_EQ(environ.modelType, 2);
  EXPECT_EQ(environ.language, 1);
  EXPECT_EQ(environ.makerReserveMode, "Zz9");
  EXPECT_EQ(environ.adjustMode, "adj");
}

TEST_F(EnvironTest, StoredValuesAreClampedOnLoad) {
  struct Case {
    const char* key;
    int stored;
    int indEnviron::*member;
    int loaded;
  };
  const std::vector<Case> cases = {
      {"Global/ComPort", 0, &indEnviron::comPort, 1},
      {"Global/ComPort", 300, &indEnviron::comPort, 256},
      {"Global/ComPort", 42, &indEnviron::comPort, 42},
      {"Global/ComSpeedHigh", 5, &indEnviron::comSpeedHigh, 1},
      {"Global/ComSpeedHigh", -1, &indEnviron::comSpeedHigh, 0},
      {"Global/PHelp AlignCheck", 0, &indEnviron::pHelpAlignCheck, 2},
      {"Global/PHelp AlignCheck", 3, &indEnviron::pHelpAlignCheck, 3},
      {"View Option/FontSize Percentage", 10, &indEnviron::fontSizePercentage, 25},
      {"View Option/FontSize Percentage", 5000, &indEnviron::fontSizePercentage, 1000},
      {"View Option/Toolbar Visible", 7, &indEnviron::toolbarVisible, 1},
      {"View Option/Toolbar Visible", 0, &indEnviron::toolbarVisible, 0},
      {"View Option/FontSize Printer", 20, &indEnviron::fontSizePrinter, 12},
      {"View Option/FontSize Printer", 3, &indEnviron::fontSizePrinter, 8},
      {"Setup/Language", -3, &indEnviron::language, 0},
      {"Window Position/Left", 2147483647, &indEnviron::left, 32767},
      {"Window Position/Top", -2147483647 - 1, &indEnviron::top, -32767},
      {"Window Position/Left", -1200, &indEnviron::left, -1200},
      {"Window Position/Width", 2147483647, &indEnviron::width, 32767},
      {"Window Position/Height", -5, &indEnviron::height, 0},
      {"Window Position/Height", 700, &indEnviron::height, 700},
  };
  StoreDefaults();
  for (const Case& c : cases) {
    Store(c.key, c.stored);
    indEnviron environ;
    EXPECT_EQ(environ.*c.member, c.loaded) << c.key << " stored as " << c.stored;
  }
}

TEST_F(EnvironTest, AMissingOrUnreadableValueFallsBackToTheDefaults) {
  for (const char* damage : {"remove FontSize Printer", "garble FontSize Printer", "remove BBT", "remove Recent4"}) {
    StoreDefaults();
    Store("Global/ComPort", 9);
    Store("Global/AlignCheck", 3);
    Store("Window Position/DockMemWinTop", 55);
    const std::string what = damage;
    if (what == "remove FontSize Printer") Erase("View Option/FontSize Printer");
    if (what == "garble FontSize Printer") Store("View Option/FontSize Printer", "ten");
    if (what == "remove BBT") Erase("Global/BBT");
    if (what == "remove Recent4") Erase("Recent File List/Recent4");

    indEnviron environ;
    EXPECT_EQ(environ.bbt, indEnviron::kVersion) << damage;
    EXPECT_EQ(environ.comPort, 1) << damage << ": a default replaces what was read";
    EXPECT_EQ(environ.fontSizePrinter, 10) << damage;
    EXPECT_EQ(environ.dockMemWinTop, 0) << damage << ": never read after the failure";
    const int alignRead = what == "remove BBT" ? 0 : 3;
    EXPECT_EQ(environ.alignCheck, alignRead) << damage << ": read before the failure, without a default";
  }
}

TEST_F(EnvironTest, AccessWordsAreStoredAsHexadecimalText) {
  EXPECT_EQ(EncodeAccessWord("kestrel"), "6B65737472656C");
  EXPECT_EQ(EncodeAccessWord(""), "00");
  EXPECT_EQ(DecodeAccessWord("00"), "");
  EXPECT_EQ(DecodeAccessWord("414243"), "ABC");
  EXPECT_EQ(DecodeAccessWord("6b6573"), "kes");
  EXPECT_EQ(DecodeAccessWord("41004243"), "A");
  for (const char* bad : {"", "4", "4G", "414"}) EXPECT_EQ(DecodeAccessWord(bad), std::nullopt) << bad;

  struct Case {
    std::optional<QString> stored;
    std::string loaded;
  };
  StoreDefaults();
  for (const Case& c :
       std::vector<Case>{{"00", ""}, {"414243", "ABC"}, {std::nullopt, "kestrel"}, {"XYZ", "kestrel"}}) {
    if (c.stored) {
      Store("Password/MakerReserveMode", *c.stored);
    } else {
      Erase("Password/MakerReserveMode");
    }
    indEnviron environ;
    EXPECT_EQ(environ.makerReserveMode, c.loaded) << c.stored.value_or("(absent)").toStdString();
    EXPECT_EQ(environ.comPort, 1);
  }
}

TEST_F(EnvironTest, ASecondInstanceNeitherLoadsNorSaves) {
  StoreDefaults();
  Store("Global/ComPort", 12);
  const std::string before = ReadWholeFile(SettingsIniPath().toStdString());

  indEnviron first;
  ASSERT_TRUE(first.IsFirstInstance());
  EXPECT_EQ(first.comPort, 12);
  {
    indEnviron second;
    EXPECT_FALSE(second.IsFirstInstance());
    EXPECT_EQ(second.bbt, 0);
    EXPECT_EQ(second.comPort, 0);
    EXPECT_EQ(second.makerReserveMode, "");
    EXPECT_EQ(second.GetEditFormPosition("GI_Sheet_Win_AD"), nullptr);
    second.bbt = indEnviron::kVersion;
    second.comPort = 99;
    EXPECT_FALSE(second.WriteInteger("Column Width", "Col0", 5));
    EXPECT_FALSE(second.DeleteKey("Global"));
  }
  EXPECT_EQ(ReadWholeFile(SettingsIniPath().toStdString()), before);
}

TEST_F(EnvironTest, ALockLeftByAKilledProcessDoesNotBlockTheNextStart) {
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    InstanceLock lock(InstanceLockPath());
    _exit(lock.IsFirstInstance() ? 0 : 1);  // dies holding the lock, as a killed process would
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_TRUE(std::filesystem::exists(InstanceLockPath().toStdString())) << "the dead process left its lock";

  InstanceLock lock(InstanceLockPath());
  EXPECT_TRUE(lock.IsFirstInstance());
  InstanceLock again(InstanceLockPath());
  EXPECT_FALSE(again.IsFirstInstance());
}

TEST_F(EnvironTest, ASettingsFolderThatCannotBeMadeRunsAsTheFirstInstanceAndSavesNothing) {
  // A file where the settings folder belongs: neither the lock nor the settings can be made there.
  const std::string blocker = config.Write("Tarn", "not a folder");
  {
    indEnviron settings;
    EXPECT_TRUE(settings.IsFirstInstance());
    EXPECT_EQ(settings.bbt, indEnviron::kVersion);
    EXPECT_EQ(settings.makerReserveMode, "kestrel");
    EXPECT_FALSE(settings.WriteInteger("Column Width", "Col0", 5));
  }
  EXPECT_EQ(ReadWholeFile(blocker), "not a folder");
}

TEST_F(EnvironTest, EditWindowPositionsAreKeptByNameAndComeBackFromTheFile) {
  {
    indEnviron environ;
    EXPECT_EQ(environ.GetEditFormPosition("GI_Sheet_Win_AD"), nullptr);
    environ.SetEditFormPosition({"GI_Sheet_Win_AD", 10, 20, 300, 400, {1, 2, 3, 4}, 2, 9});
    environ.SetEditFormPosition({"GI_Sheet_Other", 1, 2, 3, 4, {}, 0, 0});
    environ.SetEditFormPosition({"GI_Sheet_Win_AD", 11, 21, 301, 401, {1, 2, 3, 4}, 0, 9});
    EditFormPosition* kept = environ.GetEditFormPosition("GI_Sheet_Win_AD");
    ASSERT_NE(kept, nullptr);
    EXPECT_EQ(kept->left, 11);
    EXPECT_EQ(kept->extra[3], 4);
  }
  Erase("EditForm Position/GI_Sheet_Other_WindowState");
  indEnviron environ;
  EditFormPosition* loaded = environ.GetEditFormPosition("GI_Sheet_Win_AD");
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(std::tie(loaded->left, loaded->top, loaded->width, loaded->height, loaded->windowState),
            std::make_tuple(11, 21, 301, 401, 0));
  EXPECT_EQ(loaded->extra, (std::array<int, 4>{-1, -1, -1, -1}));
  EXPECT_EQ(loaded->last, 0);
  EXPECT_EQ(environ.GetEditFormPosition("GI_Sheet_Other"), nullptr) << "an incomplete position gives none";
}

TEST_F(EnvironTest, GeneralValuesOfOtherPartsAreReadWrittenAndDeleted) {
  indEnviron environ;
  EXPECT_EQ(environ.ReadInteger("Column Width\\GI_Sheet_A", "Col0"), -1);
  EXPECT_EQ(environ.ReadBinary("Column Width\\GI_Sheet_A", "Blob"), std::nullopt);
  EXPECT_TRUE(environ.WriteInteger("Column Width\\GI_Sheet_A", "Col0", 64));
  EXPECT_TRUE(environ.WriteInteger("Column Width\\GI_Sheet_B", "Col0", 32));
  EXPECT_EQ(environ.ReadInteger("Column Width\\GI_Sheet_A", "Col0"), 64);
  Store("Column Width/GI_Sheet_A/Blob", QByteArray("\x01\x02", 2));
  EXPECT_EQ(environ.ReadBinary("Column Width\\GI_Sheet_A", "Blob"), QByteArray("\x01\x02", 2));
  EXPECT_TRUE(environ.DeleteKey("Column Width\\GI_Sheet_A"));
  EXPECT_EQ(environ.ReadInteger("Column Width\\GI_Sheet_A", "Col0"), -1);
  EXPECT_EQ(environ.ReadInteger("Column Width\\GI_Sheet_B", "Col0"), 32);
}

}  // namespace
