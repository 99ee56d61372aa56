#include "model/cloneio.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <set>

#include "core/gtex.h"
#include "model/memorymap.h"
#include "support/child_process.h"
#include "support/fatal_trap.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

namespace {

namespace addr = memmap::addr;

const std::string kDataDir = RWQ_SOURCE_DATA_DIR;
const char* const kInitialFiles[] = {"Initial_LMR.rwc", "Initial_PMR.rwc", "Initial_VexlPMR.rwc",
                                     "Initial_dPMR446.rwc"};

class ScopedDataDir {
 public:
  explicit ScopedDataDir(const std::string& dir) { setenv("RWQ_DATA_DIR", dir.c_str(), 1); }
  ~ScopedDataDir() { unsetenv("RWQ_DATA_DIR"); }
};

struct Overlay {
  cmcGTex gtex;
  Overlay() { gtex.Open(kDataDir + "/QZ5071KE.OVL"); }
};

std::string FileErrorText(cmcGTex& overlay, const char* name) {
  return overlay.GetBlockText("GI_Mess_FileErr_Headline") + "\n\n" + overlay.GetBlockText(name);
}

std::uint32_t Long(const cmcEeprom& image, int address) {
  return static_cast<std::uint32_t>(image.GetWord(address)) << 16 | image.GetWord(address + 2);
}

// A raw image as the open command sees it, from the initial file of a model.
cmcEeprom OpenedInitialFile(cmcGTex& overlay, ModelType type) {
  cmcEeprom image;
  EXPECT_EQ(cloneio::Open(overlay, kDataDir + "/" + kInitialFiles[ModelIndex(type)], image, nullptr),
            cmcCloneFile::kOk);
  return image;
}

}  // namespace

// The shipped initial files load, decode into the intended channels and
// re-encode to the very bytes they hold.
TEST(InitialFiles, LoadDecodeAndReEncodeToTheSameBytes) {
  Overlay overlay;
  ScopedDataDir data(kDataDir);
  RecordingMessageBox box;
  for (ModelType type : kAllModelTypes) {
    SCOPED_TRACE(kInitialFiles[ModelIndex(type)]);
    EXPECT_EQ(cloneio::InitialFilePath(overlay.gtex, type), kDataDir + "/" + kInitialFiles[ModelIndex(type)]);
    cmcEeprom initial;
    cloneio::LoadInitialImage(overlay.gtex, type, initial);
    cmcEeprom raw = OpenedInitialFile(overlay.gtex, type);

    EXPECT_EQ(memmap::ModelTypeFromFlags(initial), type);
    EXPECT_EQ(memmap::IdentityCheck(initial, memmap::IdentityLevel::kFull), 0);
    EXPECT_FALSE(memmap::IsNewerData(initial, true));
    EXPECT_EQ(initial.GetWord(addr::kAliasCount), 0);
    EXPECT_EQ(cmcCloneFile::CommentOf(initial), "");

    int channels = IsLandMobile(type) ? 0 : 16;
    EXPECT_EQ(memmap::ChannelsInUse(initial), channels);
    EXPECT_EQ(initial.GetWord(addr::kBankSizes), channels);
    for (int n = 0; n < memmap::kMaxChannels; ++n) {
      std::uint32_t receive = Long(initial, 0x8CF4 + 20 * n);
      if (n >= channels) {
        EXPECT_EQ(receive, 0u) << "channel " << n;
        continue;
      }
      std::uint32_t expected = 446006250 + 12500 * static_cast<std::uint32_t>(n);
      EXPECT_EQ(receive, expected);
      EXPECT_EQ(Long(initial, 0x7F80 + 22 * n), expected);
      EXPECT_EQ(Long(initial, 0x7F80 + 22 * n + 4), expected);
      std::string name(reinterpret_cast<const char*>(initial.Data() + 0x7F80 + 22 * n + 12), 8);
      std::string want = "PMR " + std::to_string(n + 1);
      EXPECT_EQ(name, want + std::string(8 - want.size(), ' '));
    }

    cmcEeprom reencoded = initial;
    ASSERT_TRUE(memmap::Encode(reencoded, type));
    EXPECT_EQ(std::memcmp(reencoded.Data(), raw.Data(), cmcEeprom::kRawSize), 0);
  }
  EXPECT_TRUE(box.shown.empty());
}

