#include "radiosim/faults.h"

#include <array>
#include <charconv>

namespace {

constexpr int kNoLimit = 1'000'000;

constexpr std::array<FaultKind, 9> kKinds = {{
    {Fault::kSilenceAfter, "silence-after", true, true, 0, 0, kNoLimit,
     "after N messages (frames or flow-control bytes) the radio falls silent; an echo goes on"},
    {Fault::kHangupAfter, "hangup-after", true, true, 0, 0, kNoLimit,
     "after N messages the radio drops the line and the program ends"},
    {Fault::kBadChecksum, "bad-checksum", true, false, 1, 1, kNoLimit,
     "the Nth data record of each read (default 1) carries a wrong checksum"},
    {Fault::kWrongCount, "wrong-count", false, false, 0, 0, 0,
     "the end of data of each read carries the record count plus one"},
    {Fault::kRefuse, "refuse", true, false, 1, 1, kNoLimit,
     "the Nth flow-control byte of each write (default 1, the one after the request) is a refusal (FA); "
     "the radio then drops the write"},
    {Fault::kDropGoOn, "drop-fb", true, false, 1, 1, kNoLimit,
     "the Nth go-on byte (FB) of each write (default 1) is left out"},
    {Fault::kNoConfirm, "no-confirm", false, false, 0, 0, 0, "a finished write gets no confirmation"},
    {Fault::kGarbage, "garbage", true, false, 8, 1, 256,
     "N noise bytes (default 8; never FE, FB or FA) go before every message"},
    {Fault::kStoreWrong, "store-wrong", true, false, 1, 1, kNoLimit,
     "the Nth data record of each write (default 1) is stored with its first byte inverted, though the write "
     "is confirmed; a read-back finds the difference"},
}};

const FaultKind* FindKind(std::string_view name) {
  for (const FaultKind& kind : kKinds) {
    if (kind.name == name) return &kind;
  }
  return nullptr;
}

std::optional<int> ParseNumber(std::string_view text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

}  // namespace

std::span<const FaultKind> FaultKinds() { return kKinds; }

std::string FaultPlan::Add(std::string_view text) {
  std::size_t colon = text.find(':');
  std::string_view name = text.substr(0, colon);
  const FaultKind* kind = FindKind(name);
  if (kind == nullptr) return "unknown fault '" + std::string(name) + "'";
  if (Has(kind->fault)) return "fault '" + std::string(name) + "' given twice";
  if (colon == std::string_view::npos) {
    if (kind->numberRequired) return "fault '" + std::string(name) + "' needs a number (" + std::string(name) + ":N)";
    chosen_[kind->fault] = kind->defaultNumber;
    return {};
  }
  if (!kind->takesNumber) return "fault '" + std::string(name) + "' takes no number";
  std::optional<int> number = ParseNumber(text.substr(colon + 1));
  if (!number || *number < kind->minNumber || *number > kind->maxNumber) {
    return "fault '" + std::string(name) + "' needs a number from " + std::to_string(kind->minNumber) + " to " +
           std::to_string(kind->maxNumber);
  }
  chosen_[kind->fault] = *number;
  return {};
}

std::optional<int> FaultPlan::Number(Fault fault) const {
  auto found = chosen_.find(fault);
  if (found == chosen_.end()) return std::nullopt;
  return found->second;
}
