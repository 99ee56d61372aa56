#pragma once

#include <optional>
#include <string>
#include <string_view>

// The cell type and cell link name tables. Both are lists of names in id order
// (celltypes.def, celllinks.def); a name is resolved to its position.
constexpr int kCellTypeCount = 28;
constexpr int kNoCellType = kCellTypeCount;  // an empty type name, and a cell's default
constexpr int kCellLinkCount = 1613;
constexpr int kNoCellLink = kCellLinkCount;  // an empty link name, and a cell's default

// The channel categories of the memory-channel types: one per radio model type.
constexpr int kModelCategoryCount = 4;

// The id of a type or link name, or nothing for a name that is not in that
// table. An empty name gives the "none" id. Names of the other kind are not
// found: a link name is no type and the reverse.
std::optional<int> FindCellType(std::string_view name);
std::optional<int> FindCellLink(std::string_view name);

// As Find..., but an unknown name is a fatal configuration error.
int ResolveType(std::string_view name);
int ResolveLink(std::string_view name);

// The name of an id; empty for an id outside the table.
std::string_view TypeName(int id);
std::string_view LinkName(int id);

// The record category (0 to 20) of a cell type, 0 for "none". The memory-channel
// types take the category of the radio model type (0 to 3) given. An id outside
// 0..kNoCellType, or a model type outside 0..3, is a fatal configuration error.
int CategoryOf(int typeId, int modelType);

// The fatal texts of the name tables, also used by the overlay checker.
std::string UnknownTypeMessage(std::string_view name);
std::string UnknownLinkMessage(std::string_view name);
