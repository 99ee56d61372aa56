#pragma once

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The faults the simulated radio can be told to make, and their numbers.
enum class Fault {
  kSilenceAfter,  // after N messages the radio says nothing more
  kHangupAfter,   // after N messages the radio drops the line
  kBadChecksum,   // the Nth record of each read carries a wrong checksum
  kWrongCount,    // each read's end of data carries a wrong record count
  kRefuse,        // the Nth flow-control byte of each write is a refusal
  kDropGoOn,      // the Nth go-on byte of each write is left out
  kNoConfirm,     // a finished write is not confirmed
  kGarbage,       // N noise bytes go before every message
  kStoreWrong,    // the Nth data record of each write is stored with its first byte inverted
};

struct FaultKind {
  Fault fault;
  std::string_view name;
  bool takesNumber;
  bool numberRequired;
  int defaultNumber;
  int minNumber;
  int maxNumber;
  std::string_view help;
};

// Every fault, as the command line names them.
std::span<const FaultKind> FaultKinds();

// The faults chosen for one run, each with its number.
class FaultPlan {
 public:
  // "KIND" or "KIND:N". Empty on success, else why the text is refused.
  std::string Add(std::string_view text);
  bool Has(Fault fault) const { return chosen_.contains(fault); }
  // The fault's number; nothing when the fault is not chosen.
  std::optional<int> Number(Fault fault) const;

 private:
  std::map<Fault, int> chosen_;
};
