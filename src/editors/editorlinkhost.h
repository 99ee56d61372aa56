#pragma once

#include "grid/gridlinkhost.h"

// The pop-up editors of the desktop program: the drop-down, and at the
// opening cell the bit-field editor (a named sheet opens as the drop-down
// over its list, replying the chosen parameter), the segment-text editor and
// the segment character editor.
class EditorLinkHost : public GridLinkHost {
 public:
  bool OpenFlagEditor(cmcCellCapsule& request, const FlagEditorForm& form, std::uint32_t bits) override;
  bool OpenTextEditor(cmcCellCapsule& request, const TextEditorForm& form) override;
  bool OpenSegmentCharacterEditor(cmcCellCapsule& request, std::uint16_t pattern) override;
};
