#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The list of the files opened or saved last, the most recent first. Names are
// compared exactly: on this system two names that differ in case are two files.
class cmcRecent {
 public:
  explicit cmcRecent(std::size_t capacity) : capacity_(capacity) {}

  // Moves or puts name at the front.
  void AddFirst(const std::string& name);
  // Moves or puts name at the end; used when the stored list is read in order.
  void AddLast(const std::string& name);
  void Remove(const std::string& name);
  std::size_t Count() const { return names_.size(); }
  void Clear() { names_.clear(); }

  // The name at index, or an empty text past the end.
  std::string At(std::size_t index) const;
  // The name at index as a menu shows it: only the file name when the file lies
  // in currentDirectory, else the whole name; empty past the end.
  std::string DisplayName(std::size_t index, const std::string& currentDirectory) const;

 private:
  void Trim();

  std::size_t capacity_;
  std::vector<std::string> names_;
};
