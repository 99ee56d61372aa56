#pragma once

#include <string>

class cmcEeprom;
class Charset;

// The name of a bank as the radio shows it: its eight codes in the radio's
// character set, a code the set lacks shown as a space, the blanks around it
// trimmed. Without a set, printable ASCII stands for itself. Empty for a bank
// outside the eight or an image too short to hold the names.
std::string BankName(const cmcEeprom& image, int bank, const Charset* charset);
