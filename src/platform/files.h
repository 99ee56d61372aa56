#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

enum class FileWriteResult { kOk, kOpenFailed, kWriteFailed };

// Replaces `path` with `content` or leaves it as it was: the content goes to a
// temporary file in the same folder, every write, the flush to disk and the
// close are checked, and only then is it renamed over the target. A new file
// gets the usual permissions; a replaced file keeps its own.
FileWriteResult WriteFileAtomically(const std::string& path, std::string_view content);

// No file this program reads comes near this size; a longer source (a huge or
// endless file such as a device) is refused instead of filling memory.
inline constexpr std::size_t kMaxReadBytes = 16 * 1024 * 1024;

// The whole file, or nothing when it cannot be opened or read or is longer
// than kMaxReadBytes.
std::optional<std::string> ReadFileContent(const std::string& path);

}  // namespace platform
