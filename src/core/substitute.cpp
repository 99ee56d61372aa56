#include "core/substitute.h"

std::string Substitute(std::string_view pattern, std::initializer_list<SubstituteArg> args) {
  std::string out;
  out.reserve(pattern.size());
  const SubstituteArg* next = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c != '%' || i + 1 == pattern.size()) {
      out += c;
      continue;
    }
    const char conversion = pattern[i + 1];
    if (conversion == '%') {
      out += '%';
      ++i;
      continue;
    }
    if ((conversion != 's' && conversion != 'd') || next == args.end()) {
      out += c;
      continue;
    }
    if (const auto* text = std::get_if<std::string_view>(next)) {
      out += *text;
    } else {
      out += std::to_string(std::get<std::int64_t>(*next));
    }
    ++next;
    ++i;
  }
  return out;
}
