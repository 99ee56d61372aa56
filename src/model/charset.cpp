#include "model/charset.h"

#include "core/substitute.h"
#include "core/textutil.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace {

// The length of the UTF-8 sequence a byte starts, 0 when it starts none.
std::size_t SequenceLength(unsigned char lead) {
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 0;
}

bool IsOneCharacter(std::string_view text) {
  if (text.empty() || SequenceLength(static_cast<unsigned char>(text[0])) != text.size()) return false;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) return false;
  }
  return true;
}

std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

// The character a table line shows: written as itself or as "U+" and a number.
std::optional<std::string> DisplayField(std::string_view field, std::string& why) {
  if (field.size() > 2 && field.starts_with("U+")) {
    std::optional<std::uint32_t> c = field.size() <= 8 ? HexNumber(field.substr(2)) : std::nullopt;
    if (!c || *c > 0x10FFFF || (*c >= 0xD800 && *c <= 0xDFFF)) {
      why = Substitute("'%s' is no Unicode character", {field});
      return std::nullopt;
    }
    if (*c < 0x20 || *c == 0x7F) {
      why = Substitute("'%s' is a control character, which cannot be shown", {field});
      return std::nullopt;
    }
    return Utf8Of(*c);
  }
  if (!IsOneCharacter(field) || static_cast<unsigned char>(field[0]) < 0x20 || field[0] == 0x7F) {
    why = "the character must be one printable UTF-8 character or U+ and its number";
    return std::nullopt;
  }
  return std::string(field);
}

}  // namespace

std::optional<Charset> Charset::Parse(std::string_view table, std::string& why) {
  Charset charset;
  std::size_t lineNumber = 0;
  while (!table.empty()) {
    ++lineNumber;
    const std::size_t end = table.find('\n');
    std::string_view line = table.substr(0, end);
    table = end == std::string_view::npos ? std::string_view() : table.substr(end + 1);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.empty() || line.starts_with(';')) continue;

    const auto fail = [&](const std::string& text) {
      why = Substitute("line %d: %s", {static_cast<std::int64_t>(lineNumber), text});
      return std::nullopt;
    };
    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return fail("expected a code, a TAB and a character");
    const std::optional<std::uint32_t> code = tab <= 2 ? HexNumber(line.substr(0, tab)) : std::nullopt;
    if (!code) return fail(Substitute("'%s' is no code from 00 to FF", {line.substr(0, tab)}));
    std::string_view characterField = line.substr(tab + 1);
    const std::size_t patternTab = characterField.find('\t');
    if (patternTab != std::string_view::npos) {
      const std::string_view patternField = characterField.substr(patternTab + 1);
      const std::optional<std::uint32_t> pattern =
          patternField.size() <= 4 ? HexNumber(patternField) : std::optional<std::uint32_t>();
      if (!pattern) return fail(Substitute("'%s' is no segment pattern from 0000 to FFFF", {patternField}));
      charset.patterns_[*code] = static_cast<std::uint16_t>(*pattern);
      characterField = characterField.substr(0, patternTab);
    }
    std::string fieldWhy;
    std::optional<std::string> display = DisplayField(characterField, fieldWhy);
    if (!display) return fail(fieldWhy);
    if (charset.display_[*code]) return fail(Substitute("code %s is listed twice", {line.substr(0, tab)}));
    if (!charset.codes_.emplace(*display, static_cast<std::uint8_t>(*code)).second)
      return fail(Substitute("'%s' is listed for two codes", {*display}));
    charset.display_[*code] = std::move(display);
  }
  const std::optional<std::uint8_t> space = charset.CodeOf(" ");
  if (!space) {
    why = "the table has no space, which pads every text";
    return std::nullopt;
  }
  charset.spaceCode_ = *space;
  return charset;
}

std::optional<Charset> Charset::Load(const std::string& path, std::string& why) {
  const std::optional<std::string> content = platform::ReadFileContent(path);
  if (!content) {
    why = "the file cannot be read";
    return std::nullopt;
  }
  return Parse(*content, why);
}

Charset Charset::LoadShipped() {
  const std::string path = platform::DataDir() + std::string(kFileName);
  std::string why;
  std::optional<Charset> charset = Load(path, why);
  if (!charset) platform::Fatal("The character table '" + path + "' cannot be used.\n" + why);
  return std::move(*charset);
}

std::optional<std::string_view> Charset::DisplayOf(std::uint8_t code) const {
  if (!display_[code]) return std::nullopt;
  return *display_[code];
}

std::optional<std::uint8_t> Charset::CodeOf(std::string_view character) const {
  auto found = codes_.find(character);
  if (found == codes_.end()) return std::nullopt;
  return found->second;
}

std::vector<std::uint16_t> Charset::Patterns(std::span<const std::uint8_t> bytes) const {
  std::vector<std::uint16_t> patterns;
  patterns.reserve(bytes.size());
  for (std::uint8_t code : bytes) patterns.push_back(patterns_[code]);
  return patterns;
}

std::string Charset::Decode(std::span<const std::uint8_t> bytes) const { return Decode(bytes, kUnknownCharacter); }

std::string Charset::Decode(std::span<const std::uint8_t> bytes, std::string_view unknown) const {
  std::string text;
  for (std::uint8_t code : bytes) text += DisplayOf(code).value_or(unknown);
  return text;
}

std::vector<std::uint8_t> Charset::CodesOf(std::string_view text, std::optional<std::size_t>& unknownAt) const {
  std::vector<std::uint8_t> codes;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t length = SequenceLength(static_cast<unsigned char>(text[at]));
    const std::optional<std::uint8_t> code =
        length == 0 || at + length > text.size() ? std::nullopt : CodeOf(text.substr(at, length));
    if (!code) {
      unknownAt = at;
      return {};
    }
    codes.push_back(*code);
    at += length;
  }
  return codes;
}

std::optional<std::vector<std::uint8_t>> Charset::Codes(std::string_view text) const {
  std::optional<std::size_t> unknownAt;
  std::vector<std::uint8_t> codes = CodesOf(text, unknownAt);
  if (unknownAt) return std::nullopt;
  return codes;
}

std::optional<std::uint8_t> Charset::CodeOfKey(char key) const {
  if (key == '.' && display_[kDotKeyCode]) return kDotKeyCode;
  return CodeOf(std::string_view(&key, 1));
}

Charset::Encoded Charset::Encode(std::string_view text, std::size_t width) const {
  Encoded result;
  std::vector<std::uint8_t> bytes = CodesOf(text, result.unknownAt);
  if (result.unknownAt) return result;
  if (bytes.size() > width) {
    result.tooLong = true;
    return result;
  }
  bytes.resize(width, spaceCode_);
  result.bytes = std::move(bytes);
  return result;
}
