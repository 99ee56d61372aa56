#include "links/celllinks.h"

#include "core/substitute.h"
#include "links/channelops.h"
#include "links/editrecorder.h"
#include "links/linktable.h"
#include "markup/cellnames.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/memorymap.h"
#include "runtime/events.h"
#include "runtime/evman.h"

namespace {

static_assert(kModelCategoryCount == kModelTypeCount, "one channel category per model type");

bool IsWindowType(int type) { return type == ct::CT_Mch_Win || type == ct::CT_Mch_Win_Pmr446; }

// The link that enters a blank row's frequency, and the row's attribute link.
struct EntryLinks {
  int frequency;
  int attribute;
};

EntryLinks EntryLinksOf(int type, ModelType modelType) {
  if (type == ct::CT_Mch_Pmr446 || type == ct::CT_Mch_Win_Pmr446) {
    return {cl::CL_Mch_FreqR_Pmr446, cl::CL_Mch_Atr_Pmr446};
  }
  if (IsPmr(modelType)) return {cl::CL_Mch_FreqR_Pmr, cl::CL_Mch_Atr_Pmr};
  return {cl::CL_Mch_Operating_Freq, cl::CL_Mch_Atr};
}

// Links evaluated on a blank row as on any other: its number, and the states
// of the pop-up menu items opened on it.
bool RunsOnABlankRow(int link) {
  return link == cl::CL_Mch_No || link == cl::CL_Mch_No_Pmr || link == cl::CL_MchWin_No ||
         listlinks::IsListCommand(link);
}

bool IsUserAction(const cmcCellCapsule& request) {
  return request.key != 0 || request.editResult != 0 || request.menuCommand != 0;
}

// Counts an evaluation under way for as long as it runs.
class DepthScope {
 public:
  explicit DepthScope(int& depth) : depth_(depth) { ++depth_; }
  ~DepthScope() { --depth_; }
  DepthScope(const DepthScope&) = delete;
  DepthScope& operator=(const DepthScope&) = delete;

 private:
  int& depth_;
};

}  // namespace

const LinkTable& LinkTable::Instance() {
  static const LinkTable table = [] {
    LinkTable built;
    AddChannelLinks(built);
    AddGeneralLinks(built);
    AddCloneInfoLinks(built);
    AddListLinks(built);
    AddUndoLinks(built);
    AddMdcLinks(built);
    AddSettingsLinks(built);
    return built;
  }();
  return table;
}

CellLinks::CellLinks(LinkEnvironment& environment) : CellLinks(environment, LinkTable::Instance()) {}

CellLinks::CellLinks(LinkEnvironment& environment, const LinkTable& table) : environment_(environment), table_(table) {}

bool CellLinks::Knows(int link) const { return table_.Find(link) != nullptr; }

