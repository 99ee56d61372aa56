#include "control/worklayout.h"

namespace {

struct StateRow {
  int state;
  LayoutPanels panels;
  LayoutGroup group;
};
constexpr StateRow kStates[] = {
    {1, {false, false}, LayoutGroup::kSheetAlone}, {2, {false, true}, LayoutGroup::kWithHelp},
    {3, {false, true}, LayoutGroup::kWithHelp},    {4, {true, true}, LayoutGroup::kWithMchAndHelp},
    {5, {false, false}, LayoutGroup::kSheetAlone}, {6, {true, false}, LayoutGroup::kWithMch},
    {7, {false, false}, LayoutGroup::kSheetAlone},
};

const StateRow& RowOf(int state) {
  for (const StateRow& row : kStates) {
    if (row.state == state) return row;
  }
  return kStates[0];
}

bool ShowsMch(LayoutGroup group) { return group == LayoutGroup::kWithMch || group == LayoutGroup::kWithMchAndHelp; }
bool ShowsHelp(LayoutGroup group) { return group == LayoutGroup::kWithHelp || group == LayoutGroup::kWithMchAndHelp; }

}  // namespace

int LayoutStateOf(const LayoutFacts& f) {
  if (f.bankSheet) {
    if (f.helpWanted) return f.mchWanted ? 4 : 3;
    return f.mchWanted ? 6 : 5;
  }
  if (!f.admitsHelp) return 1;
  return f.helpWanted ? 2 : 7;
}

LayoutPanels PanelsOf(int state) { return RowOf(state).panels; }
LayoutGroup GroupOf(int state) { return RowOf(state).group; }

void LayoutHeights::SetStored(LayoutGroup group, const AreaHeights& heights) {
  entries_[Index(group)] = {true, 0, heights};
}

void LayoutHeights::Remember(LayoutGroup group, int workHeight, const AreaHeights& heights) {
  entries_[Index(group)] = {true, workHeight, heights};
}

bool LayoutHeights::Fits(LayoutGroup group, int workHeight, const AreaHeights& h) {
  // The area that fills keeps what the others leave.
  if (group == LayoutGroup::kSheetAlone) return true;
  if (group == LayoutGroup::kWithHelp) return h.help >= kLowest && workHeight - h.help >= kLowest;
  if (group == LayoutGroup::kWithMch) return h.sheet >= kLowest && workHeight - h.sheet >= kLowest;
  return h.sheet >= kLowest && h.help >= kLowest && workHeight - h.sheet - h.help >= kLowest;
}

AreaHeights LayoutHeights::Defaults(LayoutGroup group, int workHeight) {
  AreaHeights heights;
  if (ShowsMch(group)) heights.sheet = workHeight / 4;
  if (ShowsHelp(group)) heights.help = workHeight * 2 / 9;
  // An area too low for its own rows gets the small height.
  if (ShowsMch(group) && heights.sheet < kSmall) heights.sheet = kSmall;
  if (ShowsHelp(group) && heights.help < kSmall) heights.help = kSmall;
  return heights;
}

AreaHeights LayoutHeights::HeightsFor(LayoutGroup group, int workHeight) const {
  const Entry& entry = entries_[Index(group)];
  const bool sameHeight = entry.workHeight == 0 || entry.workHeight == workHeight;
  if (entry.known && sameHeight && Fits(group, workHeight, entry.heights)) return entry.heights;
  return Defaults(group, workHeight);
}

std::optional<WorkLayout::Change> WorkLayout::Update(const LayoutFacts& facts, int workHeight,
                                                     const AreaHeights& shownHeights) {
  const int state = LayoutStateOf(facts);
  if (state == state_) return std::nullopt;
  if (state_ != 0) heights_.Remember(GroupOf(state_), workHeight, shownHeights);
  state_ = state;
  const LayoutGroup group = GroupOf(state);
  return Change{state, PanelsOf(state), heights_.HeightsFor(group, workHeight)};
}
