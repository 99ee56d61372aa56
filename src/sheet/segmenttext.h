#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class Charset;

// The segment-text editor without a window: the codes of a display text, at
// most `maximum` of them, with a caret and a selection counted in characters.
// The text shown is the codes decoded through the character table; a text
// typed or pasted is taken only when the table holds every character and it
// fits the maximum, so the editor never holds more than its field.
class SegmentText {
 public:
  // Opens on the field's bytes without their trailing space padding, the
  // caret at the end (a key was typed) or the whole text selected.
  SegmentText(const Charset& charset, std::span<const std::uint8_t> bytes, std::size_t maximum, bool caretAtEnd);

  std::string Text() const;
  const std::vector<std::uint8_t>& Codes() const { return codes_; }
  std::vector<std::uint16_t> Patterns() const;
  std::size_t Maximum() const { return maximum_; }

  std::size_t Caret() const { return caret_; }
  std::size_t SelectionStart() const { return std::min(anchor_, caret_); }
  std::size_t SelectionLength() const { return anchor_ > caret_ ? anchor_ - caret_ : caret_ - anchor_; }
  // The caret at `caret`, the selection reaching back to `anchor`; both held to the text.
  void Select(std::size_t anchor, std::size_t caret);

  // Puts a code at the caret in place of the selection; false (nothing
  // changes) when the text would pass the maximum.
  bool Insert(std::uint8_t code);
  // The same for a typed key ("." gives code A0); false for a key the table lacks.
  bool Type(char key);
  // Takes an edited text with its caret (in characters); false, and nothing
  // changes, when a character is not in the table or the text is too long.
  bool SetText(std::string_view text, std::size_t caret);

 private:
  const Charset& charset_;
  std::vector<std::uint8_t> codes_;
  std::size_t maximum_;
  std::size_t anchor_ = 0;
  std::size_t caret_ = 0;
};
