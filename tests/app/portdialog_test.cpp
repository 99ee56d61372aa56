#include "app/portdialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/environ.h"
#include "app/qt_application.h"
#include "app/settingspaths.h"
#include "core/gtex.h"
#include "platform/clock.h"
#include "runtime/events.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

class PortDialogTest : public testing::Test {
 protected:
  void SetUp() override {
    TestApplication();
    overlay.Open(std::string(RWQ_SOURCE_DATA_DIR) + "/QZ5071KE.OVL");
    roots = {(tree.path() / "sys").string(), (tree.path() / "dev").string()};
  }

  // A kernel port ttyS0 with its node, and a USB adapter on ttyUSB0 with its node.
  void MakePorts() {
    for (const char* name : {"ttyS0", "ttyUSB0"}) {
      const fs::path entry = tree.path() / "sys/class/tty" / name;
      const fs::path device = tree.path() / "sys/devices" / name / name;
      fs::create_directories(entry);
      fs::create_directories(device);
      fs::create_symlink(device, entry / "device");
      WriteText(tree.path() / "dev" / name, "");
    }
    WriteText(tree.path() / "sys/class/tty/ttyS0/type", "4\n");
    WriteText(tree.path() / "sys/devices/ttyUSB0/idVendor", "0403\n");
    WriteText(tree.path() / "sys/devices/ttyUSB0/product", "Tarn Cable\n");
  }
  static void WriteText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
  }
  std::string Dev(const char* name) const { return (tree.path() / "dev" / name).string(); }

  // Presses OK with the number edit holding text; whether the dialog accepted.
  static bool OkWith(PortDialog& dialog, const QString& text) {
    dialog.NumberEdit()->setText(text);
    dialog.OkButton()->click();
    return dialog.result() == QDialog::Accepted;
  }

  cmcGTex overlay;
  TempDir tree;
  platform::DiscoveryRoots roots;
};

TEST_F(PortDialogTest, RefusesNumbersOutside1To256WithTheMessageAndAccepts256) {
  RecordingMessageBox boxes;
  PortDialog dialog(nullptr, overlay, 5, PortFieldStyle::kNumber, {}, roots);
  EXPECT_EQ(dialog.windowTitle().toStdString(), overlay.GetLine("GI_AppInd_Opt_ComSel_Caption", 0));
  EXPECT_EQ(dialog.NumberEdit()->text(), "5");
  EXPECT_EQ(dialog.List(), nullptr);
  const QString refused[] = {"0", "257", "", "  ", "abc", "-1", "12a", "+5", "9999"};
  for (const QString& text : refused) {
    EXPECT_FALSE(OkWith(dialog, text)) << text.toStdString();
    EXPECT_EQ(dialog.ChosenPort(), std::nullopt);
  }
  ASSERT_EQ(boxes.shown.size(), std::size(refused));
  const platform::MsgRequest& box = boxes.shown.front();
  EXPECT_EQ(box.text, overlay.GetBlockText("GI_AppInd_Opt_ComSel_OutofRange"));
  EXPECT_EQ(box.caption, overlay.GetLine("GI_Sys_AppTitle", 0));
  EXPECT_EQ(box.icon, platform::MsgIcon::Error);
  EXPECT_TRUE(box.topmost);

  EXPECT_TRUE(OkWith(dialog, "256"));
  EXPECT_EQ(dialog.ChosenPort(), 256);
  EXPECT_EQ(boxes.shown.size(), std::size(refused));
}

TEST_F(PortDialogTest, TheNumberIsTrimmedAndTheEditHoldsFourCharacters) {
  RecordingMessageBox boxes;
  PortDialog dialog(nullptr, overlay, 1, PortFieldStyle::kNumber, {}, roots);
  EXPECT_EQ(dialog.NumberEdit()->maxLength(), 4);
  EXPECT_TRUE(OkWith(dialog, " 1 "));
  EXPECT_EQ(dialog.ChosenPort(), 1);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PortDialogTest, CancelChoosesNothing) {
  RecordingMessageBox boxes;
  PortDialog dialog(nullptr, overlay, 33, PortFieldStyle::kNumber, {}, roots);
  dialog.NumberEdit()->setText("40");
  dialog.CancelButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(dialog.ChosenPort(), std::nullopt);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PortDialogTest, TheNumberListOffersTheKernelsPortsAndKeepsTheTypedNumber) {
  MakePorts();
  RecordingMessageBox boxes;
  PortDialog dialog(nullptr, overlay, 7, PortFieldStyle::kNumberList, {}, roots);
  ASSERT_NE(dialog.List(), nullptr);
  ASSERT_EQ(dialog.List()->count(), 2);
  EXPECT_EQ(dialog.List()->itemText(0), "1");
  EXPECT_EQ(dialog.List()->itemText(1), "33");
  EXPECT_EQ(dialog.NumberEdit()->text(), "7");
  dialog.NumberEdit()->setText("12");
  WriteText(tree.path() / "dev/ttyACM0", "");
  fs::create_directories(tree.path() / "sys/class/tty/ttyACM0");
  fs::create_symlink(tree.path() / "sys/devices/ttyUSB0/ttyUSB0", tree.path() / "sys/class/tty/ttyACM0/device");
  dialog.RefillList();
  EXPECT_EQ(dialog.List()->count(), 3);
  EXPECT_EQ(dialog.NumberEdit()->text(), "12");
  EXPECT_FALSE(OkWith(dialog, "0"));
  EXPECT_TRUE(OkWith(dialog, "97"));
  EXPECT_EQ(dialog.ChosenPort(), 97);
}

