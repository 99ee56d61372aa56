#include "model/clonefile.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "core/textutil.h"
#include "platform/files.h"

namespace {

constexpr std::string_view kCommentKey = "Comment=";
constexpr std::string_view kMapRevLine = "#MapRev=";
constexpr std::string_view kLineEnd = "\r\n";
constexpr int kHeaderDigits = 8;
constexpr int kMinDataLine = 8;    // address, count and one byte
constexpr int kMaxDataLine = 516;  // 255 bytes

bool IsHex(char c) { return HexDigitValue(c).has_value(); }

// Digits the caller has already checked.
int HexValue(std::string_view digits) { return static_cast<int>(HexNumber(digits).value_or(0)); }

void AppendHex(std::string& out, int value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
}

// The revision of a map-revision line: decimal digits after an optional '-'
// (a file object that was given no revision writes -1), which trailing blanks
// may follow, of a value an int holds. Nothing for any other text: no digits, a
// letter or a number too long is a damaged header, never a value cut to fit.
std::optional<int> MapRevisionOf(std::string_view text) {
  const std::size_t end = text.find_last_not_of(" \t");
  const std::string_view number = text.substr(0, end == std::string_view::npos ? 0 : end + 1);
  int revision = 0;
  const auto [stop, error] = std::from_chars(number.data(), number.data() + number.size(), revision);
  if (error != std::errc() || stop != number.data() + number.size()) return std::nullopt;
  return revision;
}

// Splits at LF and drops the CR of a CR LF. A last line without an end still counts.
std::vector<std::string_view> Lines(std::string_view content) {
  std::vector<std::string_view> lines;
  while (!content.empty()) {
    std::size_t end = content.find('\n');
    std::string_view line = content.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    lines.push_back(line);
    content.remove_prefix(end == std::string_view::npos ? content.size() : end + 1);
  }
  return lines;
}

// The ranges a list names: each while first <= last and both inside the image.
template <typename Visit>
void ForEachValidRange(const cmcCloneFile::Ranges& ranges, const cmcEeprom& image, Visit visit) {
  for (auto [first, last] : ranges) {
    if (first > last || !image.IsValidAddress(first) || !image.IsValidAddress(last)) return;
    visit(first, last);
  }
}

}  // namespace

void cmcCloneFile::AttachImage(cmcEeprom* image) {
  image_ = image;
  loaded_.assign(image != nullptr ? static_cast<std::size_t>(image->Size()) : 0, false);
}

