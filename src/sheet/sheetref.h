#pragma once

#include <optional>
#include <string>
#include <string_view>

// A sheet reference, "[Style]IndexName,Kind": what a tree node, a CallSheet
// cell or the command line names to open a sheet. The style and the kind are
// optional; the index name is the stem of the sheet's three blocks.
struct SheetRef {
  std::string style;  // "St_ChBank", "St_Common", or empty
  std::string name;   // "GI_Sheet_Mch_Lmr"
  std::string kind;   // "Bank 3", or empty

  static SheetRef Parse(std::string_view text);
  // The reference written out again; Parse(Text()) gives the same reference.
  std::string Text() const;

  // The bank a "Bank n" kind names, n from 0; none for another kind or a
  // number outside the banks.
  std::optional<int> Bank() const;

  bool operator==(const SheetRef&) const = default;
};

inline constexpr std::string_view kChannelBankStyle = "St_ChBank";
inline constexpr std::string_view kCommonStyle = "St_Common";

// The three blocks of a sheet.
std::string StyleBlock(std::string_view name);
std::string BasicCellBlock(std::string_view name);
std::string CellsBlock(std::string_view name);
