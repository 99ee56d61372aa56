#pragma once

// One serial device opened through termios for exclusive, raw, non-blocking use.

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// How the line runs. There is never parity; the parity-check flag only asks
// the driver to check input parity.
struct SerialLineSettings {
  int baud = 9600;
  int dataBits = 8;  // 5 to 8
  bool twoStopBits = false;
  bool parityCheck = false;
  bool rtsOn = true;  // DTR is always off
};

// Why an open failed.
enum class SerialOpenError {
  kNone,
  kNoDevice,    // no such device path
  kPermission,  // the user may not open it
  kBusy,        // another program holds it
  kNotSerial,   // the path is no terminal device
  kSettings,    // the device refused the line settings (or the baud is unknown)
  kOther,
};

struct SerialOpenFailure {
  SerialOpenError error = SerialOpenError::kNone;
  std::string path;
  // The name of the group that owns the device (the usual remedy for a
  // permission failure is membership of it); empty when it cannot be told.
  std::string deviceGroup;
};

class SerialDevice {
 public:
  SerialDevice() = default;
  ~SerialDevice();
  SerialDevice(const SerialDevice&) = delete;
  SerialDevice& operator=(const SerialDevice&) = delete;

  // Opens the device for exclusive use, applies the settings and empties both
  // queues; a device already open is closed first. On failure the device stays
  // closed and LastOpenFailure tells why.
  bool Open(const std::string& path, const SerialLineSettings& settings);
  // Safe on a closed device.
  void Close();
  bool IsOpen() const { return fd_ >= 0; }

  // Applies the line settings to the open device. A device without modem lines
  // (a pseudo-terminal) refuses the modem-line calls; that is not a failure.
  bool Configure(const SerialLineSettings& settings);

  // Never waits: the bytes copied, at most maximum; 0 when nothing waits, the
  // device is closed or gone, or the read fails.
  std::size_t Read(std::uint8_t* buffer, std::size_t maximum);
  // Hands the bytes to the driver, waiting at most timeLimitMs for it to take
  // them; the number it took (fewer than length on a timeout or a failure).
  std::size_t Write(const std::uint8_t* bytes, std::size_t length, std::uint32_t timeLimitMs);

  // Bytes in the driver's receive and transmit queues; 0 when closed or when
  // the query fails.
  std::size_t InQueue() const;
  std::size_t OutQueue() const;

  const SerialOpenFailure& LastOpenFailure() const { return failure_; }

 private:
  void Fail(SerialOpenError error, const std::string& path);

  int fd_ = -1;
  SerialOpenFailure failure_;
};

}  // namespace platform
