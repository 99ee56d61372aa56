#include "app/commandline.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsMakerSwitch(const char* argument) {
  constexpr std::string_view kSwitch = "/kestrel";
  if (argument == nullptr) return false;
  const std::string_view word(argument);
  return std::equal(word.begin(), word.end(), kSwitch.begin(), kSwitch.end(),
                    [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

}  // namespace

int CountMakerSwitches(std::span<const char* const> arguments) {
  return static_cast<int>(std::count_if(arguments.begin(), arguments.end(), IsMakerSwitch));
}

std::optional<std::string> FileArgument(std::span<const char* const> arguments) {
  if (arguments.empty()) return std::nullopt;
  const auto named = std::find_if(arguments.begin() + 1, arguments.end(), [](const char* argument) {
    return argument != nullptr && *argument != '\0' && !IsMakerSwitch(argument);
  });
  if (named == arguments.end()) return std::nullopt;
  return std::string(*named);
}
