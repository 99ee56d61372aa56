#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

// Comma-separated text as spreadsheets exchange it: fields quoted with double
// quotes where they hold a comma, a quote or a line break, quotes doubled
// inside; records end with CR LF.
namespace csv {

// One field, quoted when it needs to be.
std::string Field(std::string_view text);
// The fields joined by commas, ended by CR LF.
std::string Line(std::span<const std::string> fields);

struct Record {
  int line = 0;  // the text line the record starts on, from 1
  std::vector<std::string> fields;
};

struct Table {
  std::vector<Record> records;  // blank lines are left out
  int unterminatedLine = 0;     // the line of a quoted field that never closes, else 0
};

// Reads LF, CR LF or CR line ends and skips a leading UTF-8 byte-order mark.
// A quote inside an unquoted field is an ordinary character; text after a
// closing quote joins the field. `separator` is the comma, or the semicolon
// or tab that spreadsheets write where the comma is the decimal mark.
Table Parse(std::string_view text, char separator = ',');

}  // namespace csv
