#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sheet/lookcolours.h"

class cmcEvMan;
struct Event;

// The status bar's message: its text and colours, carried by the status
// message event so that any part of the program can set it.
struct StatusMessage {
  CellColour text = clWindowText;
  CellColour background = clBtnFace;
  std::string message;
  bool operator==(const StatusMessage&) const = default;
};

void PostStatusMessage(cmcEvMan& events, const StatusMessage& status);
// None when the event's payload is too short to hold the colours.
std::optional<StatusMessage> DecodeStatusMessage(const Event& event);
