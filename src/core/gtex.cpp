#include "core/gtex.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "platform/fatal.h"

// Where a source's lines come from. A position is opaque to the reader: a byte
// offset in a file or text, a line number in a list of lines.
class cmcGTex::Source {
 public:
  virtual ~Source() = default;
  // False when the source cannot be read at all.
  virtual bool Open() = 0;
  // Puts the line at `position` into `text`, without its line end, and returns
  // the position of the next line; nothing at the end of the source.
  virtual std::optional<std::uint64_t> ReadLine(std::uint64_t position, std::string& text) = 0;
};

namespace {

// The longest piece plus CR LF: the bytes a line read looks at.
constexpr std::size_t kLongestRead = cmcGTex::kMaxLineBytes + 2;

// Puts the line at `begin` into `text`, without its line end, and returns the
// bytes it takes. `end` lies kLongestRead bytes or more past `begin`, or at the
// end of the source. A line ends at LF, and a CR just before the LF is dropped,
// so LF and CR LF texts read alike.
std::size_t CutLine(const char* begin, const char* end, std::string& text) {
  const std::size_t available = static_cast<std::size_t>(end - begin);
  const void* lf = std::memchr(begin, '\n', std::min(available, kLongestRead));
  std::size_t length = available;  // the line runs to the end of the source
  std::size_t taken = available;
  if (lf != nullptr) {
    length = static_cast<std::size_t>(static_cast<const char*>(lf) - begin);
    taken = length + 1;
    if (length > 0 && begin[length - 1] == '\r') --length;
  }
  // A longer line is handed out in pieces. A piece of exactly the longest size
  // followed by its line end is the whole line, not a line and an empty one.
  if (length > cmcGTex::kMaxLineBytes) length = taken = cmcGTex::kMaxLineBytes;
  text.assign(begin, length);
  return taken;
}

}  // namespace

// A file read through a window of its bytes.
class cmcGTex::FileSource final : public cmcGTex::Source {
 public:
  explicit FileSource(std::string fileName) : fileName_(std::move(fileName)) {}
  ~FileSource() override {
    if (file_ != nullptr) std::fclose(file_);
  }

