// rw-m52-q-cli radio against the simulated radio: information, reads and
// writes at both speeds, the clone password, the radio's faults, backups.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/clonefile.h"
#include "model/memorymap.h"
#include "support/child_process.h"
#include "support/locked_clone_file.h"
#include "support/radio_process.h"
#include "support/temp_dir.h"

namespace {

const std::string kDataDir = RWQ_SOURCE_DATA_DIR;
const std::string kFile = kDataDir + "/Initial_dPMR446.rwc";

class RadioCommandTest : public testing::Test {
 protected:
  void StartRadio(std::vector<std::string> options, const std::string& file = kFile) {
    options.insert(options.begin(), {"--file", file});
    radio = std::make_unique<RadioProcess>(BuiltProgram("rw-m52-q-radiosim"), options, temp.File("radio.log"));
    ASSERT_FALSE(radio->TerminalPath().empty());
  }
  ChildResult Cli(std::vector<std::string> words) {
    words.insert(words.begin(), {BuiltProgram("rw-m52-q-cli"), "radio"});
    return RunChild(words, {{{"RWQ_DATA_DIR", kDataDir}, {"XDG_DATA_HOME", temp.File("xdg")}}, ""});
  }
  std::vector<std::string> Backups() {
    std::vector<std::string> names;
    const std::filesystem::path folder = temp.File("xdg") + "/Tarn/RW-M52-Q/backups";
    if (!std::filesystem::exists(folder)) return names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().string());
    return names;
  }
  const std::string& Port() const { return radio->TerminalPath(); }

  TempDir temp;
  std::unique_ptr<RadioProcess> radio;
};

TEST_F(RadioCommandTest, InformationPrintsEveryField) {
  StartRadio({});
  ChildResult run = Cli({"info", "--port", Port()});
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* line :
       {"model=3620\n", "option=0006\n", "revision=1.0\n", "comment1=", "comment2=", "esn=0001000074565\n",
        "modeltext=Type: analogue; Front panel: no display\n", "stunkill=", "overvoltage=", "checksum=$"}) {
    EXPECT_NE(run.out.find(line), std::string::npos) << line << " in\n" << run.out;
  }
  EXPECT_TRUE(run.out.starts_with("model=3620\noption=0006\nrevision=1.0\n")) << run.out;
}

TEST_F(RadioCommandTest, ReadAndWriteAtBothSpeedsRoundTripByteIdenticalWithBackups) {
  StartRadio({});
  const std::string first = temp.File("first.rwc");
  ChildResult read = Cli({"read", "--port", Port(), "--out", first, "--speed", "low"});
  ASSERT_EQ(read.status, 0) << read.err;
  EXPECT_EQ(Backups().size(), 1u);
  ChildResult write = Cli({"write", "--port", Port(), first, "--speed", "high", "--yes", "--verify"});
  ASSERT_EQ(write.status, 0) << write.err;
  EXPECT_NE(write.err.find("matches what was written"), std::string::npos) << write.err;
  EXPECT_EQ(Backups().size(), 2u);
  const std::string second = temp.File("second.rwc");
  ASSERT_EQ(Cli({"read", "--port", Port(), "--out", second}).status, 0);
  EXPECT_EQ(ReadWholeFile(first), ReadWholeFile(second));
  EXPECT_EQ(Backups().size(), 3u);
  int reads = 0;
  int sent = 0;
  for (const std::string& backup : Backups()) {
    EXPECT_NE(backup.find("_3620_000100012345"), std::string::npos);
    reads += backup.ends_with("_read.rwc");
    sent += backup.ends_with("_sent.rwc");
  }
  EXPECT_EQ(reads, 2);
  EXPECT_EQ(sent, 1);
}

