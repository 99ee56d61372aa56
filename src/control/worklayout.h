#pragma once

#include <array>
#include <optional>

// Which of the work area's three areas show (the sheet area, the
// memory-channel area and the help area) and how high they are. Seven layout
// states follow from four facts; the heights the user gave the areas are kept
// per group of states that show the same areas.

struct LayoutFacts {
  bool bankSheet = false;   // the current sheet is a channel-bank sheet
  bool admitsHelp = false;  // the current sheet admits the help window
  bool helpWanted = false;  // View > Help window
  bool mchWanted = false;   // View > Memory-channel window
};

// 1 to 7.
int LayoutStateOf(const LayoutFacts& facts);

// The sheet area always shows; it fills the work area unless the
// memory-channel area shows, which then fills between it and the help area.
struct LayoutPanels {
  bool mch = false;
  bool help = false;
  bool operator==(const LayoutPanels&) const = default;
};
LayoutPanels PanelsOf(int state);

// States that show the same areas share remembered heights.
enum class LayoutGroup { kSheetAlone, kWithHelp, kWithMch, kWithMchAndHelp };
inline constexpr int kLayoutGroupCount = 4;
LayoutGroup GroupOf(int state);

// Heights of the areas; the one that fills is whatever is left.
struct AreaHeights {
  int sheet = 0;
  int mch = 0;
  int help = 0;
  bool operator==(const AreaHeights&) const = default;
};

class LayoutHeights {
 public:
  // No shown area ends lower than this after a resize.
  static constexpr int kLowest = 89;
  // The splitters' minimum, and the height of an area that must stay small.
  static constexpr int kSmall = 90;

  // Heights from the settings: they apply at any work-area height at which they fit.
  void SetStored(LayoutGroup group, const AreaHeights& heights);
  // The heights when a state of the group was left at the given work-area height.
  void Remember(LayoutGroup group, int workHeight, const AreaHeights& heights);
  const AreaHeights& Remembered(LayoutGroup group) const { return entries_[Index(group)].heights; }

  // The heights to give the areas on entering a state of the group: the
  // remembered ones when the work-area height is unchanged (or they came from
  // the settings) and they leave every area its lowest height, else the
  // default split.
  AreaHeights HeightsFor(LayoutGroup group, int workHeight) const;
  // The default split: the sheet area a quarter of the work area and the help
  // area two ninths, where they do not fill it.
  static AreaHeights Defaults(LayoutGroup group, int workHeight);

 private:
  struct Entry {
    bool known = false;
    int workHeight = 0;  // 0: from the settings
    AreaHeights heights;
  };
  static std::size_t Index(LayoutGroup group) { return static_cast<std::size_t>(group); }
  static bool Fits(LayoutGroup group, int workHeight, const AreaHeights& heights);

  std::array<Entry, kLayoutGroupCount> entries_{};
};

// The layout state of the work area, re-evaluated on every idle pass.
class WorkLayout {
 public:
  struct Change {
    int state = 0;
    LayoutPanels panels;
    AreaHeights heights;
  };
  // The new state with its areas and heights; nothing when the state has not
  // changed. `shownHeights` are the heights at this moment, remembered for
  // the state being left.
  std::optional<Change> Update(const LayoutFacts& facts, int workHeight, const AreaHeights& shownHeights);
  int State() const { return state_; }
  LayoutHeights& Heights() { return heights_; }
  const LayoutHeights& Heights() const { return heights_; }

 private:
  int state_ = 0;  // 0: before the first evaluation
  LayoutHeights heights_;
};
