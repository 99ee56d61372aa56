#pragma once

#include <span>
#include <string>
#include <string_view>

class cmcGTex;
class cuiSheet;
struct cmcCellCapsule;

// The words that name an edit as an undo step, as the user knows it: the text
// of the pop-up menu item that ran ("Paste"), else the title of the edited
// cell's column on the one of `sheets` that holds the cell (the label of its
// row on a sheet without title rows), else the overlay's general word for an
// edit. Never a link name.
std::string StepName(cmcGTex& overlay, const cmcCellCapsule& request, std::span<cuiSheet* const> sheets);

// The item text of a pop-up menu body line that runs `link` ("+Delete...\t{(...CL_PMenu_Delete:Ctrl+Del)}"
// gives "Delete"); empty when the line runs another link.
std::string MenuItemText(std::string_view line, std::string_view linkName);
