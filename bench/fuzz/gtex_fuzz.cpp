// libFuzzer target: any bytes as an overlay file, read from memory by the
// overlay reader, and its lines and blocks compared with a plain reading of the
// same bytes (cut at LF, one CR before it dropped, a longer line in pieces; the
// first header of a name indexed, nothing after the end mark).
//
// Findings: a crash or sanitizer report, a line or block text that differs
// from the plain reading, and the fatal stop. The target asks only for blocks
// the plain reading finds and for lines that exist, and for a block's text only
// where a line starting with '#' ends it, so the reader has no reason to stop.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/gtex.h"
#include "fuzz_support.h"

namespace {

std::vector<std::string_view> PlainLines(std::string_view text) {
  constexpr std::size_t kMax = cmcGTex::kMaxLineBytes;
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t lf = text.find('\n');
    const bool ended = lf != std::string_view::npos;
    const std::string_view line = text.substr(0, lf);
    const std::string_view shown = ended && line.ends_with('\r') ? line.substr(0, line.size() - 1) : line;
    if (shown.size() <= kMax) {
      lines.push_back(shown);
      text.remove_prefix(ended ? lf + 1 : text.size());
    } else {
      lines.push_back(line.substr(0, kMax));
      text.remove_prefix(kMax);
    }
  }
  return lines;
}

struct PlainBlock {
  std::string name;
  std::size_t header;  // the line index of its header
};

std::vector<PlainBlock> PlainIndex(const std::vector<std::string_view>& lines) {
  std::vector<PlainBlock> blocks;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].size() < 2 || lines[i][0] != '#') continue;
    const std::string_view name = lines[i].substr(1);
    bool known = false;
    for (const PlainBlock& block : blocks) known = known || block.name == name;
    if (!known) blocks.push_back({std::string(name), i});
    if (name == "End_Of_Ovl") break;
  }
  return blocks;
}

// The block's text when a line starting with '#' ends it; none otherwise.
std::optional<std::string> PlainBlockText(const std::vector<std::string_view>& lines, std::size_t header) {
  std::string text;
  for (std::size_t i = header + 1; i < lines.size(); ++i) {
    if (!lines[i].empty() && lines[i][0] == '#') return text;
    if (i > header + 1) text += '\n';
    text += lines[i];
  }
  return std::nullopt;
}

std::uint64_t Fnv1a(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return hash;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::TreatFatalStopAsFinding();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string_view> lines = PlainLines(text);
  const std::vector<PlainBlock> blocks = PlainIndex(lines);
  if (blocks.empty()) return 0;

  cmcGTex reader;
  reader.OpenText(std::string(text));
  // The order of the lookups decides how far the lazy index has got; it follows the input.
  std::mt19937_64 order(Fnv1a(text));
  constexpr int kLookups = 48;
  for (int i = 0; i < kLookups; ++i) {
    const PlainBlock& block = blocks[order() % blocks.size()];
    const std::size_t available = lines.size() - block.header - 1;
    if (order() % 4 == 0) {
      if (std::optional<std::string> expected = PlainBlockText(lines, block.header)) {
        fuzz::Require(reader.GetBlockText(block.name) == *expected, "block text differs from the plain reading");
      }
    } else if (available > 0) {
      // Mostly the first lines, as the program asks; sometimes anywhere in the rest of the text.
      const std::size_t n = order() % 2 == 0 ? order() % std::min<std::size_t>(available, 8) : order() % available;
      fuzz::Require(reader.GetLine(block.name, n) == lines[block.header + 1 + n],
                    "line differs from the plain reading");
    }
  }
  return 0;
}
