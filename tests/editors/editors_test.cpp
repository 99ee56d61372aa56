#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <optional>
#include <string>
#include <vector>

#include "core/gtex.h"
#include "editors/editorlinkhost.h"
#include "editors/fbitsr.h"
#include "editors/fsegtext.h"
#include "editors/segedit.h"
#include "editors/segmentpreview.h"
#include "grid/flector.h"
#include "grid/grid_fixture.h"
#include "links/families.h"
#include "markup/ids.h"
#include "model/charset.h"
#include "runtime/events.h"
#include "sheet/cellhit.h"
#include "sheet/segchar.h"
#include "sheet/sheet.h"

namespace {

const std::string kDataDir = RWQ_SOURCE_DATA_DIR;

// A grid whose cells open the editors through the desktop's link host, over
// the shipped main overlay (its models, buttons and palette); the replies
// that reach the opening cell are recorded.
class EditorsTest : public GridFixture {
 protected:
  void SetUp() override {
    GridFixture::SetUp();
    main_.Open(kDataDir + "/QZ5071KE.OVL");
    std::string why;
    charset_ = Charset::Load(kDataDir + "/charset.txt", why);
    ASSERT_TRUE(charset_) << why;
    shapes_ = Segchar::FromOverlay(main_);
    UseSheet("(FixedRows=1)", {"a|b", "{($Sel)}e|{($Sel)}f", "{($Sel)}g|{($Sel)}h"});
    SheetServices services{main_, main_, image_, measurer_};
    services.events = &events_;
    services.charset = &*charset_;
    services.segchar = &*shapes_;
    services.onFault = [this](const std::string& text) { faults_.push_back(text); };
    host_.SetSheetServices(services);
    reply = [this](cmcCellCapsule& request) {
      if (request.editResult == kPopupChoice) {
        replies.push_back(ReplyText(request).value_or("(none)"));
        return 0;
      }
      if (request.key == cellkey::kEnter && open && open(request)) return static_cast<int>(kPopupEditor);
      return 0;
    };
    Show();
  }
  void TearDown() override {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (dynamic_cast<FieldEditor*>(window)) window->close();
    }
    Settle();
  }
  static void Settle() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
  }
  template <typename Editor>
  static Editor* Opened() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* editor = dynamic_cast<Editor*>(window); editor && editor->isVisible()) return editor;
    }
    return nullptr;
  }
  // Enter on the cell (0, 1) opens an editor.
  void PressEnter() {
    grid_->Sheet()->MakeCurrent(0, 1);
    QTest::keyClick(grid_, Qt::Key_Return);
    Settle();
  }
  QRect OpeningCellOnScreen() {
    const cuiSheet& sheet = *grid_->Sheet();
    const std::optional<CellRect> cell =
        CellHit(sheet.Geometry(), sheet.LeftColumn(), sheet.TopRow()).RectOf(CellPosition{0, 1});
    EXPECT_TRUE(cell);
    return QRect(grid_->viewport()->mapToGlobal(QPoint(cell->left, cell->top)), QSize(cell->Width(), cell->Height()));
  }
  cuiFBitsR* OpenBits(int first, int last, int style, std::uint32_t bits) {
    open = [=, this](cmcCellCapsule& request) {
      return host_.OpenFlagEditor(request, FlagEditorForm::Generated(first, last, style), bits);
    };
    PressEnter();
    cuiFBitsR* editor = Opened<cuiFBitsR>();
    EXPECT_NE(editor, nullptr) << (faults_.empty() ? "" : faults_.back());
    return editor;
  }
  // Space on option cell n (the cell row is the sheet's second row).
  static void ToggleOption(cuiFBitsR& editor, int n) {
    cuiSheet& sheet = *editor.Grid().Sheet();
    for (int row = 0; row < sheet.Rows(); ++row) {
      for (int column = 0; column < sheet.Columns(); ++column) {
        const clsSheetCellId* id = sheet.CellAt(column, row);
        if (id && id->cell.link == cl::CL_FBits && id->cell.parameter == n) {
          sheet.MakeCurrent(column, row);
          QTest::keyClick(&editor.Grid(), Qt::Key_Space);
          return;
        }
      }
    }
    ADD_FAILURE() << "no option cell " << n;
  }

  cmcGTex main_;
  std::optional<Charset> charset_;
  std::optional<Segchar> shapes_;
  EditorLinkHost host_;
  std::function<bool(cmcCellCapsule&)> open;
  std::vector<std::string> replies;
};

