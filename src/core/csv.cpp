#include "core/csv.h"

namespace csv {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(const Record& record) { return record.fields.size() == 1 && record.fields[0].empty(); }

}  // namespace

std::string Field(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string Line(std::span<const std::string> fields) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += ',';
    line += Field(fields[i]);
  }
  return line + "\r\n";
}

Table Parse(std::string_view text, char separator) {
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  Table table;
  Record record{1, {std::string()}};
  int line = 1;
  bool quoted = false;  // inside a quoted field
  bool fieldStart = true;
  auto endRecord = [&] {
    if (!IsBlank(record)) table.records.push_back(std::move(record));
    record = Record{line, {std::string()}};
    fieldStart = true;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    bool lineEnd = c == '\n' || c == '\r';
    if (lineEnd && c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;  // CR LF is one end
    if (quoted) {
      if (c == '"' && i + 1 < text.size() && text[i + 1] == '"') {
        record.fields.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        record.fields.back() += lineEnd ? '\n' : c;
        if (lineEnd) ++line;
      }
      continue;
    }
    if (lineEnd) {
      ++line;
      endRecord();
    } else if (c == separator) {
      record.fields.emplace_back();
      fieldStart = true;
    } else if (c == '"' && fieldStart) {
      quoted = true;
      fieldStart = false;
    } else {
      record.fields.back() += c;
      fieldStart = false;
    }
  }
  if (quoted) table.unterminatedLine = record.line;
  endRecord();
  return table;
}

}  // namespace csv
