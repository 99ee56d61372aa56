#pragma once

#include <map>
#include <string>

#include "sheet/columnwidthstore.h"

class indEnviron;

// The user's column widths in the settings file, one group per sheet key, a
// value per column. A sheet saves its widths at every change (a drag saves at
// every step): what was last written is remembered, so an unchanged set costs
// no write.
class SettingsWidthStore : public ColumnWidthStore {
 public:
  explicit SettingsWidthStore(indEnviron& settings) : settings_(settings) {}

  Widths Load(const std::string& subKey) override;
  void Save(const std::string& subKey, const Widths& widths) override;
  void Remove(const std::string& subKey) override;

 private:
  indEnviron& settings_;
  std::map<std::string, Widths> written_;
};
