// The command line of the simulated radio.

#include "radiosim/options.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

CommandLine Parse(std::vector<std::string> args) { return ParseCommandLine(args); }

TEST(RadioSimOptions, Defaults) {
  CommandLine line = Parse({"--file", "a.rwc"});
  ASSERT_EQ(line.outcome, CommandLine::Outcome::kRun) << line.error;
  EXPECT_EQ(line.options.file, "a.rwc");
  EXPECT_EQ(line.options.link, "");
  EXPECT_EQ(line.options.saveAfterWrite, "");
  EXPECT_FALSE(line.options.pace);
  EXPECT_FALSE(line.options.stdinExit);
  EXPECT_FALSE(line.options.verbose);
  EXPECT_FALSE(line.options.radio.echo);
  EXPECT_EQ(line.options.radio.recordLength, 16);
  EXPECT_EQ(line.options.radio.traits.topAddress, 0x7D7F);
  EXPECT_FALSE(line.options.radio.traits.passwordForWriteOnly);
  EXPECT_FALSE(line.options.radio.faults.Has(Fault::kGarbage));
}

TEST(RadioSimOptions, EveryOption) {
  CommandLine line = Parse({"--file=a.rwc", "--link", "/tmp/radio", "--echo", "--pace", "--record-length", "32",
                            "--top", "0x1234", "--password-write-only", "--save-after-write", "out.rwc", "--fault",
                            "refuse:2", "--fault=garbage", "--stdin-exit", "--verbose"});
  ASSERT_EQ(line.outcome, CommandLine::Outcome::kRun) << line.error;
  EXPECT_EQ(line.options.file, "a.rwc");
  EXPECT_EQ(line.options.link, "/tmp/radio");
  EXPECT_TRUE(line.options.radio.echo);
  EXPECT_TRUE(line.options.pace);
  EXPECT_EQ(line.options.radio.recordLength, 32);
  EXPECT_EQ(line.options.radio.traits.topAddress, 0x1234);
  EXPECT_TRUE(line.options.radio.traits.passwordForWriteOnly);
  EXPECT_EQ(line.options.saveAfterWrite, "out.rwc");
  EXPECT_EQ(line.options.radio.faults.Number(Fault::kRefuse), 2);
  EXPECT_EQ(line.options.radio.faults.Number(Fault::kGarbage), 8);
  EXPECT_TRUE(line.options.stdinExit);
  EXPECT_TRUE(line.options.verbose);
}

TEST(RadioSimOptions, RecordLengthsAndTops) {
  struct Case {
    std::vector<std::string> args;
    bool accepted;
  };
  const Case kCases[] = {
      {{"--record-length", "2"}, true},
      {{"--record-length", "254"}, true},
      {{"--record-length", "0"}, false},
      {{"--record-length", "7"}, false},
      {{"--record-length", "256"}, false},
      {{"--record-length", "1e"}, false},
      {{"--record-length", "-2"}, false},
      {{"--top", "7D7F"}, true},
      {{"--top", "0"}, true},
      {{"--top", "7D80"}, false},
      {{"--top", "-1"}, false},
      {{"--top", "0x"}, false},
      {{"--top", "12G"}, false},
      {{"--record-length"}, false},
      {{"--echo=yes"}, false},
      {{"--fault", "nonsense"}, false},
      {{"--fault", "refuse", "--fault", "refuse"}, false},
      {{"--no-such-option"}, false},
      {{"stray"}, false},
  };
  for (const Case& c : kCases) {
    std::vector<std::string> args = {"--file", "a.rwc"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    CommandLine line = Parse(args);
    EXPECT_EQ(line.outcome == CommandLine::Outcome::kRun, c.accepted) << c.args.front() << " " << c.args.back();
    EXPECT_EQ(line.error.empty(), c.accepted) << line.error;
  }
}

TEST(RadioSimOptions, TheFileIsRequired) {
  CommandLine line = Parse({"--echo"});
  EXPECT_EQ(line.outcome, CommandLine::Outcome::kUsageError);
  EXPECT_NE(line.error.find("--file"), std::string::npos);
}

TEST(RadioSimOptions, HelpListsEveryOptionAndFault) {
  EXPECT_EQ(Parse({"--help"}).outcome, CommandLine::Outcome::kHelp);
  EXPECT_EQ(Parse({"--file", "a", "--help"}).outcome, CommandLine::Outcome::kHelp);
  std::string help = HelpText();
  for (const char* option : {"--file CLONEFILE", "--link PATH", "--echo", "--pace", "--record-length N", "--top HEX",
                             "--password-write-only", "--save-after-write FILE", "--fault KIND[:N]", "--stdin-exit",
                             "--verbose", "--help"}) {
    EXPECT_NE(help.find(option), std::string::npos) << option;
  }
  for (const FaultKind& kind : FaultKinds()) EXPECT_NE(help.find(kind.name), std::string::npos) << kind.name;
  std::size_t start = 0;
  while (start < help.size()) {
    std::size_t end = help.find('\n', start);
    EXPECT_LE(end - start, 100u) << help.substr(start, end - start);
    start = end + 1;
  }
}

}  // namespace
