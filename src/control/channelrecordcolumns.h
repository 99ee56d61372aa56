#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "model/ch.h"
#include "model/modeltype.h"

// The channel list's columns of our own, after the generic ones: every field
// of the channel record by its layout name, the list membership and the two
// tone settings of the option record, so that what the generic columns cannot
// name (the middle bandwidth, reverse code squelch, the option bits) survives
// an export and import.
class ChannelRecordColumns {
 public:
  static constexpr std::string_view kPrefix = "rec.";

  explicit ChannelRecordColumns(ModelType modelType);

  const std::vector<std::string>& Names() const { return names_; }
  std::vector<std::string> TextsOf(const datCh& record) const;
  // Sets column `column` of `record` from `text`; the reason when the text is
  // no value of that column, else empty.
  std::string Set(datCh& record, std::size_t column, std::string_view text) const;

 private:
  struct Column {
    const chlayout::FieldPlace* field = nullptr;  // none: lists or a tone setting
    int toneOffset = -1;                          // the tone setting's option bytes
  };
  std::vector<Column> columns_;
  std::vector<std::string> names_;
};
