#pragma once

#include <cstdint>
#include <optional>

#include "links/cellcapsule.h"
#include "model/listeditor.h"

struct LinkEnvironment;

// The record lists' links: the pop-up menu commands copy, paste, carry up and
// down, clear, delete and insert on a channel or alias row, the enabled state
// of their menu items, and the bank size cell. All of them change the image
// through the list editor.
namespace listlinks {

// True for the links of the commands above (CL_PMenu_Copy to CL_PMenu_Insert).
bool IsListCommand(int link);

// What a command did: the change bits for the request, and its result.
struct CommandDone {
  int changeBits = 0;
  ListResult result = ListResult::kNotApplicable;
};

// Runs the request's menu command on record `number` of a cell of type
// `type`, on the request's row selection. Afterwards the request's row
// selection and redirect (the record the cursor goes to) say what the sheet
// shows; the status text goes to the environment, and the refresh events to
// its event manager.
CommandDone RunCommand(LinkEnvironment& environment, cmcCellCapsule& request, int type, std::int32_t number);

}  // namespace listlinks

class LinkTable;
// The menu items' states, evaluated with the type and number of the cell the
// menu was opened on (a disabled item gets state flag 2), and the bank size.
void AddListLinks(LinkTable& table);
