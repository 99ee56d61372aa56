#pragma once

#include <string>

#include "links/families.h"

// Records the pop-up editors the links open.
class RecordingLinkHost : public LinkHost {
 public:
  // The sheet's name, or "options FIRST-LAST style S" for a generated form.
  static std::string FormText(const FlagEditorForm& form) {
    if (!form.sheet.empty()) return std::string(form.sheet);
    return "options " + std::to_string(form.firstOption) + "-" + std::to_string(form.lastOption) + " style " +
           std::to_string(form.labelStyle);
  }
  bool OpenChoiceList(cmcCellCapsule&, std::string_view list, int column, std::int32_t current) override {
    opened = "choice " + std::string(list) + " " + std::to_string(column) + " " + std::to_string(current);
    return true;
  }
  bool OpenFlagEditor(cmcCellCapsule&, const FlagEditorForm& form, std::uint32_t bits) override {
    opened = "flags " + FormText(form) + " " + std::to_string(bits);
    return true;
  }
  bool OpenSegmentCharacterEditor(cmcCellCapsule&, std::uint16_t pattern) override {
    opened = "segments " + std::to_string(pattern);
    return true;
  }
  bool OpenTextEditor(cmcCellCapsule&, const TextEditorForm& form) override {
    opened =
        "text " + form.text + (form.caretAtEnd ? "| at end" : "| selected") + " max " + std::to_string(form.maximum);
    return true;
  }
  std::string opened;
};
