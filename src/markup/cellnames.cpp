#include "markup/cellnames.h"

#include <array>
#include <string>
#include <unordered_map>

#include "core/substitute.h"
#include "platform/fatal.h"

namespace {

constexpr int kCategoryOfModel = -1;

struct CellTypeEntry {
  std::string_view name;
  int category;
};

constexpr std::array<CellTypeEntry, kCellTypeCount> kCellTypes = {{
#define RWQ_CELL_TYPE(name, category) {#name, category},
#include "markup/celltypes.def"
#undef RWQ_CELL_TYPE
}};

constexpr std::array<std::string_view, kCellLinkCount> kCellLinks = {{
#define RWQ_CELL_LINK(name) #name,
#include "markup/celllinks.def"
#undef RWQ_CELL_LINK
}};

using NameIndex = std::unordered_map<std::string_view, int>;

// Filled on first use. A repeated name would make ids ambiguous, so it is the
// fatal error of a duplicate hash key.
template <typename Names, typename NameOf>
NameIndex BuildIndex(const Names& names, NameOf nameOf) {
  NameIndex index;
  index.reserve(names.size());
  for (std::size_t id = 0; id < names.size(); ++id) {
    if (!index.emplace(nameOf(names[id]), static_cast<int>(id)).second) platform::Fatal("Overlapped Hash table.");
  }
  return index;
}

const NameIndex& TypeIndex() {
  static const NameIndex index = BuildIndex(kCellTypes, [](const CellTypeEntry& e) { return e.name; });
  return index;
}

const NameIndex& LinkIndex() {
  static const NameIndex index = BuildIndex(kCellLinks, [](std::string_view name) { return name; });
  return index;
}

std::optional<int> Find(const NameIndex& index, std::string_view name) {
  auto found = index.find(name);
  if (found == index.end()) return std::nullopt;
  return found->second;
}

}  // namespace

std::optional<int> FindCellType(std::string_view name) {
  if (name.empty()) return kNoCellType;
  return Find(TypeIndex(), name);
}

std::optional<int> FindCellLink(std::string_view name) {
  if (name.empty()) return kNoCellLink;
  return Find(LinkIndex(), name);
}

std::string UnknownTypeMessage(std::string_view name) {
  return Substitute("Cannot use the specified category.\n'%s'", {name});
}

std::string UnknownLinkMessage(std::string_view name) {
  return Substitute("Cannot use the specified cell.\n'%s'", {name});
}

int ResolveType(std::string_view name) {
  std::optional<int> id = FindCellType(name);
  if (!id) platform::Fatal(UnknownTypeMessage(name));
  return *id;
}

int ResolveLink(std::string_view name) {
  std::optional<int> id = FindCellLink(name);
  if (!id) platform::Fatal(UnknownLinkMessage(name));
  return *id;
}

std::string_view TypeName(int id) {
  if (id < 0 || id >= kCellTypeCount) return {};
  return kCellTypes[static_cast<std::size_t>(id)].name;
}

std::string_view LinkName(int id) {
  if (id < 0 || id >= kCellLinkCount) return {};
  return kCellLinks[static_cast<std::size_t>(id)];
}

int CategoryOf(int typeId, int modelType) {
  if (typeId < 0 || typeId > kNoCellType) platform::Fatal(Substitute("Unknown Cell Category. (%d)", {std::int64_t{typeId}}));
  if (typeId == kNoCellType) return 0;
  const int category = kCellTypes[static_cast<std::size_t>(typeId)].category;
  if (category != kCategoryOfModel) return category;
  if (modelType < 0 || modelType >= kModelTypeCount) {
    platform::Fatal(Substitute("Unknown radio model type. (%d)", {std::int64_t{modelType}}));
  }
  return 1 + modelType;
}
