#pragma once

#include <cstdio>
#include <string>

// The pre-transfer script as the clone manager writes it for a transfer with
// the frame parameter A 0x3620: the speed command that brings a radio still at
// 38400 baud to 9600, the password and the mode command at 9600, then the
// speed command for the transfer speed.
inline std::string PasswordRecordText(const std::string& password) {
  // Length, the two's complement of the character sum, the characters; each
  // byte as two digits, each digit travelling as its ASCII code.
  unsigned sum = 0;
  for (char c : password) sum += static_cast<unsigned char>(c);
  std::string record;
  char digits[3];
  auto addByte = [&](unsigned byte) {
    std::snprintf(digits, sizeof digits, "%02X", byte & 0xFF);
    for (char d : std::string(digits)) {
      char ascii[4];
      std::snprintf(ascii, sizeof ascii, "%02X ", static_cast<unsigned>(d));
      record += ascii;
    }
  };
  addByte(static_cast<unsigned>(password.size()));
  addByte(0x100 - (sum & 0xFF));
  for (char c : password) addByte(static_cast<unsigned char>(c));
  return record;
}

inline std::string ManagerScript(bool highSpeed, bool writeMode, const std::string& password = "") {
  std::string script =
      "(38400,N,8,1)FEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFE EEEF E8 36200000 01 3237 FD"
      "(9600,N,8,1)";
  if (!password.empty()) script += "FEFE EEEF E8 36200000 99 " + PasswordRecordText(password) + " FD";
  script += writeMode ? "FEFE EEEF E8 36200000 55 3031 FD" : "FEFE EEEF E8 36200000 55 3030 FD";
  script += highSpeed ? "(9600,N,8,1)FEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFE EEEF E8 36200000 01 3039 FD"
                      : "(38400,N,8,1)FEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFEFE EEEF E8 36200000 01 3237 FD";
  return script;
}
