#pragma once

#include <map>
#include <string>

// Where the user's column widths of listed sheets are kept (the settings, in
// the desktop program). A sub-key is "Display\<key>\colwidth"; its values are
// named by the column index and hold the width in pixels.
class ColumnWidthStore {
 public:
  using Widths = std::map<int, int>;  // column -> width

  virtual ~ColumnWidthStore() = default;
  // The widths kept under the sub-key; empty when there are none. Values come
  // from a file the user may have edited: the caller checks them.
  virtual Widths Load(const std::string& subKey) = 0;
  // Replaces the widths kept under the sub-key.
  virtual void Save(const std::string& subKey, const Widths& widths) = 0;
  virtual void Remove(const std::string& subKey) = 0;
};
