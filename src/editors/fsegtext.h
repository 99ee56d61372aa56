#pragma once

#include <QLineEdit>
#include <QPushButton>
#include <memory>
#include <optional>
#include <string>

#include "editors/fieldeditor.h"
#include "links/families.h"
#include "sheet/segmenttext.h"
#include "sheet/sheetcontext.h"

class Charset;
class cuiGrid;
class cuiSheet;
class SegmentPreview;

// The segment-text editor: a one-line text box, a preview of the text as the
// display shows it, and the palette sheet "GI_Sheet_Sel_Text" of every
// character the display has. The text never holds more than its field nor a
// character the display lacks; OK or Enter replies the text.
class cuiFSegText : public FieldEditor {
  Q_OBJECT

 public:
  static constexpr const char* kPalette = "GI_Sheet_Sel_Text";

  // `base` gives the main overlay, the character set and the segment shapes.
  cuiFSegText(EditorOpener opener, const SheetServices& base, const TextEditorForm& form);
  ~cuiFSegText() override;

  const SegmentText& Text() const { return *text_; }
  QLineEdit& TextBox() const { return *box_; }
  cuiGrid& Palette() const { return *palette_; }
  SegmentPreview& Preview() const { return *preview_; }
  QPushButton& OkButton() const { return *ok_; }
  QPushButton& CancelButton() const { return *cancel_; }

 protected:
  std::optional<std::string> Reply() const override;

 private:
  int Serve(cmcCellCapsule& request);
  void TakeBoxText();
  void ShowText();

  const Charset* charset_ = nullptr;
  std::optional<SegmentText> text_;
  QLineEdit* box_;
  SegmentPreview* preview_;
  cuiGrid* palette_;
  cuiSheet* sheet_ = nullptr;
  QPushButton* ok_;
  QPushButton* cancel_;
};