TEST_F(RadioCommandTest, WriteWithoutYesIsCancelledAndSendsNothing) {
  StartRadio({});
  ChildResult write = Cli({"write", "--port", Port(), kFile});
  EXPECT_EQ(write.status, 1);
  EXPECT_NE(write.err.find("Write to the radio?\nNo --yes was given, so the question was taken as Cancel."),
            std::string::npos)
      << write.err;
  EXPECT_TRUE(Backups().empty());
}

TEST_F(RadioCommandTest, FaultsFailWithTheirMessageAndLeaveTheOutputUntouched) {
  struct Case {
    std::string fault;
    std::string message;
  };
  const Case cases[] = {
      {"silence-after:200", "The radio did not answer in time."},
      {"bad-checksum", "The radio sent a damaged or unexpected answer."},
      {"hangup-after:300", "The radio"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fault);
    StartRadio({"--fault", c.fault});
    const std::string out = temp.File("out.rwc");
    ASSERT_TRUE(temp.Write("out.rwc", "old").size() > 0);
    ChildResult read = Cli({"read", "--port", Port(), "--out", out});
    EXPECT_EQ(read.status, 1);
    EXPECT_NE(read.err.find(c.message), std::string::npos) << read.err;
    EXPECT_NE(read.err.find("Check that the radio is switched on."), std::string::npos) << read.err;
    EXPECT_EQ(ReadWholeFile(out), "old");
    radio.reset();
  }
}

TEST_F(RadioCommandTest, WriteThatIsNotConfirmedFails) {
  // The driver reports a confirmation that never comes as a time-out.
  StartRadio({"--fault", "no-confirm"});
  ChildResult write = Cli({"write", "--port", Port(), kFile, "--yes"});
  EXPECT_EQ(write.status, 1);
  EXPECT_NE(write.err.find("The radio did not answer in time."), std::string::npos) << write.err;
  EXPECT_EQ(write.err.find("has been written"), std::string::npos) << write.err;
}

TEST_F(RadioCommandTest, VerifyFindsTheDifferenceTheRadioMadeOnPurpose) {
  // The radio confirms the write but keeps its first record wrong.
  StartRadio({"--fault", "store-wrong"});
  ChildResult unchecked = Cli({"write", "--port", Port(), kFile, "--yes"});
  EXPECT_EQ(unchecked.status, 0) << unchecked.err;
  ChildResult verified = Cli({"write", "--port", Port(), kFile, "--yes", "--verify"});
  EXPECT_EQ(verified.status, 1);
  EXPECT_NE(verified.err.find("The radio does not hold what was written to it. First differing addresses: 0200\n"),
            std::string::npos)
      << verified.err;
  EXPECT_EQ(verified.err.find("matches what was written"), std::string::npos) << verified.err;
  // What was sent is kept all the same.
  EXPECT_EQ(Backups().size(), 2u);
}

TEST_F(RadioCommandTest, PortThatDoesNotOpenNamesThePathGiven) {
  ChildResult missing = Cli({"info", "--port", temp.File("no-such-tty")});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("The port " + temp.File("no-such-tty") + " could not be opened."), std::string::npos)
      << missing.err;
  EXPECT_EQ(missing.err.find("Port 0"), std::string::npos) << missing.err;
  const std::string plainFile = temp.Write("plain.txt", "not a device");
  ChildResult notSerial = Cli({"info", "--port", plainFile});
  EXPECT_EQ(notSerial.status, 1);
  EXPECT_NE(notSerial.err.find("The port " + plainFile + " could not be opened.\nIt is not a serial port."),
            std::string::npos)
      << notSerial.err;
}

// A copy of the shipped file with a clone password in its settings.
std::string LockedFile(const TempDir& temp, const std::string& password) {
  const std::string path = LockedCloneFile(kFile, temp.File("locked.rwc"), password);
  EXPECT_FALSE(path.empty());
  return path;
}

