#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "control/channelrecordcolumns.h"
#include "markup/fcache.h"
#include "model/eeprom.h"
#include "model/modeltype.h"

class cmcGTex;
class Charset;

// The channel list as comma-separated text, the exchange format of
// spreadsheets and other makers' programming software: export of the
// channels in use, and import that types the values a line changes into the
// channel cells as a user would, refusing what the cells would not take
// unchanged. The generic columns come first; the record's own columns after
// them carry what the generic ones cannot name.
class ChannelCsv {
 public:
  enum Column {
    kLocation,
    kName,
    kFrequency,
    kDuplex,
    kOffset,
    kTone,
    kRToneFreq,
    kCToneFreq,
    kDtcsCode,
    kDtcsPolarity,
    kMode,
    kTStep,
    kSkip,
    kPower,
    kComment,
    kBank,
    kColumnCount
  };
  static constexpr std::array<std::string_view, kColumnCount> kHeader = {
      "Location", "Name",         "Frequency", "Duplex", "Offset", "Tone",  "rToneFreq", "cToneFreq",
      "DtcsCode", "DtcsPolarity", "Mode",      "TStep",  "Skip",   "Power", "Comment",   "Bank"};
  using Row = std::array<std::string, kColumnCount>;

  struct Refusal {
    int line;  // of the text, from 1
    std::string reason;
  };
  struct ImportResult {
    std::vector<Refusal> refusals;
    int taken = 0;         // lines whose channel was written into the image
    bool written = false;  // the image was changed
  };

  ChannelCsv(cmcGTex& overlay, const Charset& charset, ModelType modelType);

  // One header line and one line per channel in use, in channel order.
  std::string Export(cmcEeprom& image);
  // Applies every line to `image`: nothing is written when a line is refused,
  // unless `skipRefused`, which writes the lines that were taken. A line for
  // a channel in use starts from that channel and changes only the columns
  // whose text differs from what the export writes for it; a new channel
  // starts from the initial record. Comma-, semicolon- and tab-separated text
  // is read, the latter two with decimal commas in number columns.
  ImportResult Import(cmcEeprom& image, std::string_view text, bool skipRefused);

  // The columns of one channel as the export writes them.
  Row RowOf(cmcEeprom& image, int channel);
  // The columns of a channel that is created with no values given.
  Row DefaultRow(cmcEeprom& image);

 private:
  cmcGTex& overlay_;
  cmcFCache choices_;
  const Charset& charset_;
  ModelType modelType_;
  ChannelRecordColumns recordColumns_;
};
