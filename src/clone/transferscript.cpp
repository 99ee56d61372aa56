#include "clone/transferscript.h"

#include <cstdio>

namespace transferscript {

namespace {

std::string Hex(unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

// Twenty wake-up bytes before the command, sent at the given settings.
std::string SpeedCommand(std::uint16_t a, bool toHighSpeed) {
  const char* settings = toHighSpeed ? "(9600,N,8,1)" : "(38400,N,8,1)";
  const char* value = toHighSpeed ? "3039" : "3237";
  std::string wake;
  for (int i = 0; i < 20; ++i) wake += "FE";
  return std::string(settings) + wake + " EEEF E8 " + Hex(a, 4) + "0000 01 " + value + " FD";
}

}  // namespace

std::string PasswordRecordText(std::string_view password) {
  unsigned sum = 0;
  for (char c : password) sum += static_cast<unsigned char>(c);
  std::string text;
  auto addByte = [&text](unsigned byte) {
    for (char digit : Hex(byte & 0xFFu, 2)) text += Hex(static_cast<unsigned char>(digit), 2) + " ";
  };
  addByte(static_cast<unsigned>(password.size()));
  addByte(0x100u - (sum & 0xFFu));
  for (char c : password) addByte(static_cast<unsigned char>(c));
  return text;
}

std::string Build(std::uint16_t a, bool highSpeed, bool writeMode, const std::optional<std::string>& password) {
  const std::string head = "FEFE EEEF E8 " + Hex(a, 4) + "0000 ";
  std::string script = SpeedCommand(a, false) + "(9600,N,8,1)";
  if (password) script += head + "99 " + PasswordRecordText(*password) + " FD";
  script += head + "55 30" + (writeMode ? "31" : "30") + " FD";
  return script + SpeedCommand(a, highSpeed);
}

}  // namespace transferscript
