#pragma once

#include <QIcon>
#include <span>
#include <string_view>
#include <vector>

// An image list of the main window: the icons of the tree or of the tool bar,
// by the index that items' mark-up names. A missing picture gives an empty icon.
class IconList {
 public:
  explicit IconList(std::span<const std::string_view> names);

  QIcon Icon(int index) const;
  QPixmap Pixmap(int index) const;
  int Count() const { return static_cast<int>(pixmaps_.size()); }

  static constexpr int kIconSize = 32;
  // The pictures of the navigation tree and of the tool bar, in list order.
  static std::span<const std::string_view> TreeImages();
  static std::span<const std::string_view> ToolBarImages();

 private:
  std::vector<QPixmap> pixmaps_;
};
