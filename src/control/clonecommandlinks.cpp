// The Clone and Port menu items as rows of link behaviours over CloneCommands.

#include <array>
#include <string_view>

#include "control/clonecommands.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "links/linktable.h"
#include "markup/ids.h"

namespace {

// Any parameter: the row's rules take the parameter as their value.
constexpr int kAnyParameter = -1;
constexpr int kTickedFlag = 0;
constexpr int kCaptionFlag = 3;

struct CommandRow {
  int link;
  int parameter;
  bool (*ticked)(const CloneCommands& commands, int n);
  void (*run)(CloneCommands& commands, int n);
  // The block whose line 0 is the item's caption; empty: the menu line's own text.
  std::string_view caption = {};
};

bool Never(const CloneCommands&, int) { return false; }

constexpr std::array<CommandRow, 12> kRows = {{
    {cl::CL_Menu_Port_Com, kAnyParameter, [](const CloneCommands& c, int n) { return c.PortTicked(n); },
     [](CloneCommands& c, int n) { c.ChoosePortNumber(n); }},
    {cl::CL_Menu_Port_Usb, kAnyParameter, [](const CloneCommands& c, int) { return c.OtherPortTicked(); },
     [](CloneCommands& c, int) { c.ChoosePortInDialog(0); }},
    {cl::CL_Menu_Port_ComList0, kAnyParameter, Never, [](CloneCommands& c, int) { c.ChoosePortInDialog(0); }},
    {cl::CL_Menu_Port_ComList1, kAnyParameter, Never, [](CloneCommands& c, int) { c.ChoosePortInDialog(1); }},
    {cl::CL_Menu_Port_ComList2, kAnyParameter, Never, [](CloneCommands& c, int) { c.ChoosePortInDialog(2); }},
    {cl::CL_Menu_Port_SpeedHigh, kAnyParameter, [](const CloneCommands& c, int n) { return c.SpeedTicked(n); },
     [](CloneCommands& c, int n) { c.ChooseSpeed(n); }},
    {cl::CL_Menu_Clone_Read, 0, Never, [](CloneCommands& c, int) { c.Read(); }},
    {cl::CL_Menu_Clone_Write, 0, Never, [](CloneCommands& c, int) { c.Write(); }},
    {cl::CL_Menu_Clone_Write, 1, [](const CloneCommands& c, int) { return c.VerifyAfterWrite(); },
     [](CloneCommands& c, int) { c.ToggleVerifyAfterWrite(); }, gi::GI_AppItem_Clone_Verify},
    {cl::CL_Menu_Clone_Write, 2, [](const CloneCommands& c, int) { return c.BackupRadioFirst(); },
     [](CloneCommands& c, int) { c.ToggleBackupRadioFirst(); }, gi::GI_AppItem_Clone_BackupRadio},
    {cl::CL_Menu_Clone_Info, 0, Never, [](CloneCommands& c, int) { c.Information(); }},
    {cl::CL_Menu_Clone_Info, 1, Never, [](CloneCommands& c, int) { c.OpenBackupFolder(); },
     gi::GI_AppItem_Clone_BackupFolder},
}};

const CommandRow* FindRow(int link, int parameter) {
  for (const CommandRow& row : kRows) {
    if (row.link == link && (row.parameter == kAnyParameter || row.parameter == parameter)) return &row;
  }
  return nullptr;
}

LinkOutcome RunRow(LinkCall& call, CloneCommands& commands) {
  const CommandRow* row = FindRow(call.link, call.number);
  if (row == nullptr) return {};
  if (call.request.cell != nullptr) {
    call.request.cell->SetStateFlag(kTickedFlag, row->ticked(commands, call.number));
    call.request.cell->SetStateFlag(kCaptionFlag, !row->caption.empty());
  }
  if (!row->caption.empty()) call.request.displayText = call.services.overlay.GetLine(row->caption, 0);
  if (call.request.key == cellkey::kEnter) row->run(commands, call.number);
  return {};
}

}  // namespace

void AddCloneCommandLinks(LinkTable& table, CloneCommands& commands) {
  for (const CommandRow& row : kRows) {
    table.Add(row.link, [&commands](LinkCall& call) { return RunRow(call, commands); });
  }
}
