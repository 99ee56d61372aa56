#pragma once

#include <string_view>

class QBoxLayout;
class QDialog;
class QPushButton;
class cmcGTex;

// The OK and Cancel buttons of an overlay dialog, right-aligned in one row.
struct DialogButtons {
  QPushButton* ok;
  QPushButton* cancel;
};

// Adds the row to `layout`: the captions are lines 0 and 1 of `captionsBlock`,
// each button as wide as the text of `sizeBlock` and two text lines high; OK
// is the default and accepts, Cancel rejects.
DialogButtons AddDialogButtons(QDialog& dialog, QBoxLayout& layout, cmcGTex& overlay, std::string_view captionsBlock,
                               std::string_view sizeBlock);
