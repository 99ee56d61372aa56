#include "markup/cellnames.h"

#include <array>
#include <string>

#include "core/hash.h"
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

// Types and links are kept apart, so a name of one kind never resolves as the
// other. Each is filled on first use; a repeated name is the fatal duplicate key.
const cmcHash& TypeIndex() {
  static const cmcHash index = [] {
    cmcHash table;
    for (std::size_t id = 0; id < kCellTypes.size(); ++id) table.Insert(kCellTypes[id].name, static_cast<int>(id));
    return table;
  }();
  return index;
}

const cmcHash& LinkIndex() {
  static const cmcHash index = [] {
    cmcHash table;
    for (std::size_t id = 0; id < kCellLinks.size(); ++id) table.Insert(kCellLinks[id], static_cast<int>(id));
    return table;
  }();
  return index;
}

std::optional<int> Find(const cmcHash& index, std::string_view name) {
  const std::int32_t* id = index.Find(name);
  if (!id) return std::nullopt;
  return *id;
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
  if (typeId < 0 || typeId > kNoCellType)
    platform::Fatal(Substitute("Unknown Cell Category. (%d)", {std::int64_t{typeId}}));
  if (typeId == kNoCellType) return 0;
  const int category = kCellTypes[static_cast<std::size_t>(typeId)].category;
  if (category != kCategoryOfModel) return category;
  if (modelType < 0 || modelType >= kModelCategoryCount) {
    platform::Fatal(Substitute("Unknown radio model type. (%d)", {std::int64_t{modelType}}));
  }
  return 1 + modelType;
}