TEST_F(RadioCommandTest, ClonePasswordRightWrongAndMissing) {
  StartRadio({}, LockedFile(temp, "tarn"));
  const std::string out = temp.File("read.rwc");
  ChildResult missing = Cli({"read", "--port", Port(), "--out", out});
  EXPECT_EQ(missing.status, 1);
  EXPECT_NE(missing.err.find("protected by a clone password"), std::string::npos) << missing.err;
  ChildResult wrong = Cli({"read", "--port", Port(), "--out", out, "--password", "tarm"});
  EXPECT_EQ(wrong.status, 1);
  EXPECT_NE(wrong.err.find("The radio did not answer in time."), std::string::npos) << wrong.err;
  EXPECT_NE(wrong.err.find("Check the radio's clone password."), std::string::npos) << wrong.err;
  EXPECT_FALSE(std::filesystem::exists(out));
  ChildResult right = Cli({"read", "--port", Port(), "--out", out, "--password", "tarn"});
  EXPECT_EQ(right.status, 0) << right.err;
  EXPECT_TRUE(std::filesystem::exists(out));
  // The file sets a password: a write asks about it before it asks to write.
  ChildResult write = Cli({"write", "--port", Port(), out, "--password", "tarn", "--yes", "--verify"});
  EXPECT_EQ(write.status, 0) << write.err;
  EXPECT_NE(write.err.find("sets a clone password"), std::string::npos) << write.err;
}

TEST_F(RadioCommandTest, SilenceWithoutAPasswordDoesNotBlameThePassword) {
  StartRadio({"--fault", "silence-after:0"});
  ChildResult read = Cli({"read", "--port", Port(), "--out", temp.File("out.rwc")});
  EXPECT_EQ(read.status, 1);
  EXPECT_EQ(read.err.find("clone password"), std::string::npos) << read.err;
}

