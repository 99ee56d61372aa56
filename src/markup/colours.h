#pragma once

#include <cstdint>
#include <string_view>

// Colour values: 0x00BBGGRR for a fixed colour, 0x80000000 plus the index for a
// system colour.
using CellColour = std::uint32_t;

constexpr CellColour kSystemColour = 0x80000000u;
constexpr CellColour clWindow = kSystemColour + 5;
constexpr CellColour clWindowText = kSystemColour + 8;
constexpr CellColour clGrayText = kSystemColour + 17;

// Looks a colour name up exactly (case and blanks matter). An unknown name
// reports false and leaves `value` unchanged.
bool ParseColour(std::string_view name, CellColour& value);