void cmcCloneFile::SetComment(std::string_view comment) {
  // A line end inside the comment would end the line early and break the file.
  comment_ = comment;
  std::replace_if(
      comment_.begin(), comment_.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
}

cmcCloneFile::Error cmcCloneFile::Report(Error error) const {
  if (error != kOk && reporter_) reporter_(error);
  return error;
}

std::string cmcCloneFile::Format(const Ranges& ranges) const {
  std::string text;
  text.reserve(80 * 1024);
  AppendHex(text, modelCode_, 4);
  AppendHex(text, extraCode_, 4);
  text.append(kLineEnd).append("#").append(kCommentKey).append(comment_).append(kLineEnd);
  text.append(kMapRevLine).append(std::to_string(mapRevision_)).append(kLineEnd);
  if (image_ == nullptr) return text;
  ForEachValidRange(ranges, *image_, [&](int first, int last) {
    for (int address = first; address <= last;) {
      int count = std::min(kBytesPerLine - address % kBytesPerLine, last - address + 1);
      AppendHex(text, address, 4);
      AppendHex(text, count, 2);
      for (int i = 0; i < count; ++i) AppendHex(text, image_->GetByte(address + i), 2);
      text.append(kLineEnd);
      address += count;
    }
  });
  return text;
}

cmcCloneFile::Error cmcCloneFile::Write(const std::string& path, const Ranges& ranges) {
  switch (platform::WriteFileAtomically(path, Format(ranges))) {
  case platform::FileWriteResult::kOk: return kOk;
  case platform::FileWriteResult::kOpenFailed: return Report(kFileOpen);
  case platform::FileWriteResult::kWriteFailed: break;
  }
  return Report(kFileAccess);
}

cmcCloneFile::Error cmcCloneFile::Read(const std::string& path, const Ranges* ranges) {
  std::optional<std::string> content = platform::ReadFileContent(path);
  if (!content) return Report(kFileOpen);
  return Parse(*content, ranges);
}

cmcCloneFile::Error cmcCloneFile::Parse(std::string_view content, const Ranges* ranges) {
  if (image_ == nullptr) return Report(kData);
  std::fill(loaded_.begin(), loaded_.end(), false);
  // The image changes only when the whole file is good.
  cmcEeprom target = *image_;
  Error result = ParseLines(content, target);
  if (result == kOk && ranges != nullptr) result = CoverageCheck(ranges);
  if (result == kOk) *image_ = std::move(target);
  return Report(result);
}

cmcCloneFile::Error cmcCloneFile::ParseLines(std::string_view content, cmcEeprom& target) {
  std::vector<std::string_view> lines = Lines(content);
  if (lines.empty()) return kFormat;
  std::string_view header = lines.front();
  if (header.size() != kHeaderDigits ||
      !std::all_of(header.begin(), header.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return kFormat;
  }
  int model = HexValue(header.substr(0, 4));
  int extra = HexValue(header.substr(4, 4));
  if (headerCheck_) {
    Error error = kModel;
    if (!headerCheck_(model, extra, error)) return error;
  } else if (model != modelCode_) {
    return kModel;
  } else if (extra != extraCode_) {
    return kExtra;
  }

  int mapRevision = -1;
  bool mapRevChecked = false;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    std::string_view line = lines[i];
    if (line.starts_with('#')) {
      if (line.starts_with(kMapRevLine)) {
        // The revision belongs to the header: after the first data line it would come too late for its check.
        std::optional<int> revision = MapRevisionOf(line.substr(kMapRevLine.size()));
        if (mapRevChecked || !revision) return kFormat;
        mapRevision = *revision;
      }
      continue;
    }
    if (!mapRevChecked) {
      if (!mapRevCheck_ || !mapRevCheck_(mapRevision)) return kMapRev;
      mapRevChecked = true;
    }
    if (Error error = ParseDataLine(line, target); error != kOk) return error;
  }
  if (mapRevision != -1) mapRevision_ = mapRevision;
  return kOk;
}

cmcCloneFile::Error cmcCloneFile::ParseDataLine(std::string_view line, cmcEeprom& target) {
  if (line.size() < kMinDataLine || line.size() > kMaxDataLine || !std::all_of(line.begin(), line.end(), IsHex)) {
    return kFormat;
  }
  int address = HexValue(line.substr(0, 4));
  int count = HexValue(line.substr(4, 2));
  if (line.size() != 6 + 2 * static_cast<std::size_t>(count)) return kFormat;
  if (!target.IsValidRange(address, count)) return kData;
  for (int i = 0; i < count; ++i) {
    target.SetByte(address + i, static_cast<std::uint8_t>(HexValue(line.substr(6 + 2 * i, 2))));
    loaded_[static_cast<std::size_t>(address + i)] = true;
  }
  return kOk;
}

std::vector<bool> cmcCloneFile::Bitmap(const Ranges& ranges) const {
  std::vector<bool> bitmap(loaded_.size(), false);
  ForEachValidRange(ranges, *image_,
                    [&](int first, int last) { std::fill(bitmap.begin() + first, bitmap.begin() + last + 1, true); });
  return bitmap;
}

cmcCloneFile::Error cmcCloneFile::CoverageCheck(const Ranges* ranges) {
  if (ranges == nullptr || image_ == nullptr) return kCoverage;
  std::vector<bool> required = Bitmap(*ranges);
  if (required == loaded_) return kOk;
  for (std::size_t a = 0; a < loaded_.size(); ++a) {
    if (loaded_[a] && !required[a]) return kData;
  }
  return kCoverage;
}

std::string cmcCloneFile::CommentOf(const cmcEeprom& image) {
  auto field = [&](int address) {
    std::string text(16, ' ');
    for (int i = 0; i < 16; ++i) {
      std::uint8_t byte = image.IsValidAddress(address + i) ? image.GetByte(address + i) : ' ';
      if (byte >= 0x20 && byte <= 0x7E) text[static_cast<std::size_t>(i)] = static_cast<char>(byte);
    }
    return text;
  };
  auto trimEnd = [](std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
  };
  return trimEnd(trimEnd(field(memmap::addr::kCommentLine1)) + field(memmap::addr::kCommentLine2));
}
