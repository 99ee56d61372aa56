#include "cli/cli.h"

#include <gtest/gtest.h>

#include <sstream>

#include "support/child_process.h"

namespace {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

CliRun RunCli(std::vector<const char*> args) {
  args.insert(args.begin(), "rw-m52-q-cli");
  std::ostringstream out, err;
  int status = cli::Run(static_cast<int>(args.size()), args.data(), out, err);
  return {status, out.str(), err.str()};
}

}  // namespace

TEST(Cli, HelpVersionAndUsageErrors) {
  CliRun help = RunCli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: rw-m52-q-cli"), std::string::npos);

  CliRun version = RunCli({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("rw-m52-q-cli ") + RWQ_VERSION + "\n");

  EXPECT_EQ(RunCli({}).status, 2);
  EXPECT_EQ(RunCli({"--bogus"}).status, 2);
  CliRun unknown = RunCli({"no-such-command"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.err.find("unknown command 'no-such-command'"), std::string::npos);
}

TEST(CliProgram, RunsAsItsOwnProcess) {
  ChildResult result = RunChild({BuiltProgram("rw-m52-q-cli"), "--version"});
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out, std::string("rw-m52-q-cli ") + RWQ_VERSION + "\n");
}
