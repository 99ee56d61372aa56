#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "model/eeprom.h"
#include "model/memorymap.h"

// Keeps the raw area of an image on disk as text: a header line with the model
// and extra codes, the comment and map-revision lines, then data lines of
// hexadecimal bytes ("AAAACC" then CC bytes). Written with CR LF, read with LF
// or CR LF. Every failure is returned as a code and shown through the reporter.
class cmcCloneFile {
 public:
  enum Error {
    kOk = 0,
    kFileOpen = 1,
    kFileAccess = 2,
    kModel = 3,
    kExtra = 4,
    kMapRev = 5,
    kFormat = 6,
    kCoverage = 7,
    kData = 8,
    kNewer = 9,
  };
  static constexpr int kBytesPerLine = 16;

  using Ranges = std::vector<memmap::AddressRange>;
  // True to accept the map revision read so far (-1 when the file has none).
  using MapRevCheck = std::function<bool(int mapRevision)>;
  // True to accept; on refusal `error` is the result.
  using HeaderCheck = std::function<bool(int modelCode, int extraCode, Error& error)>;
  // Shows the message of a non-zero result.
  using Reporter = std::function<void(Error error)>;

  // Records the image (not owned) and clears the record of loaded bytes.
  void AttachImage(cmcEeprom* image);
  void SetModelCode(int code) { modelCode_ = code; }
  void SetExtraCode(int code) { extraCode_ = code; }
  void SetComment(std::string_view comment);
  void SetMapRevision(int revision) { mapRevision_ = revision; }
  void SetMapRevCheck(MapRevCheck check) { mapRevCheck_ = std::move(check); }
  void SetHeaderCheck(HeaderCheck check) { headerCheck_ = std::move(check); }
  void SetReporter(Reporter reporter) { reporter_ = std::move(reporter); }

  int ModelCode() const { return modelCode_; }
  int ExtraCode() const { return extraCode_; }
  int MapRevision() const { return mapRevision_; }

  // Replaces the file at `path` whole, or leaves it untouched on failure.
  [[nodiscard]] Error Write(const std::string& path, const Ranges& ranges);
  // The text that Write puts on disk.
  std::string Format(const Ranges& ranges) const;
  // With ranges, the coverage check decides at the end. A failed read leaves the
  // image unchanged.
  [[nodiscard]] Error Read(const std::string& path, const Ranges* ranges);
  // Parses file content into the image, as Read does after opening the file.
  [[nodiscard]] Error Parse(std::string_view content, const Ranges* ranges);
  // 0 when the loaded bytes are exactly the ranges, 8 when some lie outside
  // them, 7 when some are missing.
  [[nodiscard]] Error CoverageCheck(const Ranges* ranges);

  // The comment line of a save: the two clone comment fields of the work area,
  // unprintable bytes as spaces, trailing blanks trimmed.
  static std::string CommentOf(const cmcEeprom& image);

 private:
  Error Report(Error error) const;
  Error ParseLines(std::string_view content, cmcEeprom& target);
  Error ParseDataLine(std::string_view line, cmcEeprom& target);
  std::vector<bool> Bitmap(const Ranges& ranges) const;

  cmcEeprom* image_ = nullptr;
  int modelCode_ = 0;
  int extraCode_ = 0;
  std::string comment_;
  int mapRevision_ = -1;
  std::vector<bool> loaded_;
  MapRevCheck mapRevCheck_;
  HeaderCheck headerCheck_;
  Reporter reporter_;
};