int CellLinks::Evaluate(cmcCellCapsule& request, bool notify) {
  lastChangeBits_ = 0;
  lastListResult_.reset();
  if (!request.cell) return kNoEditor;
  LinkEnvironment& env = environment_;
  cmcEeprom& image = env.image;

  // 1. The record the cell addresses. CategoryOf stops the program on a type outside the table.
  int type = request.cell->type;
  CategoryOf(type, ModelNumber(env.modelType));
  int link = request.cell->link;
  bool channelType = chops::IsChannelType(type);
  std::int32_t number = request.cell->parameter;
  if (link == cl::CL_MchWin_No || IsWindowType(type)) number = env.windowChannel;

  // 2. A fresh result; 256 (a double click) is Enter; keys count only on editable cells.
  request.displayText.clear();
  request.marks &= ~(cellmark::kWarning | cellmark::kError);
  request.fontColour.reset();
  request.redirect = {};
  request.repeatKey = 0;
  if (request.key == cellkey::kDoubleClick) request.key = cellkey::kEnter;
  if (!request.editable) request.key = cellkey::kEvaluate;

  // Whatever a user action changes, through however many links, becomes one
  // undo step. Undo and redo themselves are not steps.
  EditRecorder* recorder = depth_ == 0 && IsUserAction(request) && !undolinks::IsUndoCommand(link) &&
                                   !undolinks::IsUndoCommand(request.menuCommand)
                               ? env.recorder
                               : nullptr;
  if (recorder) recorder->BeforeAction();
  const DepthScope scope(depth_);

  // 3. Pop-up menu commands, then the image is encoded again (the record
  // lists' commands do that themselves when they change it).
  int menuBits = 0;
  if (listlinks::IsListCommand(request.menuCommand)) {
    listlinks::CommandDone done = listlinks::RunCommand(env, request, type, number);
    menuBits = done.changeBits;
    lastListResult_ = done.result;
  } else if (undolinks::IsUndoCommand(request.menuCommand)) {
    // A step may add or remove rows anywhere: the sheet is built again.
    if (undolinks::RunUndoCommand(env, request.menuCommand)) {
      menuBits = changebit::kRecordModified | changebit::kRebuildSheet;
    }
  } else if (request.menuCommand != 0 && env.menuCommand) {
    env.menuCommand(request);
    memmap::Encode(image, env.modelType);
  }

  datCh record(image);
  if (channelType) record.load(datCh::KindOf(env.modelType), number);
  bool inUse = channelType && record.inUse && number < datCh::ChannelsInUse(image);
  LinkCall call{request,     env,  LinkServices{env.overlay, env.choices, env.host}, *this, record, type, link, number,
                channelType, inUse};

  // 4. A blank row shows its number and attribute only; a key anywhere on it, or a text committed
  // in any of its cells (it arrives with key 0), enters its frequency.
  const bool typedText = request.editResult == kTextCommitted;
  if (channelType && !call.inUse && (request.editResult == kNoEdit || typedText) && request.menuCommand == 0) {
    EntryLinks entry = EntryLinksOf(type, env.modelType);
    const bool entersFrequency = (request.key != cellkey::kEvaluate || typedText) && request.key >= 0 &&
                                 request.key <= 127 && link != entry.attribute && link != entry.frequency;
    if (entersFrequency) {
      request.redirect = {true, type, entry.frequency, number, request.key};
      call.link = link = entry.frequency;
    } else if (!typedText && request.key == cellkey::kEvaluate && link != entry.attribute && !RunsOnABlankRow(link)) {
      lastChangeBits_ = changebit::kEvaluated;
      return kNoEditor;
    }
  }

  // The alias list's blank rows alike: a key there adds an alias at the end of the list, then goes on as the
  // name's key (which opens the text editor); without room nothing is added and the key goes nowhere.
  if (type == ct::CT_MDC_Alias && number >= memmap::AliasCount(image) && request.menuCommand == 0 &&
      (request.editResult == kNoEdit || typedText)) {
    const bool addsAlias = (request.key != cellkey::kEvaluate || typedText) && request.key >= 0 && request.key <= 127;
    if (!addsAlias) {
      if (!RunsOnABlankRow(link)) {
        lastChangeBits_ = changebit::kEvaluated;
        return kNoEditor;
      }
    } else {
      const listlinks::CommandDone added = listlinks::AddAlias(env);
      lastListResult_ = added.result;
      if (added.result != ListResult::kDone) {
        lastChangeBits_ = changebit::kEvaluated;
        if (recorder) recorder->AfterAction(request);
        return kNoEditor;
      }
      menuBits |= added.changeBits;
      call.number = number = memmap::AliasCount(image) - 1;
      request.redirect = {true, type, cl::CL_Mdc_Alias1_Text, number, request.key};
      call.link = link = cl::CL_Mdc_Alias1_Text;
    }
  }

  // 5. The link's behaviour.
  LinkOutcome outcome;
  if (const LinkBehaviour* behaviour = table_.Find(link)) {
    outcome = (*behaviour)(call);
  } else {
    request.displayText = Substitute("%d *Yet*", {std::int64_t{link}});
  }

  if (recorder) recorder->AfterAction(request);

  // 6. Change bits, the refresh events and the callbacks.
  int bits = changebit::kEvaluated | call.changeBits | menuBits;
  if (outcome.changed) bits |= changebit::kRecordModified;
  lastChangeBits_ = bits;
  if (outcome.changed && channelType && env.events) {
    if (IsWindowType(type)) {
      env.events->Post(ev::kChannelRowChanged, nullptr, number);
    } else {
      env.events->Post(ev::kCellsChangedAll, nullptr, 0);
    }
  }
  if (notify && bits != changebit::kEvaluated && request.changed) request.changed(request, bits);
  if (IsUserAction(request) && env.afterUserAction) {
    env.afterUserAction();
  }
  if (outcome.editor == kInCellEditor && request.edit) request.edit(request, outcome.editor);
  return outcome.editor;
}

std::string CellLinks::TextOf(const cmcCellObj& cell, int key) {
  cmcCellObj copy = cell;
  cmcCellCapsule request;
  request.cell = &copy;
  request.key = key;
  Evaluate(request, false);
  return request.displayText;
}

int CellLinks::FlagsOf(int type, int link, std::int32_t number) {
  cmcCellObj cell;
  cell.type = type;
  cell.link = link;
  cell.parameter = number;
  cmcCellCapsule request;
  request.cell = &cell;
  request.contextNumber = number;
  request.editable = 0;
  Evaluate(request, false);
  return request.marks & (cellmark::kWarning | cellmark::kError);
}