// Each refusal comes before the radio's memory changes.
TEST_F(RadioCommandTest, WritesThatMustNotStartAreRefusedBeforeSending) {
  struct Case {
    std::vector<std::string> radioOptions;
    std::string file;
    std::string message;
  };
  const Case cases[] = {
      {{}, kDataDir + "/Initial_LMR.rwc", "There are no channels to write."},
      {{"--top", "0FFF"}, kFile, "but the radio's memory ends at 0FFF. Nothing was written to the radio."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    const std::string memory = temp.File("memory.rwc");
    std::filesystem::copy_file(kFile, memory, std::filesystem::copy_options::overwrite_existing);
    std::vector<std::string> options = c.radioOptions;
    options.insert(options.end(), {"--save-after-write", temp.File("saved.rwc")});
    StartRadio(options, memory);
    ChildResult write = Cli({"write", "--port", Port(), c.file, "--yes"});
    EXPECT_EQ(write.status, 1);
    EXPECT_NE(write.err.find(c.message), std::string::npos) << write.err;
    EXPECT_FALSE(std::filesystem::exists(temp.File("saved.rwc")));
    radio.reset();
  }
}

TEST_F(RadioCommandTest, DataWarningsAreAskedAboutAndOnlyYesWritesThem) {
  // A middle-bandwidth channel while the radio's middle bandwidth is off: a warning, not an error.
  const std::string warned = temp.File("warned.rwc");
  ChildResult made = RunChild({BuiltProgram("rw-m52-q-cli"), "cell", "choose", kDataDir + "/Initial_PMR.rwc", "CT_Mch",
                               "CL_Mch_WNM", "0", "FlexMark", "2", "--out", warned},
                              {{{"RWQ_DATA_DIR", kDataDir}}, ""});
  ASSERT_EQ(made.status, 0) << made.err;
  const std::string question = "The check of the data found warnings in: Bank 0\nWrite to the radio anyway?\n";
  struct Case {
    bool yes;
    int status;
    std::string after;  // what follows the question
    bool written;
  };
  const Case cases[] = {
      {false, 1, "No --yes was given, so the question was taken as Cancel.", false},
      {true, 0, "The data will now be written to the radio", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.yes ? "--yes" : "no --yes");
    const std::string memory = temp.File("memory.rwc");
    std::filesystem::copy_file(kFile, memory, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(temp.File("saved.rwc"));
    StartRadio({"--save-after-write", temp.File("saved.rwc")}, memory);
    std::vector<std::string> words = {"write", "--port", Port(), warned};
    if (c.yes) words.push_back("--yes");
    ChildResult write = Cli(words);
    EXPECT_EQ(write.status, c.status) << write.err;
    EXPECT_NE(write.err.find(question + c.after), std::string::npos) << write.err;
    EXPECT_EQ(std::filesystem::exists(temp.File("saved.rwc")), c.written);
    radio.reset();
  }
}

TEST_F(RadioCommandTest, BackupRadioKeepsWhatTheRadioHeldAndAsksAboutAnotherModel) {
  StartRadio({"--save-after-write", temp.File("saved.rwc")});
  ChildResult same = Cli({"write", "--port", Port(), kFile, "--backup-radio", "--yes"});
  ASSERT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(same.err.find("The radio holds data of the model"), std::string::npos) << same.err;
  ASSERT_EQ(Backups().size(), 2u);
  EXPECT_NE(same.out.find("_read.rwc\nbackup="), std::string::npos) << same.out;
  EXPECT_NE(same.out.find("_sent.rwc\n"), std::string::npos) << same.out;
  std::filesystem::remove(temp.File("saved.rwc"));

  // PMR446 data onto a radio that holds dPMR446 data: asked, and without --yes nothing is sent.
  ChildResult other = Cli({"write", "--port", Port(), kDataDir + "/Initial_PMR.rwc", "--backup-radio"});
  EXPECT_EQ(other.status, 1);
  EXPECT_NE(other.err.find("The radio holds data of the model dPMR446, but the data to be written is for the model "
                           "PMR446.\nWhat the radio held is kept in the backup:\n"),
            std::string::npos)
      << other.err;
  EXPECT_EQ(Backups().size(), 3u);
  EXPECT_FALSE(std::filesystem::exists(temp.File("saved.rwc")));
}

TEST_F(RadioCommandTest, AWriteBrokenOffSaysToWriteAgainAndWhereTheBackupIs) {
  StartRadio({"--fault", "hangup-after:10"});
  ChildResult write = Cli({"write", "--port", Port(), kFile, "--yes"});
  EXPECT_EQ(write.status, 1);
  EXPECT_NE(write.err.find("may not work properly until it is written again."), std::string::npos) << write.err;
  ASSERT_EQ(Backups().size(), 1u);
  EXPECT_NE(write.err.find(Backups()[0]), std::string::npos) << write.err;
  EXPECT_TRUE(Backups()[0].ends_with("_sent.rwc")) << Backups()[0];
}

TEST_F(RadioCommandTest, APasswordTheRadioCouldNeverTakeIsRefused) {
  for (std::string password : {"", "seventeen-bytes!!"}) {
    ChildResult read = Cli({"read", "--port", "/dev/null", "--out", temp.File("out.rwc"), "--password", password});
    EXPECT_EQ(read.status, 2);
    EXPECT_NE(read.err.find("--password must be 1 to 16 bytes long"), std::string::npos) << read.err;
  }
}

TEST_F(RadioCommandTest, WrongUsageIsStatusTwo) {
  for (std::vector<std::string> words : std::vector<std::vector<std::string>>{{},
                                                                              {"info"},
                                                                              {"info", "--port"},
                                                                              {"read", "--port", "x"},
                                                                              {"info", "--port", "x", "--speed", "mid"},
                                                                              {"write", "--port", "x"},
                                                                              {"frob", "--port", "x"},
                                                                              {"info", "--port", "0"}}) {
    EXPECT_EQ(Cli(words).status, 2) << testing::PrintToString(words);
  }
}

}  // namespace
