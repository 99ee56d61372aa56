#pragma once

#include <cstdint>
#include <string_view>

#include "links/families.h"
#include "sheet/textmeasurer.h"

// What a sheet needs from a window when there is none (the command line, the
// overlay checker, benchmarks): a fixed-width measure and a host that opens
// no editor.
class CharacterMeasurer : public TextMeasurer {
 public:
  Extent Measure(std::string_view line, const Font&) const override {
    return {8.0 * static_cast<double>(line.size()), 16.0};
  }
};

class NoEditors : public LinkHost {
 public:
  bool OpenChoiceList(cmcCellCapsule&, std::string_view, int, std::int32_t) override { return false; }
  bool OpenFlagEditor(cmcCellCapsule&, const FlagEditorForm&, std::uint32_t) override { return false; }
  bool OpenTextEditor(cmcCellCapsule&, const TextEditorForm&) override { return false; }
  bool OpenSegmentCharacterEditor(cmcCellCapsule&, std::uint16_t) override { return false; }
};
