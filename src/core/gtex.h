#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// Reads an overlay: a text of blocks, each opened by a header line "#NAME" and
// read line by line until a line that starts with '#'. The index is built only
// as far as lookups need it, and each block remembers where its lines start, so
// reading the lines of a block in any order costs one line read each.
class cmcGTex {
 public:
  // Longest line piece handed out; a longer line arrives as several lines.
  static constexpr std::size_t kMaxLineBytes = 8191;

  cmcGTex();
  ~cmcGTex();
  cmcGTex(const cmcGTex&) = delete;
  cmcGTex& operator=(const cmcGTex&) = delete;

  // Discards index and source, and reads the file lazily from the first lookup.
  bool Open(const std::string& fileName);
  // As Open, over the bytes of an overlay file already in memory: every line
  // reads exactly as it would from a file holding those bytes.
  bool OpenText(std::string text);
  // A source of lines in memory; only for a reader that has no source yet.
  bool OpenLines(std::vector<std::string> lines);

  // Line n (from 0) of the named block, without its line end. It reads on past
  // the block's end mark. A missing block or line is the fatal overlay error.
  std::string GetLine(std::string_view indexName, std::size_t n);
  // The lines of the block up to the first line that starts with '#', joined by "\n".
  std::string GetBlockText(std::string_view indexName);
  // Whether the overlay has the block, for a caller that reports a missing one itself.
  bool HasBlock(std::string_view indexName) { return Find(indexName) != nullptr; }

  // Field i (from 0) of text split at every separator; nothing when the text has fewer fields.
  static std::optional<std::string> GetField(std::string_view text, char separator, std::size_t i);
  // Every '&' doubled, so a caption shows it instead of taking it as an accelerator mark.
  static std::string DoubleAmpersands(std::string_view text);
  // Removes spaces and TABs at both ends.
  static void TrimBlanks(std::string& text);

 private:
  class Source;
  class FileSource;
  class TextSource;
  class MemorySource;
  struct Block {
    std::vector<std::uint64_t> lineStarts;  // lines found so far; [0] is the block's line 0
  };

  void Reset(std::unique_ptr<Source> source);
  Block* Find(std::string_view indexName);
  Block* IndexUntil(std::string_view indexName);
  std::string ReadLine(std::string_view indexName, Block& block, std::size_t n);

  std::unique_ptr<Source> source_;
  bool opened_ = false;
  bool moreToIndex_ = true;
  std::uint64_t scanPosition_ = 0;
  // Keyed by name; the first header of a name wins, later duplicates are never entered.
  std::unordered_map<std::string, Block> index_;
};

// The reader of the help overlay: a file source only.
class cmcHelpGTex : private cmcGTex {
 public:
  using cmcGTex::DoubleAmpersands;
  using cmcGTex::GetBlockText;
  using cmcGTex::GetField;
  using cmcGTex::GetLine;
  using cmcGTex::Open;
  using cmcGTex::TrimBlanks;
};
