#include "platform/serialdevice.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <optional>
#include <vector>

namespace platform {

namespace {

struct BaudSpeed {
  int baud;
  speed_t speed;
};
constexpr BaudSpeed kBaudSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

std::optional<speed_t> SpeedOf(int baud) {
  const auto found = std::find_if(std::begin(kBaudSpeeds), std::end(kBaudSpeeds),
                                  [&](const BaudSpeed& entry) { return entry.baud == baud; });
  if (found == std::end(kBaudSpeeds)) return std::nullopt;
  return found->speed;
}

tcflag_t CharacterSize(int dataBits) {
  switch (std::clamp(dataBits, 5, 8)) {
  case 5: return CS5;
  case 6: return CS6;
  case 7: return CS7;
  default: return CS8;
  }
}

SerialOpenError OpenErrorOf(int error) {
  switch (error) {
  case ENOENT:
  case ENXIO:
  case ENODEV:
  case ENOTDIR: return SerialOpenError::kNoDevice;
  case EACCES:
  case EPERM:
  case EROFS: return SerialOpenError::kPermission;
  case EBUSY:
  case EWOULDBLOCK: return SerialOpenError::kBusy;
  case ENOTTY: return SerialOpenError::kNotSerial;
  default: return SerialOpenError::kOther;
  }
}

std::string GroupOwning(const std::string& path) {
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return {};
  std::vector<char> buffer(16384);
  struct group entry;
  struct group* found = nullptr;
  if (getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 || found == nullptr) return {};
  return found->gr_name;
}

// Pseudo-terminals and some adapters have no modem lines and refuse these calls.
bool HasNoModemLines(int error) { return error == ENOTTY || error == EINVAL; }

bool SetModemLine(int fd, int line, bool on) {
  if (ioctl(fd, on ? TIOCMBIS : TIOCMBIC, &line) == 0) return true;
  return HasNoModemLines(errno);
}

std::size_t QueueSize(int fd, unsigned long request) {
  if (fd < 0) return 0;
  int count = 0;
  if (ioctl(fd, request, &count) != 0 || count < 0) return 0;
  return static_cast<std::size_t>(count);
}

}  // namespace

SerialDevice::~SerialDevice() { Close(); }

void SerialDevice::Fail(SerialOpenError error, const std::string& path) {
  failure_.error = error;
  failure_.path = path;
  failure_.deviceGroup = GroupOwning(path);
}

bool SerialDevice::Open(const std::string& path, const SerialLineSettings& settings) {
  Close();
  failure_ = SerialOpenFailure{};
  if (path.empty()) {
    Fail(SerialOpenError::kNoDevice, path);
    return false;
  }
  const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    Fail(OpenErrorOf(errno), path);
    return false;
  }
  // The terminal's exclusive mode keeps other programs out; the lock also
  // holds against programs running as root, which that mode lets through.
  std::optional<SerialOpenError> error;
  if (!isatty(fd)) {
    error = SerialOpenError::kNotSerial;
  } else if (flock(fd, LOCK_EX | LOCK_NB) != 0 || ioctl(fd, TIOCEXCL) != 0) {
    error = OpenErrorOf(errno);
  }
  fd_ = fd;
  if (!error && !Configure(settings)) error = SerialOpenError::kSettings;
  if (!error && tcflush(fd_, TCIOFLUSH) != 0) error = SerialOpenError::kOther;
  if (error) {
    Close();
    Fail(*error, path);
    return false;
  }
  return true;
}

void SerialDevice::Close() {
  if (fd_ < 0) return;
  ioctl(fd_, TIOCNXCL);
  close(fd_);
  fd_ = -1;
}

bool SerialDevice::Configure(const SerialLineSettings& settings) {
  const std::optional<speed_t> speed = SpeedOf(settings.baud);
  struct termios attributes;
  if (fd_ < 0 || !speed || tcgetattr(fd_, &attributes) != 0) return false;
  cfmakeraw(&attributes);
  attributes.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
  attributes.c_cflag |= CharacterSize(settings.dataBits) | CREAD | CLOCAL;
  if (settings.twoStopBits) attributes.c_cflag |= CSTOPB;
  attributes.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK);
  if (settings.parityCheck) attributes.c_iflag |= INPCK;
  attributes.c_cc[VMIN] = 0;
  attributes.c_cc[VTIME] = 0;
  if (cfsetispeed(&attributes, *speed) != 0 || cfsetospeed(&attributes, *speed) != 0) return false;
  if (tcsetattr(fd_, TCSANOW, &attributes) != 0) return false;
  return SetModemLine(fd_, TIOCM_DTR, false) && SetModemLine(fd_, TIOCM_RTS, settings.rtsOn);
}

std::size_t SerialDevice::Read(std::uint8_t* buffer, std::size_t maximum) {
  if (fd_ < 0 || maximum == 0) return 0;
  // Nothing waiting (EAGAIN) and a vanished device or peer (EIO) both read as nothing.
  const ssize_t count = read(fd_, buffer, maximum);
  return count > 0 ? static_cast<std::size_t>(count) : 0;
}

std::size_t SerialDevice::Write(const std::uint8_t* bytes, std::size_t length, std::uint32_t timeLimitMs) {
  using Clock = std::chrono::steady_clock;
  if (fd_ < 0) return 0;
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeLimitMs);
  std::size_t written = 0;
  while (written < length) {
    const ssize_t count = write(fd_, bytes + written, length - written);
    if (count > 0) {
      written += static_cast<std::size_t>(count);
      continue;
    }
    if (count < 0 && errno != EAGAIN && errno != EINTR) break;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) break;
    struct pollfd wait = {fd_, POLLOUT, 0};
    if (poll(&wait, 1, static_cast<int>(left)) < 0 && errno != EINTR) break;
  }
  return written;
}

std::size_t SerialDevice::InQueue() const { return QueueSize(fd_, FIONREAD); }

std::size_t SerialDevice::OutQueue() const { return QueueSize(fd_, TIOCOUTQ); }

}  // namespace platform