  bool Open() override {
    // Only a regular file has an end to index up to: a device would be read
    // forever and a FIFO would block the open itself.
    struct stat info;
    if (stat(fileName_.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    file_ = std::fopen(fileName_.c_str(), "rb");
    // The window is the buffer; a second one would only copy every byte twice.
    if (file_ != nullptr) std::setvbuf(file_, nullptr, _IONBF, 0);
    return file_ != nullptr;
  }

  std::optional<std::uint64_t> ReadLine(std::uint64_t position, std::string& text) override {
    if (!Holds(position) && !Fill(position)) return std::nullopt;
    const char* const begin = window_.data() + (position - windowStart_);
    const char* const end = window_.data() + windowSize_;
    if (begin >= end) return std::nullopt;
    return position + CutLine(begin, end, text);
  }

 private:
  // Small enough that a jump to a far block costs little, large enough for two longest lines.
  static constexpr std::size_t kWindowBytes = 16 * 1024;

  bool Holds(std::uint64_t position) const {
    if (position < windowStart_) return false;
    const std::uint64_t windowEnd = windowStart_ + windowSize_;
    return atEnd_ ? position <= windowEnd : position + kLongestRead <= windowEnd;
  }

  bool Fill(std::uint64_t position) {
    if (file_ == nullptr || std::fseek(file_, static_cast<long>(position), SEEK_SET) != 0) return false;
    window_.resize(kWindowBytes);
    windowStart_ = position;
    windowSize_ = std::fread(window_.data(), 1, window_.size(), file_);
    atEnd_ = windowSize_ < window_.size();
    return true;
  }

  std::string fileName_;
  std::FILE* file_ = nullptr;
  std::vector<char> window_;
  std::uint64_t windowStart_ = 0;
  std::size_t windowSize_ = 0;
  bool atEnd_ = false;
};

// The bytes of an overlay file held in memory; the position is a byte offset,
// as in the file.
class cmcGTex::TextSource final : public cmcGTex::Source {
 public:
  explicit TextSource(std::string text) : text_(std::move(text)) {}

  bool Open() override { return true; }

  std::optional<std::uint64_t> ReadLine(std::uint64_t position, std::string& text) override {
    if (position >= text_.size()) return std::nullopt;
    const char* const begin = text_.data() + position;
    return position + CutLine(begin, text_.data() + text_.size(), text);
  }

 private:
  std::string text_;
};

// Lines handed over by the program; the position is the line number. A line
// is cut at its first LF and at the longest piece.
class cmcGTex::MemorySource final : public cmcGTex::Source {
 public:
  explicit MemorySource(std::vector<std::string> lines) : lines_(std::move(lines)) {}

  bool Open() override { return true; }

  std::optional<std::uint64_t> ReadLine(std::uint64_t position, std::string& text) override {
    if (position >= lines_.size()) return std::nullopt;
    const std::string_view line = std::string_view(lines_[position]).substr(0, kMaxLineBytes);
    text.assign(line.substr(0, line.find('\n')));
    return position + 1;
  }

 private:
  std::vector<std::string> lines_;
};

namespace {

constexpr std::string_view kEndOfOverlay = "End_Of_Ovl";

[[noreturn]] void IndexNotFound(std::string_view indexName) {
  platform::Fatal("GTEX Error !\nThe index '" + std::string(indexName) + "' was not found.");
}

bool IsHeader(std::string_view line) { return line.size() >= 2 && line[0] == '#'; }
bool EndsBlock(std::string_view line) { return !line.empty() && line[0] == '#'; }

}  // namespace

cmcGTex::cmcGTex() = default;
cmcGTex::~cmcGTex() = default;

bool cmcGTex::Open(const std::string& fileName) {
  Reset(std::make_unique<FileSource>(fileName));
  return true;
}

bool cmcGTex::OpenText(std::string text) {
  Reset(std::make_unique<TextSource>(std::move(text)));
  return true;
}

void cmcGTex::Reset(std::unique_ptr<Source> source) {
  source_ = std::move(source);
  opened_ = false;
  moreToIndex_ = true;
  scanPosition_ = 0;
  index_.clear();
}

bool cmcGTex::OpenLines(std::vector<std::string> lines) {
  if (source_ != nullptr) return false;
  source_ = std::make_unique<MemorySource>(std::move(lines));
  return true;
}

std::string cmcGTex::GetLine(std::string_view indexName, std::size_t n) {
  Block* block = Find(indexName);
  if (block == nullptr) IndexNotFound(indexName);
  return ReadLine(indexName, *block, n);
}

std::string cmcGTex::GetBlockText(std::string_view indexName) {
  Block* block = Find(indexName);
  if (block == nullptr) IndexNotFound(indexName);
  std::string text;
  for (std::size_t n = 0;; ++n) {
    std::string line = ReadLine(indexName, *block, n);
    if (EndsBlock(line)) return text;
    if (n > 0) text += '\n';
    text += line;
  }
}

cmcGTex::Block* cmcGTex::Find(std::string_view indexName) {
  if (source_ == nullptr) return nullptr;
  if (!opened_) {
    opened_ = true;
    moreToIndex_ = source_->Open();
  }
  auto found = index_.find(std::string(indexName));
  if (found != index_.end()) return &found->second;
  return IndexUntil(indexName);
}

cmcGTex::Block* cmcGTex::IndexUntil(std::string_view indexName) {
  std::string line;
  while (moreToIndex_) {
    std::optional<std::uint64_t> next = source_->ReadLine(scanPosition_, line);
    if (!next) {
      moreToIndex_ = false;
      break;
    }
    scanPosition_ = *next;
    if (!IsHeader(line)) continue;
    std::string_view name = std::string_view(line).substr(1);
    if (name == kEndOfOverlay) moreToIndex_ = false;
    auto [entry, added] = index_.try_emplace(std::string(name), Block{{*next}});
    if (added && name == indexName) return &entry->second;
  }
  return nullptr;
}

std::string cmcGTex::ReadLine(std::string_view indexName, Block& block, std::size_t n) {
  std::string text;
  // Walk on from the last line start known, recording each start on the way.
  while (block.lineStarts.size() <= n) {
    std::optional<std::uint64_t> next = source_->ReadLine(block.lineStarts.back(), text);
    if (!next) IndexNotFound(indexName);
    block.lineStarts.push_back(*next);
  }
  std::optional<std::uint64_t> next = source_->ReadLine(block.lineStarts[n], text);
  if (!next) IndexNotFound(indexName);
  if (block.lineStarts.size() == n + 1) block.lineStarts.push_back(*next);
  return text;
}

std::optional<std::string> cmcGTex::GetField(std::string_view text, char separator, std::size_t i) {
  std::size_t start = 0;
  for (; i > 0; --i) {
    std::size_t at = text.find(separator, start);
    if (at == std::string_view::npos) return std::nullopt;
    start = at + 1;
  }
  return std::string(text.substr(start, text.find(separator, start) - start));
}

std::string cmcGTex::DoubleAmpersands(std::string_view text) {
  std::string doubled;
  doubled.reserve(text.size());
  for (char c : text) {
    if (c == '&') doubled += '&';
    doubled += c;
  }
  return doubled;
}

void cmcGTex::TrimBlanks(std::string& text) {
  constexpr std::string_view kBlanks = " \t";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) {
    text.clear();
    return;
  }
  text.erase(text.find_last_not_of(kBlanks) + 1);
  text.erase(0, first);
}
