#pragma once

#include <string>
#include <string_view>
#include <vector>

// Splits "COMMAND arg1, arg2, ..." into its command word and trimmed arguments.
class cmcScrBlock {
 public:
  explicit cmcScrBlock(std::string_view text);

  const std::string& Command() const { return command_; }
  // Argument i, or an empty string when there is no such argument.
  std::string Arg(std::size_t i) const { return i < args_.size() ? args_[i] : std::string(); }
  std::size_t ArgCount() const { return args_.size(); }

 private:
  std::string command_;
  std::vector<std::string> args_;
};