TEST_F(EditorsTest, TheBitFieldEditorOpensBelowItsCellWithTheLabelsAndRepliesTheToggledBits) {
  cuiFBitsR* editor = OpenBits(1, 4, 5, 0);
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(FieldEditor::AnyOpen());
  const QRect cell = OpeningCellOnScreen();
  EXPECT_EQ(editor->frameGeometry().top(), cell.bottom() + 1);
  EXPECT_EQ(editor->frameGeometry().left(), cell.left() + 8);
  cuiSheet& form = *editor->Grid().Sheet();
  std::vector<std::string> labels;
  for (int row = 0; row < form.Rows(); ++row) {
    for (int column = 0; column < form.Columns(); ++column) {
      const clsSheetCellId* id = form.CellAt(column, row);
      if (id && id->cell.link != cl::CL_FBits && id->cell.displayText && !id->cell.displayText->empty())
        labels.push_back(*id->cell.displayText);
    }
  }
  EXPECT_EQ(labels, (std::vector<std::string>{"A", "B", "C", "D"}));
  ToggleOption(*editor, 1);
  ToggleOption(*editor, 3);
  EXPECT_EQ(editor->Value(), 41943040u);
  QTest::mouseClick(&editor->OkButton(), Qt::LeftButton);
  Settle();
  EXPECT_EQ(replies, (std::vector<std::string>{"41943040"}));
  EXPECT_FALSE(FieldEditor::AnyOpen());
}

TEST_F(EditorsTest, CancelAndEscapeReplyNothingAndAClickElsewhereRepliesOnce) {
  struct Case {
    const char* what;
    std::function<void(cuiFBitsR&)> leave;
    std::vector<std::string> replies;
  };
  const std::vector<Case> cases = {
      {"Cancel", [](cuiFBitsR& e) { QTest::mouseClick(&e.CancelButton(), Qt::LeftButton); }, {}},
      {"Escape", [](cuiFBitsR& e) { QTest::keyClick(&e.Grid(), Qt::Key_Escape); }, {}},
      {"deactivated", [](cuiFBitsR& e) { e.Deactivate(); }, {"33554432"}},
      {"deactivated twice, then OK",
       [](cuiFBitsR& e) {
         e.Deactivate();
         e.Deactivate();
         e.Commit();
       },
       {"33554432"}},
      {"close request of the event manager",
       [this](cuiFBitsR&) { events_.Send(ev::kCloseEditors, nullptr, 0); },
       {"33554432"}},
      {"owner destroyed", [this](cuiFBitsR&) { events_.Send(ev::kOwnerDestroyed, window_.get(), 0); }, {}},
  };
  for (const Case& c : cases) {
    replies.clear();
    cuiFBitsR* editor = OpenBits(1, 2, 0, 0);
    ASSERT_NE(editor, nullptr) << c.what;
    ToggleOption(*editor, 1);
    c.leave(*editor);
    Settle();
    EXPECT_EQ(replies, c.replies) << c.what;
    EXPECT_EQ(Opened<cuiFBitsR>(), nullptr) << c.what;
  }
}

TEST_F(EditorsTest, WhileAnEditorIsOpenTheWheelIsConsumed) {
  EXPECT_EQ(events_.Query(ev::kQueryConsumeWheel, grid_, -120), nullptr);
  ASSERT_NE(OpenBits(1, 2, 0, 0), nullptr);
  const cmcEvAns* answer = events_.Query(ev::kQueryConsumeWheel, grid_, -120);
  ASSERT_NE(answer, nullptr);
  EXPECT_EQ(answer->value, 1);
}

TEST_F(EditorsTest, MoreThanThreeSentenceTypesDisableOkAndAreNeverStored) {
  cuiFBitsR* editor = OpenBits(1, 5, 6, 0);
  ASSERT_NE(editor, nullptr);
  for (int n = 1; n <= 4; ++n) ToggleOption(*editor, n);
  EXPECT_FALSE(editor->OkButton().isEnabled());
  ToggleOption(*editor, 2);
  EXPECT_TRUE(editor->OkButton().isEnabled());
  ToggleOption(*editor, 2);
  editor->Deactivate();  // the rejected value acts as Cancel
  Settle();
  EXPECT_TRUE(replies.empty());
}

TEST_F(EditorsTest, NoEditorOverMoreThan26Options) {
  open = [this](cmcCellCapsule& request) {
    return host_.OpenFlagEditor(request, FlagEditorForm::Generated(1, 27, 0), 0);
  };
  PressEnter();
  EXPECT_EQ(Opened<cuiFBitsR>(), nullptr);
  EXPECT_FALSE(FieldEditor::AnyOpen());
}

