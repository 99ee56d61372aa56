#include "control/commandlinks.h"

#include <optional>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/substitute.h"
#include "links/celllinks.h"
#include "links/linktable.h"
#include "markup/ids.h"

namespace {

// What a state rule sets on its item.
struct ItemState {
  bool ticked = false;
  bool hidden = false;
  bool disabled = false;
  std::optional<std::string> caption;  // shown instead of the item's own text
};

struct ItemContext {
  CommandTarget& target;
  const cmcCellObj& cell;
  cmcGTex& overlay;
  int N() const { return cell.parameter; }
};

using StateRule = ItemState (*)(const ItemContext& item);
using Action = void (*)(const ItemContext& item);

struct CommandRow {
  int link;
  StateRule state;
  Action action;
};

ItemState Ticked(bool on) {
  ItemState state;
  state.ticked = on;
  return state;
}
ItemState DisabledIf(bool off) {
  ItemState state;
  state.disabled = off;
  return state;
}
ItemState Captioned(std::string caption) {
  ItemState state;
  state.caption = std::move(caption);
  return state;
}

ItemState Plain(const ItemContext&) { return {}; }
ItemState Disabled(const ItemContext&) { return DisabledIf(true); }
void Nothing(const ItemContext&) {}

ItemState RecentState(const ItemContext& item) {
  const std::string name = item.target.RecentDisplayName(item.N());
  if (!name.empty()) return Captioned(RecentCaption(item.N(), name));
  ItemState state = DisabledIf(true);
  state.hidden = item.N() != 0;
  return state;
}

template <ModelType kType>
ItemState ModelState(const ItemContext& item) {
  return Ticked(item.target.Model() == kType);
}
template <ModelType kType>
void ChangeModelTo(const ItemContext& item) {
  item.target.ChangeModel(kType, true);
}

// Printing, the About box, the help file, the adjustment window and the language dialog come
// with their own windows; until then their items stay disabled.
constexpr CommandRow kRows[] = {
    {cl::CL_Menu_File_New, Plain, [](const ItemContext& i) { i.target.NewDocument(); }},
    {cl::CL_Menu_File_Open, Plain, [](const ItemContext& i) { i.target.OpenDocument(); }},
    {cl::CL_Menu_File_Save, Plain, [](const ItemContext& i) { i.target.SaveDocument(); }},
    {cl::CL_Menu_File_SaveAs, Plain, [](const ItemContext& i) { i.target.SaveDocumentAs(); }},
    {cl::CL_Menu_File_Print_Current, Disabled, Nothing},
    {cl::CL_Menu_File_Print_All, Disabled, Nothing},
    {cl::CL_Menu_File_Recent, RecentState, [](const ItemContext& i) { i.target.OpenRecent(i.N()); }},
    {cl::CL_Menu_File_ExportCsv, Plain, [](const ItemContext& i) { i.target.ExportChannels(); }},
    {cl::CL_Menu_File_ImportCsv, Plain, [](const ItemContext& i) { i.target.ImportChannels(); }},
    {cl::CL_Menu_File_Exit, Plain, [](const ItemContext& i) { i.target.CloseMainWindow(); }},
    {cl::CL_Menu_Edit_Top,
     [](const ItemContext& i) {
       i.target.PrepareEditMenu();
       return ItemState{};
     },
     Nothing},
    {cl::CL_Menu_View_MchWin, [](const ItemContext& i) { return Ticked(i.target.IsMchWindowWanted()); },
     [](const ItemContext& i) { i.target.ToggleMchWindow(); }},
    {cl::CL_Menu_View_HelpWin, [](const ItemContext& i) { return Ticked(i.target.IsHelpWindowWanted()); },
     [](const ItemContext& i) { i.target.ToggleHelpWindow(); }},
    {cl::CL_Menu_View_FontSize, [](const ItemContext& i) { return Ticked(i.target.FontSize() == i.N()); },
     [](const ItemContext& i) { i.target.SetFontSize(i.N()); }},
    {cl::CL_Menu_View_ToolBar, [](const ItemContext& i) { return Ticked(i.target.IsToolBarShown()); },
     [](const ItemContext& i) { i.target.ToggleToolBar(); }},
    {cl::CL_Model_Lmr, ModelState<ModelType::kLandMobile>, ChangeModelTo<ModelType::kLandMobile>},
    {cl::CL_Model_Pmr, ModelState<ModelType::kPmr>, ChangeModelTo<ModelType::kPmr>},
    {cl::CL_Model_VexlPmr, ModelState<ModelType::kPmrVexl>, ChangeModelTo<ModelType::kPmrVexl>},
    {cl::CL_Model_DPmr446, ModelState<ModelType::kDpmr446>, ChangeModelTo<ModelType::kDpmr446>},
    {cl::CL_Help_About, Disabled, Nothing},
    {cl::CL_Help_Contents, Disabled, Nothing},
    {cl::CL_Help_Popup, [](const ItemContext& i) { return DisabledIf(!i.target.IsHelpPopupAvailable()); },
     [](const ItemContext& i) {
       if (i.target.IsHelpPopupAvailable()) i.target.ShowHelpPopup();
     }},
    {cl::CL_Menu_Lang, Disabled, Nothing},
    {cl::CL_Language_Text, [](const ItemContext& i) { return Captioned(i.target.LanguageName(i.N())); }, Nothing},
    {cl::CL_Menu_Ad_Read, Disabled, Nothing},
    {cl::CL_Menu_View_Ad, Disabled, Nothing},
    {cl::CL_Menu_View_Ad_Update, Disabled, Nothing},
    {cl::CL_TopPage_Name, [](const ItemContext& i) { return Captioned(i.overlay.GetLine(gi::GI_Sys_AppTitle, 0)); },
     Nothing},
    {cl::CallSheet, Plain,
     [](const ItemContext& i) {
       if (i.cell.argument && !i.cell.argument->empty()) i.target.OpenSheet(*i.cell.argument);
     }},
    // The debug windows open by their events only.
    {cl::CL_Menu_Debug_Compare, Plain, Nothing},
    {cl::CL_Menu_Debug_CorrectComp, Plain, Nothing},
    {cl::CL_Menu_Debug_25kCheckComp, Plain, Nothing},
    {cl::CL_Menu_Debug_Window, Plain, Nothing},
    {cl::CL_Menu_Debug_EeWindow, Plain, Nothing},
};

LinkOutcome RunCommand(const CommandRow& row, CommandTarget& target, LinkCall& call) {
  cmcCellObj* cell = call.request.cell;
  if (cell == nullptr) return {};
  const ItemContext item{target, *cell, call.services.overlay};
  if (call.request.key == cellkey::kEnter) {
    row.action(item);
    return {};
  }
  const ItemState state = row.state(item);
  cell->SetStateFlag(itemflag::kTicked, state.ticked);
  cell->SetStateFlag(itemflag::kHidden, state.hidden);
  cell->SetStateFlag(itemflag::kDisabled, state.disabled);
  cell->SetStateFlag(itemflag::kCaptionFromText, state.caption.has_value());
  call.request.displayText = state.caption ? *state.caption : DisplayTextOf(*cell);
  return {};
}

}  // namespace

std::string RecentCaption(int n, std::string_view displayName) {
  return Substitute("&%d %s", {std::int64_t{n} + 1, std::string_view(cmcGTex::DoubleAmpersands(displayName))});
}

void AddCommandLinks(LinkTable& table, CommandTarget& target) {
  for (const CommandRow& row : kRows) {
    table.Add(row.link, [&row, &target](LinkCall& call) { return RunCommand(row, target, call); });
  }
}
