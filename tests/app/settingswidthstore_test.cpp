#include "app/settingswidthstore.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <cstdlib>

#include "app/environ.h"
#include "app/qt_application.h"
#include "app/settingspaths.h"
#include "support/temp_dir.h"

namespace {

const std::string kKey = "Display\\Mch_Pmr\\colwidth";

class SettingsWidthStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  }
  void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }

  TempDir config;
};

TEST_F(SettingsWidthStoreTest, WidthsSavedAreReadBackByTheNextRun) {
  {
    indEnviron settings;
    SettingsWidthStore(settings).Save(kKey, {{2, 210}, {5, 48}});
  }
  indEnviron settings;
  EXPECT_EQ(SettingsWidthStore(settings).Load(kKey), (ColumnWidthStore::Widths{{2, 210}, {5, 48}}));
}

TEST_F(SettingsWidthStoreTest, ASaveReplacesTheSheetsWidthsAndARemoveDropsThem) {
  indEnviron settings;
  SettingsWidthStore store(settings);
  store.Save(kKey, {{2, 210}, {5, 48}});
  store.Save(kKey, {{2, 180}});
  EXPECT_EQ(SettingsWidthStore(settings).Load(kKey), (ColumnWidthStore::Widths{{2, 180}}));
  store.Remove(kKey);
  EXPECT_EQ(SettingsWidthStore(settings).Load(kKey), ColumnWidthStore::Widths{});
  // Written again after the removal, although the same widths were saved before it.
  store.Save(kKey, {{2, 180}});
  EXPECT_EQ(SettingsWidthStore(settings).Load(kKey), (ColumnWidthStore::Widths{{2, 180}}));
}

TEST_F(SettingsWidthStoreTest, ValuesNotNamedByAColumnOrNotANumberAreLeftOut) {
  indEnviron settings;
  {
    QSettings file(SettingsIniPath(), QSettings::IniFormat);
    file.setValue("Display/Mch_Pmr/colwidth/2", 99);
    file.setValue("Display/Mch_Pmr/colwidth/-1", 50);
    file.setValue("Display/Mch_Pmr/colwidth/name", 50);
    file.setValue("Display/Mch_Pmr/colwidth/3", "wide");
  }
  EXPECT_EQ(SettingsWidthStore(settings).Load(kKey), (ColumnWidthStore::Widths{{2, 99}}));
}

}  // namespace