TEST_F(EditorsTest, ANamedFlagSheetOpensAsTheDropDownOverItsList) {
  open = [this](cmcCellCapsule& request) {
    return host_.OpenFlagEditor(request, FlagEditorForm::Named("GI_Sheet_Sel_Mch_Atr"), 0);
  };
  PressEnter();
  EXPECT_EQ(Opened<cuiFBitsR>(), nullptr);
  EXPECT_NE(cuiFlector::Open(), nullptr);
}

TEST_F(EditorsTest, TheSegmentTextEditorHoldsNoMoreThanItsFieldAndRepliesTheText) {
  open = [this](cmcCellCapsule& request) { return host_.OpenTextEditor(request, {"AB", 4, true}); };
  PressEnter();
  cuiFSegText* editor = Opened<cuiFSegText>();
  ASSERT_NE(editor, nullptr) << (faults_.empty() ? "" : faults_.back());
  const QRect cell = OpeningCellOnScreen();
  EXPECT_EQ(editor->frameGeometry().left(), cell.left() + 8);
  QLineEdit& box = editor->TextBox();
  EXPECT_EQ(box.text(), "AB");
  EXPECT_EQ(box.cursorPosition(), 2);
  QTest::keyClicks(&box, "C~DE");  // the fourth character fills the field; E is dropped
  EXPECT_EQ(editor->Text().Text(), "ABC~");
  EXPECT_EQ(box.text(), "ABC~");
  EXPECT_EQ(editor->Preview().Patterns(), charset_->Patterns(editor->Text().Codes()));
  QTest::keyClick(&box, Qt::Key_Backspace);
  // The palette puts its character at the caret: code 41 is row 2, column 1.
  cuiSheet& palette = *editor->Palette().Sheet();
  palette.MakeCurrent(1, 2);
  QTest::keyClick(&editor->Palette(), Qt::Key_Space);
  EXPECT_EQ(editor->Text().Text(), "ABCA");
  QTest::keyClick(&box, Qt::Key_Return);
  Settle();
  EXPECT_EQ(replies, (std::vector<std::string>{"ABCA"}));
}

TEST_F(EditorsTest, TheSegmentTextEditorOpenedByEnterSelectsAllAndEscapeCancels) {
  open = [this](cmcCellCapsule& request) { return host_.OpenTextEditor(request, {"AB", 4, false}); };
  PressEnter();
  cuiFSegText* editor = Opened<cuiFSegText>();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->TextBox().selectedText(), "AB");
  QTest::keyClicks(&editor->TextBox(), "X");
  EXPECT_EQ(editor->Text().Text(), "X");
  QTest::keyClick(&editor->TextBox(), Qt::Key_Escape);
  Settle();
  EXPECT_TRUE(replies.empty());
  EXPECT_EQ(Opened<cuiFSegText>(), nullptr);
}

TEST_F(EditorsTest, TheCharacterEditorHoldsTheMainWindowAndRepliesThePattern) {
  open = [this](cmcCellCapsule& request) { return host_.OpenSegmentCharacterEditor(request, 0x8001); };
  PressEnter();
  cuiSegEdit* editor = Opened<cuiSegEdit>();
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(QApplication::activeModalWidget(), editor);
  EXPECT_EQ(editor->windowTitle().toStdString(), main_.GetLine("GI_AppInd_CharacterEditorCaption", 0));
  const std::optional<QPoint> second = editor->Box().CentreOf(1);
  ASSERT_TRUE(second);
  QTest::mouseClick(&editor->Box(), Qt::LeftButton, {}, *second);
  EXPECT_EQ(editor->Segments().Pattern(), 0xC001);
  QTest::mouseClick(&editor->Box(), Qt::LeftButton, {}, QPoint(1, 1));  // outside every segment
  EXPECT_EQ(editor->Segments().Pattern(), 0xC001);
  editor->Deactivate();  // no reply but through OK
  Settle();
  EXPECT_TRUE(replies.empty());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  PressEnter();
  editor = Opened<cuiSegEdit>();
  ASSERT_NE(editor, nullptr);
  QTest::mouseClick(&editor->OkButton(), Qt::LeftButton);
  Settle();
  EXPECT_EQ(replies, (std::vector<std::string>{"32769"}));
}

}  // namespace
