#pragma once

#include <cstdint>
#include <string_view>

// Reads a decimal number the forgiving way overlay values are written: leading
// blanks skipped, an optional sign, then digits up to the first non-digit. No
// digits give 0. A value beyond the 32-bit range saturates at its end.
// `used`, when given, receives the number of characters consumed.
std::int32_t SaturatingDecimal(std::string_view text, std::size_t* used = nullptr);

// a + b, held inside the 32-bit range.
std::int32_t SaturatingAdd(std::int32_t a, std::int32_t b);
