#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "sheet/sheet.h"

// Where the user left each sheet: one entry per sheet name, newest first, so a
// sheet opened again shows the rows and the cell it showed before.
class SheetHistory {
 public:
  struct Entry {
    SheetRef ref;  // the whole reference, so the sheet can be opened again as it was
    cuiSheet::ViewPosition position;
  };

  // Puts the entry at the front, dropping an older one of the same sheet name.
  void Remember(const SheetRef& ref, const cuiSheet::ViewPosition& position);
  std::optional<cuiSheet::ViewPosition> Find(std::string_view name) const;
  // The sheet left last; none when no sheet was left yet.
  const Entry* Newest() const { return entries_.empty() ? nullptr : &entries_.front(); }
  std::size_t Size() const { return entries_.size(); }

 private:
  std::deque<Entry> entries_;
};

// The pages that stand for the whole program or a whole branch of the tree
// have no help topic: the help window is admitted beside every other sheet.
bool SheetAdmitsHelp(std::string_view sheetName);

// A channel-bank sheet carries the memory-channel window.
bool IsChannelBankSheet(const SheetRef& ref);
