// The program: a radio on a pseudo-terminal, reached through the slave path
// it prints.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <optional>
#include <string>

#include "radio_harness.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const std::string kShippedFile = std::string(RWQ_SOURCE_DATA_DIR) + "/Initial_LMR.rwc";
const Bytes kInfoRequest = Hex("FE FE EE EF E0 36 20 00 00 FD");

std::vector<std::string> SimCommand(std::vector<std::string> args) {
  args.insert(args.begin(), BuiltProgram("rw-m52-q-radiosim"));
  return args;
}

// The slave side as the program would open its serial port: raw, 9600 baud.
class Port {
 public:
  explicit Port(const std::string& path) : fd_(open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    if (fd_ < 0) return;
    termios settings{};
    tcgetattr(fd_, &settings);
    cfmakeraw(&settings);
    cfsetspeed(&settings, B9600);
    tcsetattr(fd_, TCSANOW, &settings);
  }
  ~Port() {
    if (fd_ >= 0) close(fd_);
  }
  Port(const Port&) = delete;
  Port& operator=(const Port&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  bool Send(const Bytes& bytes) const {
    return write(fd_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  }
  // `count` bytes, or fewer when none come for five seconds or the line ends.
  Bytes Receive(std::size_t count) const {
    Bytes got;
    while (got.size() < count) {
      pollfd ready = {fd_, POLLIN, 0};
      if (poll(&ready, 1, 5000) <= 0) break;
      std::uint8_t buffer[256];
      ssize_t n = read(fd_, buffer, std::min(sizeof buffer, count - got.size()));
      if (n <= 0) break;
      got.insert(got.end(), buffer, buffer + n);
    }
    return got;
  }

 private:
  int fd_;
};

// What the radio answers to an information request: the codes of the shipped
// file, the 78 identification bytes, and the top address 7D7F among them.
void ExpectInformationReply(const Bytes& reply) {
  ASSERT_EQ(reply.size(), 88u) << Show(reply);
  EXPECT_EQ(Show(Bytes(reply.begin(), reply.begin() + 10)), "FE FE EF EE E1 36 20 00 06 4E");
  EXPECT_EQ(Show(Bytes(reply.begin() + 9 + 62, reply.begin() + 9 + 66)), Show(Ascii("7D7F")));
  EXPECT_EQ(reply.back(), 0xFD);
}

class RadioSimProgram : public ::testing::TestWithParam<bool> {};

TEST_P(RadioSimProgram, AnswersAnInformationRequestOnItsTerminal) {
  TempDir dir;
  std::string link = dir.File("radio");
  std::vector<std::string> args = {"--file", kShippedFile, "--link", link};
  if (GetParam()) args.push_back("--pace");
  ChildProcess sim(SimCommand(args));
  std::optional<std::string> path = sim.ReadOutputLine();
  ASSERT_TRUE(path.has_value());
  EXPECT_TRUE(path->starts_with("/dev/pts/")) << *path;
  EXPECT_EQ(fs::read_symlink(link).string(), *path);
  {
    Port port(*path);
    ASSERT_TRUE(port.IsOpen());
    ASSERT_TRUE(port.Send(kInfoRequest));
    ExpectInformationReply(port.Receive(88));
  }
  // The program closes its port and opens it again, as it does between the
  // steps of a transfer: the radio is still there.
  {
    Port port(*path);
    ASSERT_TRUE(port.Send(kInfoRequest));
    ExpectInformationReply(port.Receive(88));
  }
  ASSERT_TRUE(sim.WaitUntilCatching(SIGTERM));
  sim.Signal(SIGTERM);
  ChildResult result = sim.Finish();
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
}

INSTANTIATE_TEST_SUITE_P(PacedAndNot, RadioSimProgram, ::testing::Bool());

TEST(RadioSimProgramRun, SavesWhatAWriteBrought) {
  TempDir dir;
  std::string saved = dir.File("written.rwc");
  ChildProcess sim(SimCommand({"--file", kShippedFile, "--save-after-write", saved, "--echo"}));
  std::optional<std::string> path = sim.ReadOutputLine();
  ASSERT_TRUE(path.has_value());
  Port port(*path);
  const Bytes write = Hex("FE FE EE EF E3 36 20 00 00 FD");
  // 0x0010 with 01 02: 0x100 - (00 + 10 + 02 + 01 + 02) = EB.
  const Bytes record = Cat(Hex("FE FE EE EF E4"), Ascii("0010020102EB"), Hex("FD"));
  const Bytes end = Cat(Hex("FE FE EE EF E5"), Ascii("Tarn Inc.01"), Hex("FD"));
  ASSERT_TRUE(port.Send(write));
  EXPECT_EQ(Show(port.Receive(write.size() + 1)), Show(Cat(write, Hex("FB"))));
  ASSERT_TRUE(port.Send(Cat(record, end)));
  const Bytes confirmation = Hex("FE FE EF EE E6 00 FD");
  Bytes expected = Cat(record, end, confirmation);
  EXPECT_EQ(Show(port.Receive(expected.size())), Show(expected));
  ASSERT_TRUE(sim.WaitUntilCatching(SIGTERM));
  sim.Signal(SIGTERM);
  ChildResult result = sim.Finish();
  EXPECT_EQ(result.status, 0) << result.err;
  std::string text = ReadWholeFile(saved);
  EXPECT_TRUE(text.starts_with("36200006\r\n")) << text.substr(0, 40);
  EXPECT_NE(text.find("\r\n0010100102" + Repeat("00", 14) + "\r\n"), std::string::npos);
}

TEST(RadioSimProgramRun, HangsUpAfterTheMessagesItWasAllowed) {
  ChildProcess sim(SimCommand({"--file", kShippedFile, "--fault", "hangup-after:1"}));
  std::optional<std::string> path = sim.ReadOutputLine();
  ASSERT_TRUE(path.has_value());
  Port port(*path);
  ASSERT_TRUE(port.Send(kInfoRequest));
  ExpectInformationReply(port.Receive(88));
  ChildResult result = sim.Finish();
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.err.find("hung up"), std::string::npos) << result.err;
}

TEST(RadioSimProgramRun, EndsWithItsInputWhenAsked) {
  ChildResult result = RunChild(SimCommand({"--file", kShippedFile, "--stdin-exit"}));
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_TRUE(result.out.starts_with("/dev/pts/")) << result.out;
}

TEST(RadioSimProgramRun, WrongUsageAndUnusableFiles) {
  ChildResult usage = RunChild(SimCommand({"--record-length", "3", "--file", kShippedFile}));
  EXPECT_EQ(usage.status, 2);
  EXPECT_NE(usage.err.find("--record-length"), std::string::npos) << usage.err;
  EXPECT_EQ(usage.out, "");

  ChildResult missing = RunChild(SimCommand({"--file", "/nonexistent/radio.rwc"}));
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("/nonexistent/radio.rwc"), std::string::npos) << missing.err;
  EXPECT_EQ(missing.out, "");

  ChildResult help = RunChild(SimCommand({"--help"}));
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: rw-m52-q-radiosim")) << help.out;
}

TEST(RadioSimProgramRun, ALinkNeverReplacesAFile) {
  TempDir dir;
  std::string file = dir.Write("taken", "keep me");
  ChildResult result = RunChild(SimCommand({"--file", kShippedFile, "--link", file, "--stdin-exit"}));
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(ReadWholeFile(file), "keep me");
}

}  // namespace