TEST_F(PortDialogTest, TheNamedListSelectsTheCurrentPortAndGivesTheChosenEntrysNumber) {
  MakePorts();
  RecordingMessageBox boxes;
  PortDialog dialog(nullptr, overlay, 33, PortFieldStyle::kNamedList, {}, roots);
  QComboBox* list = dialog.List();
  ASSERT_NE(list, nullptr);
  EXPECT_FALSE(list->isEditable());
  ASSERT_EQ(list->count(), 2);
  EXPECT_EQ(list->itemText(0).toStdString(), "1: Serial port (" + Dev("ttyS0") + ")");
  EXPECT_EQ(list->itemText(1).toStdString(), "33: Tarn Cable (" + Dev("ttyUSB0") + ")");
  EXPECT_EQ(list->currentIndex(), 1);

  // A refill keeps the chosen entry selected and follows the ports present.
  list->setCurrentIndex(0);
  fs::remove(tree.path() / "dev/ttyUSB0");
  dialog.RefillList();
  ASSERT_EQ(list->count(), 1);
  EXPECT_EQ(list->currentIndex(), 0);
  dialog.OkButton()->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.ChosenPort(), 1);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(PortDialogTest, ANamedListWithoutPortsRefusesOk) {
  RecordingMessageBox boxes;
  PortDialog dialog(nullptr, overlay, 33, PortFieldStyle::kNamedList, {}, roots);
  EXPECT_EQ(dialog.List()->count(), 0);
  dialog.OkButton()->click();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(boxes.shown.size(), 1u);
}

// The whole command: the stored port is offered, the chosen one stored, and
// the window order restored afterwards.
class ChooseComPortTest : public PortDialogTest {
 protected:
  void SetUp() override {
    PortDialogTest::SetUp();
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
  }
  void TearDown() override { unsetenv("XDG_CONFIG_HOME"); }

  // Once the dialog runs, types text into it and presses the button.
  static void AnswerDialog(const QString& text, bool ok) {
    QTimer::singleShot(0, [text, ok] {
      auto* dialog = qobject_cast<PortDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      EXPECT_EQ(dialog->NumberEdit()->text(), "1");
      dialog->NumberEdit()->setText(text);
      (ok ? dialog->OkButton() : dialog->CancelButton())->click();
    });
  }
  static void CountWindowOrder(void* data, const Event& event) {
    if (event.code == ev::kWindowOrder) ++*static_cast<int*>(data);
  }

  TempDir config;
  platform::ManualClock clock;
  TaskScheduler scheduler{clock};
  cmcEvMan events{scheduler};
};

TEST_F(ChooseComPortTest, StoresTheChosenPortOnOkAndNothingOnCancel) {
  RecordingMessageBox boxes;
  indEnviron settings;
  ASSERT_EQ(settings.comPort, 1);
  int windowOrders = 0;
  events.AddListener(&CountWindowOrder, &windowOrders);

  AnswerDialog("161", false);
  EXPECT_FALSE(ChooseComPort(nullptr, overlay, events, settings, PortFieldStyle::kNumber));
  EXPECT_EQ(settings.comPort, 1);
  EXPECT_EQ(windowOrders, 1);

  AnswerDialog("161", true);
  EXPECT_TRUE(ChooseComPort(nullptr, overlay, events, settings, PortFieldStyle::kNumber));
  EXPECT_EQ(settings.comPort, 161);
  EXPECT_EQ(windowOrders, 2);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(ChooseComPortTest, UserPathsAreReadFromTheirSettingsGroup) {
  {
    QSettings stored(SettingsIniPath(), QSettings::IniFormat);
    stored.setValue("PortPaths/161", "/dev/serial/by-id/usb-Tarn_Cable-if00");
    stored.setValue("PortPaths/256", "/dev/rfcomm0");
    stored.setValue("PortPaths/170", "");
    stored.setValue("PortPaths/12", "/dev/ignored");
    stored.setValue("PortPaths/257", "/dev/ignored");
    stored.setValue("PortPaths/cable", "/dev/ignored");
  }
  indEnviron settings;
  const platform::PortPaths expected = {{161, "/dev/serial/by-id/usb-Tarn_Cable-if00"}, {256, "/dev/rfcomm0"}};
  EXPECT_EQ(settings.ReadPortPaths(), expected);
}

}  // namespace
