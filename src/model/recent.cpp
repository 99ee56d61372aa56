#include "model/recent.h"

#include <algorithm>
#include <string_view>

namespace {

std::string_view WithoutTrailingSlash(std::string_view folder) {
  if (!folder.empty() && folder.back() == '/') folder.remove_suffix(1);
  return folder;
}

}  // namespace

void cmcRecent::AddFirst(const std::string& name) {
  Remove(name);
  names_.insert(names_.begin(), name);
  Trim();
}

void cmcRecent::AddLast(const std::string& name) {
  Remove(name);
  names_.push_back(name);
  Trim();
}

void cmcRecent::Remove(const std::string& name) { std::erase(names_, name); }

std::string cmcRecent::At(std::size_t index) const { return index < names_.size() ? names_[index] : std::string(); }

std::string cmcRecent::DisplayName(std::size_t index, const std::string& currentDirectory) const {
  if (index >= names_.size()) return {};
  const std::string& name = names_[index];
  const std::size_t slash = name.rfind('/');
  if (slash == std::string::npos) return name;
  const std::string_view folder = WithoutTrailingSlash(std::string_view(name).substr(0, slash + 1));
  if (folder == WithoutTrailingSlash(currentDirectory)) return name.substr(slash + 1);
  return name;
}

void cmcRecent::Trim() {
  if (names_.size() > capacity_) names_.resize(capacity_);
}
