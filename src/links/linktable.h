#pragma once

#include <functional>
#include <unordered_map>

#include "links/families.h"
#include "model/listeditor.h"

struct LinkEnvironment;
class CellLinks;
class datCh;

// One evaluation as the link behaviours see it: the request, the environment
// and the record the cell addresses.
struct LinkCall {
  cmcCellCapsule& request;
  LinkEnvironment& environment;
  LinkServices services;
  CellLinks& links;
  datCh& record;  // loaded for the channel cell types
  int type;
  int link;
  std::int32_t number;  // the channel (or entry) number
  bool channelType;
  bool inUse;          // for channel types: the channel holds a frequency
  int changeBits = 0;  // bits beyond "modified" that the behaviour adds
};

using LinkBehaviour = std::function<LinkOutcome(LinkCall&)>;

// Link id to behaviour. Each family registers its rows; a later family adds
// its own rows the same way.
class LinkTable {
 public:
  void Add(int link, LinkBehaviour behaviour) { behaviours_[link] = std::move(behaviour); }
  const LinkBehaviour* Find(int link) const {
    auto found = behaviours_.find(link);
    return found == behaviours_.end() ? nullptr : &found->second;
  }

  // The table of every link that is built.
  static const LinkTable& Instance();

 private:
  std::unordered_map<int, LinkBehaviour> behaviours_;
};

// The registrations, one per group of links.
void AddChannelLinks(LinkTable& table);
void AddGeneralLinks(LinkTable& table);
void AddCloneInfoLinks(LinkTable& table);
// The record lists' links: the states of the pop-up menu items copy, paste,
// carry up and down, clear, delete and insert, evaluated with the type and
// number of the cell the menu was opened on (a disabled item gets state flag
// 2), and the bank size cell.
void AddListLinks(LinkTable& table);
// The Edit menu's undo and redo items, over the environment's undo commands.
void AddUndoLinks(LinkTable& table);
// The MDC system entries and the alias list.
void AddMdcLinks(LinkTable& table);
// The radio-wide settings: set mode, common, emergency, expansion, external ports.
void AddSettingsLinks(LinkTable& table);

namespace undolinks {

// True for the Edit menu's undo and redo items, which the evaluator never
// records as edits themselves.
bool IsUndoCommand(int link);
// Runs the undo or redo of a pop-up menu item (the Edit menu is filled from
// the sheet's pop-up menu); true when a step was taken.
bool RunUndoCommand(LinkEnvironment& environment, int link);

}  // namespace undolinks

// The record lists' pop-up menu commands, which the evaluator runs before the
// cell's own link; all of them change the image through the list editor.
namespace listlinks {

// True for CL_PMenu_Copy to CL_PMenu_Insert.
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

// Adds an alias at the end of the list (the list's insert at the row of the
// count, with its room check and refusal); the change bits for the request,
// and whether it was added.
CommandDone AddAlias(LinkEnvironment& environment);

}  // namespace listlinks
