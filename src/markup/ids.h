#pragma once

// Compile-time ids of the cell types and links, generated from the name tables
// so that link tables can name their rows without looking names up.
namespace ct {
enum TypeId : int {
#define RWQ_CELL_TYPE(name, category) name,
#include "markup/celltypes.def"
#undef RWQ_CELL_TYPE
};
}  // namespace ct

namespace cl {
enum LinkId : int {
#define RWQ_CELL_LINK(name) name,
#include "markup/celllinks.def"
#undef RWQ_CELL_LINK
};
}  // namespace cl
