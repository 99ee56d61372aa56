#include "app/commandline.h"

#include <algorithm>
#include <cctype>

int CountMakerSwitches(std::span<const char* const> arguments) {
  constexpr std::string_view kSwitch = "/kestrel";
  return static_cast<int>(std::count_if(arguments.begin(), arguments.end(), [&](const char* argument) {
    if (argument == nullptr) return false;
    const std::string_view word(argument);
    return std::equal(word.begin(), word.end(), kSwitch.begin(), kSwitch.end(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
  }));
}
