#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

class cmcGTex;
struct PrintTarget;

// Limits of a selectable column on screen (printing has none): at least 10
// pixels, at most the client width beside the fixed columns and never more
// than 650; a narrow window never pushes the upper limit below the lower one.
// While stored widths are restored only the 650-pixel limit applies.
namespace colwidth {

constexpr int kMinimum = 10;
constexpr int kMaximum = 650;

// A client width of 0 is one not laid out yet: only the 650-pixel limit applies.
int Limit(int width, int clientWidth, int fixedWidth);
int LimitRestored(int width);

// A stored width on the printer: w x f rounded (halves up), where f depends on
// the printer font and the user's font size.
double PrintFactor(const PrintTarget& target, int fontSizePercent);
int Printed(int storedWidth, double factor);

// "Display\<key>\colwidth", the settings sub-key of a sheet's widths.
std::string SubKey(std::string_view key);

}  // namespace colwidth

// Which sheets keep their column widths, from the main overlay's
// "GI_CellWidthRegList": lines "sheet name:key", read up to the first line that
// begins with '#', is empty or has no ':'.
class ColumnWidthList {
 public:
  explicit ColumnWidthList(cmcGTex& mainOverlay);

  // The settings sub-key of the sheet's widths; none for a sheet not listed.
  std::optional<std::string> SubKeyOf(std::string_view sheetName) const;
  // The sub-keys of every listed sheet, for a reset of all stored widths.
  std::vector<std::string> AllSubKeys() const;

 private:
  struct Entry {
    std::string sheet;
    std::string key;
  };
  std::vector<Entry> entries_;
};
