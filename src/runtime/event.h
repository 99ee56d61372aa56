#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

enum class EvDelivery : std::int32_t { Posted = 0, Sent = 1, Query = 2 };

// One event, owned by the event manager: listeners read it and must not keep it.
struct Event {
  std::uint32_t code = 0;
  EvDelivery delivery = EvDelivery::Posted;
  void* sender = nullptr;  // the window or control concerned, may be null
  std::intptr_t argument = 0;
  std::optional<std::vector<char>> payload;  // a text payload holds its terminating zero

  std::uint32_t PayloadLength() const { return payload ? static_cast<std::uint32_t>(payload->size()) : 0; }
  // The payload as text, up to its first zero (never beyond its end); empty
  // when there is none.
  std::string_view Text() const;
};
