#pragma once

#include <QPushButton>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "editors/fieldeditor.h"
#include "links/families.h"
#include "sheet/bitfieldform.h"
#include "sheet/sheetcontext.h"

class cmcGTex;
class cuiGrid;
class cuiSheet;

// The bit-field editor: a borderless window over the opening cell showing
// one cell per option (link CL_FBits, parameter n for bit 26 - n) on the
// generated form or a named sheet of the main overlay, with OK and Cancel.
// Space or a click switches an option; OK replies the value in decimal.
class cuiFBitsR : public FieldEditor {
  Q_OBJECT

 public:
  // `base` gives the main overlay, the image and the links for the sheet;
  // a form of more than 26 options opens nothing (the window closes at once).
  cuiFBitsR(EditorOpener opener, const SheetServices& base, const FlagEditorForm& form, std::uint32_t value);
  ~cuiFBitsR() override;

  std::uint32_t Value() const { return form_.Value(); }
  cuiGrid& Grid() const { return *grid_; }
  QPushButton& OkButton() const { return *ok_; }
  QPushButton& CancelButton() const { return *cancel_; }

 protected:
  std::optional<std::string> Reply() const override;

 private:
  int Serve(cmcCellCapsule& request, bool notify);
  void SizeToSheet();

  BitFieldForm form_;
  bool drawTick_;
  std::unique_ptr<cmcGTex> generated_;  // the generated form's overlay; none for a named sheet
  cuiGrid* grid_;
  cuiSheet* sheet_ = nullptr;
  CellLinks* links_;
  QPushButton* ok_;
  QPushButton* cancel_;
};