// The committed files are exactly what the generator makes from the tables.
TEST(InitialFiles, TheGeneratorRemakesTheCommittedFiles) {
  TempDir out;
  std::string tables = kDataDir + "/../tools/initialfiles/";
  ChildResult result =
      RunChild({BuiltProgram("rwq-initialfile"), out.path().string(), tables + "common.txt", tables + "lmr.txt",
                tables + "pmr.txt", tables + "vexlpmr.txt", tables + "dpmr446.txt"});
  ASSERT_EQ(result.status, 0) << result.err;
  for (const char* name : kInitialFiles) {
    std::string committed = ReadWholeFile(kDataDir + "/" + name);
    EXPECT_FALSE(committed.empty()) << name;
    EXPECT_EQ(ReadWholeFile(out.File(name)), committed) << name << " differs from its table: rebuild rwq_initial_files";
  }
}

TEST(InitialFiles, AMissingInitialFileIsFatalAfterItsMessage) {
  Overlay overlay;
  TempDir empty;
  ScopedDataDir data(empty.path().string());
  RecordingMessageBox box;
  FatalTrap trap;
  cmcEeprom initial;
  try {
    cloneio::LoadInitialImage(overlay.gtex, ModelTypeOrLandMobile(7), initial);  // no map for 7: the land-mobile file
    FAIL() << "no fatal stop";
  } catch (const FatalStop& stop) {
    EXPECT_EQ(std::string(stop.what()), "Cannot open '" + empty.File("Initial_LMR.rwc") + "'.");
  }
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, FileErrorText(overlay.gtex, "GI_Mess_FileErr_FileOpen"));
}

TEST(CloneIo, OpenRefusesWithTheOverlayMessage) {
  Overlay overlay;
  TempDir dir;
  cmcEeprom good = OpenedInitialFile(overlay.gtex, ModelType::kPmr);
  auto saveRaw = [&](const cmcEeprom& image, const char* name, int model = memmap::kMainModelCode) {
    cmcCloneFile file;
    cmcEeprom copy = image;
    file.AttachImage(&copy);
    file.SetModelCode(model);
    file.SetExtraCode(cloneio::kExtraCode);
    file.SetMapRevision(7);
    EXPECT_EQ(file.Write(dir.File(name), {{0, cmcEeprom::kRawSize - 1}}), 0);
    return dir.File(name);
  };
  cmcEeprom badIdentity = good;
  badIdentity.SetByte(addr::kImageFormat, 2);
  cmcEeprom newer = good;
  newer.SetByte(addr::kDataFormatMarker, 2);
  ASSERT_TRUE(memmap::Encode(newer, ModelType::kPmr));
  std::string shortFile = saveRaw(good, "short.rwc");
  std::string text = ReadWholeFile(shortFile);
  std::string missing = dir.Write("missing.rwc", text.substr(0, text.rfind("\r\n7D7010") + 2));

  struct Case {
    std::string path;
    const char* message;
  };
  const Case cases[] = {
      {saveRaw(badIdentity, "identity.rwc"), "GI_Mess_FileErr_Data"},
      {saveRaw(newer, "newer.rwc"), "GI_Mess_FileErr_Newer"},
      {missing, "GI_Mess_FileErr_Coverage"},
      {saveRaw(good, "model.rwc", 0x1234), "GI_Mess_FileErr_Model"},
      {dir.File("none.rwc"), "GI_Mess_FileErr_FileOpen"},
  };
  for (const Case& c : cases) {
    RecordingMessageBox box;
    cmcEeprom candidate;
    EXPECT_NE(cloneio::Open(overlay.gtex, c.path, candidate, nullptr), cmcCloneFile::kOk) << c.message;
    ASSERT_EQ(box.shown.size(), 1u) << c.message;
    EXPECT_EQ(box.shown[0].caption, "RW-M52-Q");
    EXPECT_EQ(box.shown[0].text, FileErrorText(overlay.gtex, c.message));
    EXPECT_EQ(box.shown[0].icon, platform::MsgIcon::Warning);
    EXPECT_TRUE(box.shown[0].topmost);
  }

  RecordingMessageBox box;
  cloneio::FileHeader header;
  cmcEeprom candidate;
  EXPECT_EQ(cloneio::Open(overlay.gtex, saveRaw(good, "alternative.rwc", 0x2926), candidate, &header),
            cmcCloneFile::kOk);
  EXPECT_EQ(header.modelCode, 0x2926);
  EXPECT_EQ(header.mapRevision, 7);
  EXPECT_EQ(std::memcmp(candidate.Data(), good.Data(), cmcEeprom::kRawSize), 0);
  EXPECT_TRUE(box.shown.empty());
}

