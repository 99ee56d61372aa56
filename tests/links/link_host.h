#pragma once

#include <string>

#include "links/families.h"

// Records the pop-up editors the links open.
class RecordingLinkHost : public LinkHost {
 public:
  bool OpenChoiceList(cmcCellCapsule&, std::string_view list, int column, std::int32_t current) override {
    opened = "choice " + std::string(list) + " " + std::to_string(column) + " " + std::to_string(current);
    return true;
  }
  bool OpenFlagEditor(cmcCellCapsule&, std::string_view list, std::uint32_t bits) override {
    opened = "flags " + std::string(list) + " " + std::to_string(bits);
    return true;
  }
  bool OpenTextEditor(cmcCellCapsule&, std::string_view text) override {
    opened = "text " + std::string(text);
    return true;
  }
  std::string opened;
};
