#pragma once

#include <string>

// A copy of the dPMR446 clone file `source` with `password` as the radio's
// clone password, written to `target`; "" when it cannot be made.
std::string LockedCloneFile(const std::string& source, const std::string& target, const std::string& password);
