#include "grid/qtcolours.h"

#include <array>
#include <utility>

namespace {

// System colour number -> palette role (the numbers of the colour table).
constexpr std::array<std::pair<int, QPalette::ColorRole>, 20> kSystemRoles = {{
    {1, QPalette::Window},            // clBackground
    {2, QPalette::Highlight},         // clActiveCaption
    {3, QPalette::Mid},               // clInactiveCaption
    {4, QPalette::Window},            // clMenu
    {5, QPalette::Base},              // clWindow
    {6, QPalette::Shadow},            // clWindowFrame
    {7, QPalette::WindowText},        // clMenuText
    {8, QPalette::Text},              // clWindowText
    {9, QPalette::HighlightedText},   // clCaptionText
    {10, QPalette::Light},            // clActiveBorder
    {11, QPalette::Midlight},         // clInactiveBorder
    {12, QPalette::Dark},             // clAppWorkSpace
    {13, QPalette::Highlight},        // clHighlight
    {14, QPalette::HighlightedText},  // the highlight text
    {15, QPalette::Button},           // clBtnFace
    {16, QPalette::Dark},             // clBtnShadow
    {17, QPalette::PlaceholderText},  // clGrayText
    {18, QPalette::ButtonText},       // clBtnText
    {19, QPalette::Text},             // clInactiveCaptionText
    {20, QPalette::Light},            // clBtnHighlight
}};

CellColour FromQColor(const QColor& colour) {
  return static_cast<CellColour>(colour.red()) | static_cast<CellColour>(colour.green()) << 8 |
         static_cast<CellColour>(colour.blue()) << 16;
}

}  // namespace

QColor ToQColor(CellColour colour, const QPalette& palette) {
  if (colour & kSystemColour) {
    const int number = static_cast<int>(colour & 0xFF);
    for (const auto& [system, role] : kSystemRoles) {
      if (system == number) return palette.color(QPalette::Active, role);
    }
    return palette.color(QPalette::Active, QPalette::Text);
  }
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

LookColours LookColoursOf(const QPalette& palette) {
  return {FromQColor(palette.color(QPalette::Active, QPalette::Base)),
          FromQColor(palette.color(QPalette::Active, QPalette::Text))};
}
