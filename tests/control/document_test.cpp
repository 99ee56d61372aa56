#include "control/document.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/gtex.h"
#include "links/celllinks.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/memorymap.h"
#include "sheet/headless.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

namespace {

class DocumentTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("RWQ_DATA_DIR", RWQ_SOURCE_DATA_DIR "/", 1);
    overlay_.Open(RWQ_SOURCE_DATA_DIR "/QZ5071KE.OVL");
  }
  void TearDown() override { unsetenv("RWQ_DATA_DIR"); }

  // Types `text` into a channel cell of the document's edit image.
  void TypeInto(Document& document, int link, int channel, const std::string& text) {
    cmcFCache choices(overlay_);
    NoEditors editors;
    LinkEnvironment environment{document.Edit(), overlay_, choices, editors};
    environment.modelType = document.Type();
    CellLinks links(environment);
    cmcCellObj cell;
    cell.type = ct::CT_Mch;
    cell.link = link;
    cell.parameter = channel;
    cmcCellCapsule request;
    request.cell = &cell;
    request.editResult = kTextCommitted;
    request.editedText = text;
    links.Evaluate(request, false);
  }

  cmcGTex overlay_;
  TempDir dir_;
  RecordingMessageBox box_;
};

TEST_F(DocumentTest, AnEditSavedAndOpenedAgainGivesTheSameBytes) {
  Document document(overlay_);
  ASSERT_EQ(document.Open(RWQ_SOURCE_DATA_DIR "/Initial_PMR.rwc"), Document::OpenResult::kOpened);
  EXPECT_EQ(document.Type(), ModelType::kPmr);
  EXPECT_FALSE(document.IsModified());

  TypeInto(document, cl::CL_Mch_Operating_Freq, 16, "446.10625");
  EXPECT_TRUE(document.IsModified());
  const std::string path = dir_.File("edited.rwc");
  ASSERT_EQ(document.SaveAs(path), Document::SaveResult::kSaved);
  EXPECT_EQ(document.FileName(), path);
  EXPECT_FALSE(document.IsModified());

  Document reopened(overlay_);
  ASSERT_EQ(reopened.Open(path), Document::OpenResult::kOpened);
  EXPECT_EQ(reopened.Edit(), document.Edit());
  EXPECT_EQ(datCh::ChannelsInUse(reopened.Edit()), 17);
  EXPECT_TRUE(box_.shown.empty());
}

TEST_F(DocumentTest, ARefusedFileLeavesTheDocumentAsItWas) {
  const std::string lmr = ReadWholeFile(RWQ_SOURCE_DATA_DIR "/Initial_LMR.rwc");
  struct Case {
    std::string name;
    std::string content;
  };
  const Case cases[] = {
      {"empty.rwc", ""},
      {"garbage.rwc", "not a clone file\r\n"},
      {"othermodel.rwc", "12340006\r\n" + lmr.substr(lmr.find('\n') + 1)},
      {"cut.rwc", lmr.substr(0, lmr.size() / 2)},
  };
  Document document(overlay_);
  ASSERT_EQ(document.Open(RWQ_SOURCE_DATA_DIR "/Initial_PMR.rwc"), Document::OpenResult::kOpened);
  TypeInto(document, cl::CL_Mch_Operating_Freq, 16, "446.10625");
  const cmcEeprom before = document.Edit();
  const std::string name = document.FileName();
  for (const Case& c : cases) {
    box_.shown.clear();
    EXPECT_EQ(document.Open(dir_.Write(c.name, c.content)), Document::OpenResult::kRefused) << c.name;
    EXPECT_EQ(box_.shown.size(), 1u) << c.name;
    EXPECT_EQ(document.Edit(), before) << c.name;
    EXPECT_EQ(document.FileName(), name) << c.name;
    EXPECT_EQ(document.Type(), ModelType::kPmr) << c.name;
    EXPECT_TRUE(document.IsModified()) << c.name;
  }
}

TEST_F(DocumentTest, NewAndModelChangeStartUntitledAndUnmodified) {
  Document document(overlay_);
  document.LoadModel(ModelType::kDpmr446);
  EXPECT_TRUE(document.IsUntitled());
  EXPECT_EQ(datCh::ChannelsInUse(document.Edit()), 16);
  TypeInto(document, cl::CL_Mch_Operating_Freq, 16, "446.10625");
  EXPECT_TRUE(document.IsModified());
  document.New();
  EXPECT_FALSE(document.IsModified());
  EXPECT_EQ(document.Type(), ModelType::kDpmr446);
  EXPECT_EQ(document.Edit(), document.Saved());
  document.MarkModified();
  EXPECT_TRUE(document.IsModified());
  document.LoadModel(ModelType::kLandMobile);
  EXPECT_FALSE(document.IsModified());
  EXPECT_EQ(datCh::ChannelsInUse(document.Edit()), 0);
}

TEST_F(DocumentTest, ASaveThatCannotEncodeChangesNothing) {
  Document document(overlay_);
  document.LoadModel(ModelType::kDpmr446);
  document.Edit().SetWord(memmap::addr::kBankSizes, 128);
  document.Edit().SetWord(memmap::addr::kAliasCount, 100);
  const cmcEeprom before = document.Edit();
  const std::string path = dir_.File("never.rwc");
  EXPECT_EQ(document.SaveAs(path), Document::SaveResult::kDoesNotEncode);
  EXPECT_EQ(document.Edit(), before);
  EXPECT_TRUE(document.IsUntitled());
  EXPECT_TRUE(document.IsModified());
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
