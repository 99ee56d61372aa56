#pragma once

// The pre-transfer scripts of the clone manager: the speed, password and mode
// commands sent before every transfer.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace transferscript {

// The longest clone password the radio keeps, in bytes.
constexpr std::size_t kMaxPasswordBytes = 16;

// The password record as script text: its length, the two's complement of the
// sum of its bytes, then the bytes; each record byte as two upper-case
// hexadecimal digits, each digit travelling as its ASCII code.
std::string PasswordRecordText(std::string_view password);

// The whole script for a transfer with frame parameter a: the speed command
// that brings a radio still at 38400 baud to 9600, then at 9600 the password
// (when one is given) and the mode command, then the speed command for the
// transfer speed.
std::string Build(std::uint16_t a, bool highSpeed, bool writeMode, const std::optional<std::string>& password);

}  // namespace transferscript