TEST(CloneIo, SaveWritesWhatOpenReadsAndRefusesAnImageThatDoesNotEncode) {
  Overlay overlay;
  ScopedDataDir data(kDataDir);
  TempDir dir;
  RecordingMessageBox box;
  cmcEeprom edit;
  cloneio::LoadInitialImage(overlay.gtex, ModelType::kDpmr446, edit);
  edit.WriteBlock(addr::kCommentLine1, reinterpret_cast<const std::uint8_t*>("Depot"), 5);
  std::string path = dir.File("depot.rwc");
  ASSERT_EQ(cloneio::Save(overlay.gtex, path, edit, ModelType::kDpmr446), cloneio::SaveResult::kSaved);
  EXPECT_NE(ReadWholeFile(path).find("#Comment=Depot\r\n#MapRev=7\r\n"), std::string::npos);
  cmcEeprom opened;
  ASSERT_EQ(cloneio::Open(overlay.gtex, path, opened, nullptr), cmcCloneFile::kOk);
  EXPECT_EQ(std::memcmp(opened.Data(), edit.Data(), cmcEeprom::kRawSize), 0);

  // 128 dPMR446 channels with 100 aliases do not fit.
  std::string before = ReadWholeFile(path);
  edit.SetWord(addr::kBankSizes, 128);
  edit.SetWord(addr::kAliasCount, 100);
  cmcEeprom unchanged = edit;
  EXPECT_EQ(cloneio::Save(overlay.gtex, path, edit, ModelType::kDpmr446), cloneio::SaveResult::kDoesNotEncode);
  EXPECT_EQ(edit, unchanged);
  EXPECT_EQ(ReadWholeFile(path), before);
  ASSERT_EQ(box.shown.size(), 1u);
  EXPECT_EQ(box.shown[0].text, overlay.gtex.GetBlockText("GI_AppMess_EncodeErr_Overflow"));
  EXPECT_EQ(box.shown[0].icon, platform::MsgIcon::Error);
}

TEST(CloneIo, ASaveThatFailsPartWayLeavesTheOldFileByteIdentical) {
  Overlay overlay;
  ScopedDataDir data(kDataDir);
  TempDir dir;
  std::string path = dir.File("kept.rwc");
  std::string old = ReadWholeFile(kDataDir + "/Initial_LMR.rwc");
  dir.Write("kept.rwc", old);
  cmcEeprom edit;
  cloneio::LoadInitialImage(overlay.gtex, ModelType::kPmr, edit);

  pid_t pid = fork();
  if (pid == 0) {
    RecordingMessageBox box;
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{40000, 40000};  // about half a clone file
    setrlimit(RLIMIT_FSIZE, &limit);
    bool saved = cloneio::Save(overlay.gtex, path, edit, ModelType::kPmr) == cloneio::SaveResult::kSaved;
    bool told = box.shown.size() == 1 && box.shown[0].text == FileErrorText(overlay.gtex, "GI_Mess_FileErr_FileAccess");
    _exit(!saved && told ? 0 : 1);
  }
  int status = -1;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(ReadWholeFile(path), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(CloneIo, EveryErrorCodeHasItsOwnMessage) {
  Overlay overlay;
  RecordingMessageBox box;
  for (int code = 0; code <= 10; ++code) cloneio::ShowFileError(overlay.gtex, static_cast<cmcCloneFile::Error>(code));
  ASSERT_EQ(box.shown.size(), 9u);  // nothing for 0 and for unknown codes
  std::set<std::string> texts;
  for (const platform::MsgRequest& shown : box.shown) {
    EXPECT_TRUE(shown.text.starts_with(overlay.gtex.GetBlockText("GI_Mess_FileErr_Headline") + "\n\n"));
    texts.insert(shown.text);
  }
  EXPECT_EQ(texts.size(), 9u);
}
