#include "radiosim/pseudoterminal.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <utility>

namespace {

constexpr int kDefaultSpeed = 9600;

constexpr std::array<std::pair<speed_t, int>, 12> kSpeeds = {{
    {B1200, 1200},
    {B2400, 2400},
    {B4800, 4800},
    {B9600, 9600},
    {B19200, 19200},
    {B38400, 38400},
    {B57600, 57600},
    {B115200, 115200},
    {B230400, 230400},
    {B460800, 460800},
    {B500000, 500000},
    {B921600, 921600},
}};

std::string Failed(const std::string& what) { return what + ": " + std::strerror(errno); }

std::string LinkTarget(const std::string& link) {
  std::array<char, 4096> buffer{};
  ssize_t length = readlink(link.c_str(), buffer.data(), buffer.size() - 1);
  return length > 0 ? std::string(buffer.data(), static_cast<std::size_t>(length)) : std::string();
}

}  // namespace

PseudoTerminal::~PseudoTerminal() { Close(); }

std::string PseudoTerminal::Open() {
  master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (master_ < 0) return Failed("posix_openpt");
  if (grantpt(master_) != 0 || unlockpt(master_) != 0) return Failed("unlockpt");
  std::array<char, 256> name{};
  if (ptsname_r(master_, name.data(), name.size()) != 0) return Failed("ptsname");
  slavePath_ = name.data();
  slave_ = open(slavePath_.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (slave_ < 0) return Failed("open " + slavePath_);
  termios settings{};
  if (tcgetattr(slave_, &settings) != 0) return Failed("tcgetattr");
  cfmakeraw(&settings);
  cfsetspeed(&settings, B9600);
  if (tcsetattr(slave_, TCSANOW, &settings) != 0) return Failed("tcsetattr");
  return {};
}

void PseudoTerminal::Close() {
  if (slave_ >= 0) close(std::exchange(slave_, -1));
  if (master_ >= 0) close(std::exchange(master_, -1));
}

int PseudoTerminal::LineSpeed() const {
  termios settings{};
  if (slave_ < 0 || tcgetattr(slave_, &settings) != 0) return kDefaultSpeed;
  speed_t speed = cfgetospeed(&settings);
  for (auto [code, baud] : kSpeeds) {
    if (code == speed) return baud;
  }
  return kDefaultSpeed;
}

int PseudoTerminal::UnreadBySlave() const {
  int count = 0;
  if (slave_ < 0 || ioctl(slave_, FIONREAD, &count) != 0) return 0;
  return count;
}

SlaveLink::~SlaveLink() {
  if (!link_.empty() && LinkTarget(link_) == target_) unlink(link_.c_str());
}

std::string SlaveLink::Make(const std::string& link, const std::string& target) {
  struct stat status {};
  if (lstat(link.c_str(), &status) == 0) {
    if (!S_ISLNK(status.st_mode)) return link + ": exists and is not a symbolic link";
    if (unlink(link.c_str()) != 0) return Failed("unlink " + link);
  }
  if (symlink(target.c_str(), link.c_str()) != 0) return Failed("symlink " + link);
  link_ = link;
  target_ = target;
  return {};
}
