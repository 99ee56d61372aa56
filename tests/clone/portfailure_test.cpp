#include "clone/portfailure.h"

#include <gtest/gtest.h>

#include "core/gtex.h"

namespace {

using platform::SerialOpenError;

TEST(PortFailure, NamesTheDeviceAndExplainsPermissionAndBusyFailures) {
  cmcGTex overlay;
  overlay.OpenLines({"#GI_AppMess_PortErr_Permission", "No permission.", "Join group \"%s\".", "Join its group.", "#",
                     "#GI_AppMess_PortErr_Busy", "In use.", "Close it.", "#", "#GI_AppMess_PortErr_Path",
                     "Port %s did not open.", "Not a serial port.", "No path stored.", "#", "#End_Of_Ovl"});
  struct Case {
    platform::SerialOpenFailure failure;
    std::string text;
  };
  const Case cases[] = {
      {{SerialOpenError::kPermission, "/dev/ttyUSB0", "dialout"},
       "/dev/ttyUSB0\nNo permission.\nJoin group \"dialout\"."},
      {{SerialOpenError::kPermission, "/dev/ttyUSB0", ""}, "/dev/ttyUSB0\nNo permission.\nJoin its group."},
      {{SerialOpenError::kPermission, "/dev/ttyS0", "100%s"}, "/dev/ttyS0\nNo permission.\nJoin group \"100%s\"."},
      {{SerialOpenError::kBusy, "/dev/ttyACM0", "dialout"}, "/dev/ttyACM0\nIn use.\nClose it."},
      {{SerialOpenError::kNoDevice, "/dev/ttyUSB3", "dialout"}, "/dev/ttyUSB3"},
      {{SerialOpenError::kSettings, "/dev/ttyUSB3", ""}, "/dev/ttyUSB3"},
      {{SerialOpenError::kNoDevice, "", ""}, "No path stored."},
      {{SerialOpenError::kBusy, "", ""}, "In use.\nClose it."},
      {{SerialOpenError::kNotSerial, "/tmp/notes.txt", ""}, "/tmp/notes.txt\nNot a serial port."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PortFailureText(overlay, c.failure), c.text) << c.failure.path;
  }
  EXPECT_EQ(PortFailureHead(overlay, "/dev/ttyUSB0"), "Port /dev/ttyUSB0 did not open.");
}

}  // namespace
