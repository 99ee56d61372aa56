#include "app/iconlist.h"

#include <QString>
#include <array>

#include "platform/paths.h"

namespace {

constexpr std::array<std::string_view, 11> kTreeImages = {
    "tree_radio", "tree_folder", "tree_sheet",   "tree_sheet_banks", "tree_bank0",      "tree_bank1",
    "tree_bank2", "tree_bank3",  "tree_warning", "tree_error",       "tree_adjustment",
};

constexpr std::array<std::string_view, 22> kToolBarImages = {
    "bar_file_new",    "bar_file_open",  "bar_file_save",   "bar_com1",       "bar_com2",      "bar_com3",
    "bar_com4",        "bar_clone_read", "bar_clone_write", "bar_clone_info", "bar_pcg_pen",   "bar_pcg_fill",
    "bar_pcg_slider",  "bar_page_top",   "bar_page_prev",   "bar_page_next",  "bar_page_last", "bar_page_zoom",
    "tree_adjustment", "bar_io_check",   "bar_flash_write", "bar_mch_window",
};

}  // namespace

IconList::IconList(std::span<const std::string_view> names) {
  const QString folder = QString::fromStdString(platform::DataDir()) + QStringLiteral("icons/");
  for (std::string_view name : names) {
    pixmaps_.emplace_back(folder + QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())) +
                          QStringLiteral(".png"));
  }
}

QPixmap IconList::Pixmap(int index) const {
  if (index < 0 || index >= Count()) return {};
  return pixmaps_[static_cast<std::size_t>(index)];
}

QIcon IconList::Icon(int index) const {
  const QPixmap pixmap = Pixmap(index);
  return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

std::span<const std::string_view> IconList::TreeImages() { return kTreeImages; }
std::span<const std::string_view> IconList::ToolBarImages() { return kToolBarImages; }
