#include "control/channelcsv.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <utility>

#include "core/csv.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "links/celllinks.h"
#include "links/channelops.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/charset.h"
#include "model/chlayout.h"
#include "model/memorymap.h"
#include "sheet/headless.h"

namespace {

using Row = ChannelCsv::Row;

// Grid snaps within this distance are taken; anything further is a changed frequency.
constexpr std::int64_t kSnapTolerance = 1000;
constexpr std::string_view kNoToneFrequency = "88.5";
constexpr std::string_view kNoDtcsCode = "023";
constexpr std::array<std::string_view, 4> kPolarities = {"NN", "NR", "RN", "RR"};
// Tone column texts; the land-mobile tone mode 4 (reverse code squelch) has no
// text of its own and is written as a code squelch.
enum ToneMode { kToneOff, kToneTransmit, kToneSquelch, kToneCode, kToneCross, kToneModeCount };
constexpr std::array<std::string_view, kToneModeCount> kToneModes = {"", "Tone", "TSQL", "DTCS", "Cross"};

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  return out;
}

std::string Trimmed(std::string_view text) {
  std::string out(text);
  cmcGTex::TrimBlanks(out);
  return out;
}

bool SameWord(std::string_view a, std::string_view b) { return Upper(Trimmed(a)) == Upper(Trimmed(b)); }

std::string OctalCode(int code) {
  char text[8];
  std::snprintf(text, sizeof text, "%03o", code & 0x1FF);
  return text;
}

// A number as the export writes it: no trailing zeros after the point.
std::string PlainNumber(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.4f", value);
  std::string out = text;
  while (out.back() == '0') out.pop_back();
  if (out.back() == '.') out.pop_back();
  return out;
}

std::optional<std::int64_t> WholeNumber(std::string_view text) {
  std::string trimmed = Trimmed(text);
  if (trimmed.empty() || trimmed.size() > 9 ||
      !std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  return std::stoll(trimmed);
}

// A decimal number of megahertz in hertz.
std::optional<std::int64_t> Hertz(std::string_view text) {
  std::optional<double> megahertz = ParseDecimalText(Trimmed(text));
  if (!megahertz || *megahertz < 0 || *megahertz > 100000) return std::nullopt;
  return RoundHalfAway(*megahertz * 1000000.0);
}

bool BanksShown(cmcGTex& overlay) {
  return Trimmed(overlay.GetLine(gi::GI_Tree_Branch_Mch_BankOperation, 0)) != "None";
}

std::vector<std::string> BlockLines(cmcGTex& overlay, std::string_view block) {
  std::vector<std::string> lines;
  std::string text = overlay.GetBlockText(block);
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = std::min(text.find('\n', start), text.size());
    lines.push_back(Trimmed(text.substr(start, end - start)));
    start = end + 1;
  }
  return lines;
}

struct Choice {
  std::int32_t value;
  std::string text;
};

// Every value a choice list offers, in its column order.
std::vector<Choice> ChoicesOf(cmcFCache& choices, std::string_view list, int column) {
  std::vector<Choice> all;
  choices.TextOf(list, column, 0);  // builds the entry that stepping walks
  std::optional<std::int32_t> first = choices.Step(list, column, INT32_MIN, 1);
  for (std::optional<std::int32_t> value = first; value && all.size() < 4096;) {
    all.push_back({*value, choices.TextOf(list, column, *value)});
    value = choices.Step(list, column, *value, 1);
    if (value == first) break;
  }
  return all;
}

const Choice* FindValue(const std::vector<Choice>& all, std::int32_t value) {
  auto found = std::find_if(all.begin(), all.end(), [value](const Choice& c) { return c.value == value; });
  return found == all.end() ? nullptr : &*found;
}

const Choice* FindText(const std::vector<Choice>& all, std::string_view text) {
  auto found = std::find_if(all.begin(), all.end(), [text](const Choice& c) { return SameWord(c.text, text); });
  return found == all.end() ? nullptr : &*found;
}

std::string Joined(const std::vector<Choice>& all) {
  std::string out;
  for (const Choice& choice : all) out += (out.empty() ? "" : ", ") + choice.text;
  return out;
}

// The overlay's lists behind the columns that name a choice.
struct Vocabulary {
  Vocabulary(cmcGTex& overlay, cmcFCache& choices)
      : tones(BlockLines(overlay, gi::GI_AppItem_Ctcss)),
        codes(ChoicesOf(choices, gi::GI_Sheet_Sel_Mch_DTCS, cl::Flex0)),
        powers(ChoicesOf(choices, gi::GI_Sheet_Sel_Mch_RfPwr, cl::Flex0)) {
    // A step's text begins with its number of kilohertz ("12.5 kHz").
    for (const Choice& step : ChoicesOf(choices, gi::GI_Sheet_Sel_Mch_CH_TS, cl::Flex0)) {
      std::string number = step.text.substr(0, step.text.find(' '));
      if (std::optional<double> kilohertz = ParseDecimalText(number))
        steps.push_back({step.value, PlainNumber(*kilohertz)});
    }
  }

  std::string ToneText(int index) const {
    return index >= 0 && static_cast<std::size_t>(index) < tones.size() ? tones[index] : std::string(kNoToneFrequency);
  }
  // The index of a tone given in hertz, or nothing when it is not a standard tone.
  std::optional<int> ToneIndex(std::string_view hertz) const {
    std::optional<double> value = ParseDecimalText(Trimmed(hertz));
    if (!value) return std::nullopt;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", *value);
    auto found = std::find(tones.begin(), tones.end(), text);
    if (found == tones.end()) return std::nullopt;
    return static_cast<int>(found - tones.begin());
  }

  std::vector<std::string> tones;
  std::vector<Choice> codes;
  std::vector<Choice> powers;
  std::vector<Choice> steps;
};

// The links of the channel sheet of a model type.
struct SheetLinks {
  int cellType;
  int frequency;
  int duplex;
  int transmitInhibit;
  int offset;
  int name;
  int scan;
  int step;
  int bandwidth;
  int power;
};
constexpr SheetLinks kLandMobileSheet{
    ct::CT_Mch,      cl::CL_Mch_Operating_Freq, cl::CL_Mch_Dup, cl::CL_Mch_TxInh, cl::CL_Mch_Offset_Freq,
    cl::CL_Mch_Text, cl::CL_Mch_Scan,           cl::CL_Mch_TS,  cl::CL_Mch_WNM,   cl::CL_Mch_RfPo};
constexpr SheetLinks kPmrSheet{
    ct::CT_Mch_Pmr446,   cl::CL_Mch_FreqR_Pmr446, cl::CL_Mch_Dup, cl::CL_Mch_TxInh_Pmr, cl::CL_Mch_Offset_Freq,
    cl::CL_Mch_Text_Pmr, cl::CL_Mch_Scan_Pmr,     cl::CL_Mch_TS,  cl::CL_Mch_WNM_Pmr,   cl::CL_Mch_RfPo_Pmr};
const SheetLinks& SheetOf(ModelType type) { return IsLandMobile(type) ? kLandMobileSheet : kPmrSheet; }

// The tone columns of a PMR channel, from its transmit and receive settings.
void PmrToneColumns(const ToneSetting& transmit, const ToneSetting& receive, const Vocabulary& words, Row& row) {
  auto isTone = [](const ToneSetting& t) { return t.on && !t.digital; };
  auto isCode = [](const ToneSetting& t) { return t.on && t.digital; };
  ToneMode mode = kToneCross;
  if (!transmit.on && !receive.on) {
    mode = kToneOff;
  } else if (isTone(transmit) && !receive.on) {
    mode = kToneTransmit;
  } else if (isTone(transmit) && isTone(receive) && transmit.index == receive.index) {
    mode = kToneSquelch;
  } else if (isCode(transmit) && isCode(receive) && transmit.code == receive.code) {
    mode = kToneCode;
  }
  row[ChannelCsv::kTone] = kToneModes[mode];
  row[ChannelCsv::kRToneFreq] = isTone(transmit) ? words.ToneText(transmit.index) : std::string(kNoToneFrequency);
  row[ChannelCsv::kCToneFreq] = isTone(receive) ? words.ToneText(receive.index) : std::string(kNoToneFrequency);
  const ToneSetting* coded = isCode(transmit) ? &transmit : isCode(receive) ? &receive : nullptr;
  row[ChannelCsv::kDtcsCode] = coded ? OctalCode(coded->code) : std::string(kNoDtcsCode);
  row[ChannelCsv::kDtcsPolarity] =
      kPolarities[(isCode(transmit) && transmit.inverted ? 2 : 0) + (isCode(receive) && receive.inverted ? 1 : 0)];
}

// The PMR kinds keep their tone settings in the record; the dPMR446 kind only
// carries them in its option bytes.
std::pair<ToneSetting, ToneSetting> TransmitAndReceiveTones(const datCh& record) {
  if (chlayout::kPmrKinds & chlayout::Kind(record.kind())) return {record.ctoneT, record.ctoneR};
  return {ToneSetting::Decode(&record.optionRecord[chlayout::kOptionToneT]),
          ToneSetting::Decode(&record.optionRecord[chlayout::kOptionToneR])};
}

void LandMobileToneColumns(const datCh& record, const Vocabulary& words, Row& row) {
  int mode = record.tone == 4 ? kToneCode : record.tone;
  row[ChannelCsv::kTone] = mode < kToneCross ? kToneModes[mode] : kToneModes[kToneOff];
  row[ChannelCsv::kRToneFreq] = words.ToneText(record.toneFreq);
  row[ChannelCsv::kCToneFreq] = words.ToneText(record.tsqlFreq);
  const Choice* code = FindValue(words.codes, record.dtcs);
  row[ChannelCsv::kDtcsCode] = code ? code->text : std::string(kNoDtcsCode);
  row[ChannelCsv::kDtcsPolarity] = kPolarities[record.dtcsPolarity & 3];
}

std::string NameText(const datCh& record, const Charset& charset) {
  std::string name =
      charset.Decode(std::span(reinterpret_cast<const std::uint8_t*>(record.name.data()), record.name.size()));
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

// Types into the cells of one channel row as a user would.
class RowTypist {
 public:
  RowTypist(CellLinks& links, int cellType, int row, int sheetBank)
      : links_(links), cellType_(cellType), row_(row), sheetBank_(sheetBank) {}

  // Commits a text in the cell and returns what the cell shows afterwards.
  std::string Type(int link, const std::string& text) {
    return Run(link, [&text](cmcCellCapsule& request) {
      request.editResult = kTextCommitted;
      request.editedText = text;
    });
  }
  // Answers the cell's pop-up list with `value` in `column`; returns the editor the cell asks for next.
  int Choose(int link, int column, std::int32_t value) {
    cmcCellObj chosen;
    chosen.link = column;
    chosen.parameter = value;
    cmcCellCapsule reply;
    reply.cell = &chosen;
    int editor = kNoEditor;
    Run(
        link,
        [&reply](cmcCellCapsule& request) {
          request.editResult = kPopupChoice;
          request.reply = &reply;
        },
        &editor);
    return editor;
  }
  std::string Show(int link) {
    return Run(link, [](cmcCellCapsule&) {});
  }

 private:
  template <typename Fill>
  std::string Run(int link, const Fill& fill, int* editor = nullptr) {
    cmcCellObj cell;
    cell.type = cellType_;
    cell.link = link;
    cell.parameter = row_;
    cmcCellCapsule request;
    request.cell = &cell;
    request.contextNumber = sheetBank_;
    fill(request);
    int opened = links_.Evaluate(request, false);
    if (editor) *editor = opened;
    return request.displayText;
  }

  CellLinks& links_;
  int cellType_;
  int row_;
  int sheetBank_;
};

}  // namespace

ChannelCsv::ChannelCsv(cmcGTex& overlay, const Charset& charset, ModelType modelType)
    : overlay_(overlay), choices_(overlay), charset_(charset), modelType_(modelType), recordColumns_(modelType) {}

namespace {

Row RecordRow(const datCh& record, ModelType modelType, const Vocabulary& words, const Charset& charset) {
  Row row;
  row[ChannelCsv::kName] = NameText(record, charset);
  row[ChannelCsv::kFrequency] = FormatMegahertz(record.freqR);
  row[ChannelCsv::kDuplex] = record.txInh ? "off" : record.dup == 1 ? "+" : record.dup == 2 ? "-" : "";
  row[ChannelCsv::kOffset] = FormatMegahertz(record.offset);
  if (IsLandMobile(modelType)) {
    LandMobileToneColumns(record, words, row);
  } else {
    auto [transmit, receive] = TransmitAndReceiveTones(record);
    PmrToneColumns(transmit, receive, words, row);
  }
  // Wide/narrow/middle: the middle bandwidth counts as wide, the very narrow one as narrow.
  row[ChannelCsv::kMode] = record.wnm == 1 || record.wnm == 3 ? "NFM" : "FM";
  const Choice* step = FindValue(words.steps, record.ts);
  row[ChannelCsv::kTStep] = step ? step->text : "";
  row[ChannelCsv::kSkip] = record.inList(0) ? "" : "S";
  const Choice* power = FindValue(words.powers, record.rfPo);
  row[ChannelCsv::kPower] = power ? power->text : "";
  return row;
}

}  // namespace

ChannelCsv::Row ChannelCsv::RowOf(cmcEeprom& image, int channel) {
  Vocabulary words(overlay_, choices_);
  datCh record(image);
  record.load(datCh::KindOf(modelType_), channel);
  Row row = RecordRow(record, modelType_, words, charset_);
  row[kLocation] = std::to_string(channel + 1);
  if (BanksShown(overlay_)) row[kBank] = std::to_string(datCh::BankOf(image, channel) + 1);
  return row;
}

ChannelCsv::Row ChannelCsv::DefaultRow(cmcEeprom& image) {
  Vocabulary words(overlay_, choices_);
  datCh record(image);
  record.load(datCh::KindOf(modelType_), std::min(datCh::ChannelsInUse(image), memmap::kMaxChannels - 1));
  // As a channel is created: default values, both tone settings off.
  record.initialise();
  record.ctoneR = record.ctoneT = ToneSetting{};
  ToneSetting{}.Encode(&record.optionRecord[chlayout::kOptionToneR]);
  ToneSetting{}.Encode(&record.optionRecord[chlayout::kOptionToneT]);
  return RecordRow(record, modelType_, words, charset_);
}

std::string ChannelCsv::Export(cmcEeprom& image) {
  std::vector<std::string> header(kHeader.begin(), kHeader.end());
  header.insert(header.end(), recordColumns_.Names().begin(), recordColumns_.Names().end());
  std::string text = csv::Line(header);
  datCh record(image);
  for (int channel = 0; channel < datCh::ChannelsInUse(image); ++channel) {
    if (!record.load(datCh::KindOf(modelType_), channel) || !record.inUse) continue;
    Row row = RowOf(image, channel);
    std::vector<std::string> line(row.begin(), row.end());
    std::vector<std::string> own = recordColumns_.TextsOf(record);
    line.insert(line.end(), own.begin(), own.end());
    text += csv::Line(line);
  }
  return text;
}

// --- import ---

namespace {

// What a line's import works with besides the image.
struct ImportServices {
  cmcGTex& overlay;
  cmcFCache& choices;
  const Charset& charset;
  ModelType modelType;
  const Vocabulary& words;
  const ChannelRecordColumns& recordColumns;
};

using Given = std::array<bool, ChannelCsv::kColumnCount>;
// The texts a line gives for the record's own columns; empty: not given.
using GivenRecordTexts = std::vector<std::optional<std::string>>;

// One line of the text applied to an image: the row found, the record's own
// columns set, then each generic value that differs from what the channel
// exports typed into its cell, and the cell's result compared with what the
// line asked for. Values the line leaves as they are stay untouched, so
// nothing the generic columns cannot name is rewritten.
class ChannelLineImport {
 public:
  // `asked` holds the given columns over the columns of a new channel.
  ChannelLineImport(const ImportServices& services, cmcEeprom& image, Row asked)
      : owner_(services),
        words_(services.words),
        image_(image),
        asked_(std::move(asked)),
        sheet_(SheetOf(services.modelType)) {}

  // The reasons the line was refused; none when every value was taken.
  std::vector<std::string> Apply(const Given& given, const GivenRecordTexts& recordTexts) {
    if (!FindRow(given)) return refusals_;
    const bool created = row_ == datCh::ChannelsInUse(image_);
    // No pop-up editor opens: the import answers for them with replies of its own.
    NoEditors editors;
    LinkEnvironment environment{image_, owner_.overlay, owner_.choices, editors};
    environment.charset = &owner_.charset;
    environment.modelType = owner_.modelType;
    CellLinks links(environment);
    RowTypist typist(links, sheet_.cellType, row_, bank_);
    // A new channel comes to be by its frequency.
    if (created && !TypeFrequencyCell(typist, sheet_.frequency, ChannelCsv::kFrequency, "Frequency")) return refusals_;
    if (!SetRecordColumns(recordTexts)) return refusals_;
    const Row start = Now();
    for (int column = 0; column < ChannelCsv::kColumnCount; ++column) {
      if (!given[column]) asked_[column] = start[column];
    }
    auto changed = [&](ChannelCsv::Column column) { return Differs(column, Now()[column]); };
    if (!created && changed(ChannelCsv::kFrequency) &&
        !TypeFrequencyCell(typist, sheet_.frequency, ChannelCsv::kFrequency, "Frequency")) {
      return refusals_;
    }
    if (changed(ChannelCsv::kDuplex)) TypeDuplex(typist);
    if (changed(ChannelCsv::kOffset)) TypeFrequencyCell(typist, sheet_.offset, ChannelCsv::kOffset, "Offset");
    if (IsLandMobile(owner_.modelType)) {
      TypeLandMobileTones(typist, changed);
    } else if (std::any_of(std::begin(kToneColumns), std::end(kToneColumns), changed)) {
      TypePmrTones(typist);
    }
    if (changed(ChannelCsv::kMode)) TypeMode(typist);
    if (changed(ChannelCsv::kTStep)) TypeStep(typist);
    if (changed(ChannelCsv::kPower)) TypePower(typist);
    if (changed(ChannelCsv::kSkip)) TypeSkip(typist);
    if (changed(ChannelCsv::kName)) TypeName(typist);
    return refusals_;
  }

 private:
  static constexpr ChannelCsv::Column kToneColumns[] = {ChannelCsv::kTone, ChannelCsv::kRToneFreq,
                                                        ChannelCsv::kCToneFreq, ChannelCsv::kDtcsCode,
                                                        ChannelCsv::kDtcsPolarity};

  void Refuse(std::string reason) { refusals_.push_back(std::move(reason)); }
  const std::string& Asked(ChannelCsv::Column column) const { return asked_[column]; }

  datCh Record() {
    datCh record(image_);
    record.load(datCh::KindOf(owner_.modelType), row_);
    return record;
  }
  // The generic columns as the export writes the channel now.
  Row Now() { return RecordRow(Record(), owner_.modelType, words_, owner_.charset); }

  // Names differ in any character; other columns are words and numbers whose case and blanks do not count.
  bool Differs(ChannelCsv::Column column, const std::string& now) const {
    if (column != ChannelCsv::kName) return !SameWord(Asked(column), now);
    std::string name = Asked(column);
    while (!name.empty() && name.back() == ' ') name.pop_back();
    return name != now;
  }

  bool SetRecordColumns(const GivenRecordTexts& texts) {
    datCh record = Record();
    std::vector<std::string> now = owner_.recordColumns.TextsOf(record);
    bool changed = false;
    for (std::size_t column = 0; column < texts.size(); ++column) {
      if (!texts[column] || SameWord(*texts[column], now[column])) continue;
      std::string reason = owner_.recordColumns.Set(record, column, *texts[column]);
      if (!reason.empty()) Refuse(std::move(reason));
      changed = true;
    }
    if (!refusals_.empty()) return false;
    if (changed) record.store();
    return true;
  }

  // The channel the line writes: its Location, or a new one after the list.
  bool FindRow(const std::array<bool, ChannelCsv::kColumnCount>& given) {
    const int used = datCh::ChannelsInUse(image_);
    row_ = used;
    if (given[ChannelCsv::kLocation]) {
      std::optional<std::int64_t> location = WholeNumber(Asked(ChannelCsv::kLocation));
      if (!location || *location < 1 || *location > memmap::kMaxChannels) {
        Refuse("Location '" + Asked(ChannelCsv::kLocation) + "' is not a channel number from 1 to " +
               std::to_string(memmap::kMaxChannels));
        return false;
      }
      row_ = static_cast<int>(*location - 1);
    }
    if (row_ > used) {
      Refuse("Location " + std::to_string(row_ + 1) + " leaves a gap: the next new channel is " +
             std::to_string(used + 1));
      return false;
    }
    if (row_ == used && (used >= memmap::kMaxChannels || datCh::ChannelsThatFit(image_, owner_.modelType) < 1)) {
      Refuse("no room for another channel");
      return false;
    }
    bank_ = row_ < used ? datCh::BankOf(image_, row_) : chops::BankForNewChannel(image_, row_, -1);
    if (!given[ChannelCsv::kBank] || !BanksShown(owner_.overlay)) return true;
    std::optional<std::int64_t> bank = WholeNumber(Asked(ChannelCsv::kBank));
    if (!bank || *bank < 1 || *bank > memmap::kBankCount) {
      Refuse("Bank '" + Asked(ChannelCsv::kBank) + "' is not a bank from 1 to " + std::to_string(memmap::kBankCount));
      return false;
    }
    const int wanted = static_cast<int>(*bank - 1);
    if (row_ < used && wanted != bank_) {
      Refuse("channel " + std::to_string(row_ + 1) + " is in bank " + std::to_string(bank_ + 1) + ", not in bank " +
             std::to_string(wanted + 1));
      return false;
    }
    if (row_ == used) {
      for (int later = wanted + 1; later < memmap::kBankCount; ++later) {
        if (datCh::BankSize(image_, later) > 0) {
          Refuse("a new channel cannot join bank " + std::to_string(wanted + 1) + ": bank " +
                 std::to_string(later + 1) + " already follows it");
          return false;
        }
      }
      bank_ = wanted;
    }
    return true;
  }

  // Why a frequency cell showed `shown` for `asked`.
  std::string FrequencyReason(std::string_view what, const std::string& text, std::int64_t asked, std::int64_t low,
                              std::int64_t high) {
    if (asked < low || asked > high) {
      return std::string(what) + " " + text + " MHz is outside the radio's range (" + FormatMegahertz(low) + " to " +
             FormatMegahertz(high) + " MHz)";
    }
    return std::string(what) + " " + text + " MHz is not on the channel grid";
  }

  // Types a frequency or offset and compares the cell's result with it.
  bool TypeFrequencyCell(RowTypist& typist, int link, ChannelCsv::Column column, std::string_view what) {
    const std::string& text = Asked(column);
    std::optional<std::int64_t> asked = Hertz(text);
    if (!asked) {
      Refuse(std::string(what) + " '" + text + "' is not a number of MHz");
      return false;
    }
    if (column == ChannelCsv::kFrequency) {
      EnterFrequency(typist, *asked, text);
    } else {
      typist.Type(link, Trimmed(text));
    }
    std::optional<std::int64_t> shown = Hertz(typist.Show(link));
    datCh record = Record();
    if (!record.inUse || !shown || std::abs(*shown - *asked) > kSnapTolerance) {
      bool offset = column == ChannelCsv::kOffset;
      Refuse(FrequencyReason(what, Trimmed(text), *asked, offset ? 0 : record.minFrequency(),
                             offset ? datCh::kMaxOffset : record.maxFrequency()));
      return false;
    }
    return true;
  }

  // The PMR sheets enter a frequency from the list of PMR446 channels, or as free entry.
  void EnterFrequency(RowTypist& typist, std::int64_t asked, const std::string& text) {
    if (IsLandMobile(owner_.modelType)) {
      typist.Type(sheet_.frequency, Trimmed(text));
      return;
    }
    int listRow = asked >= 0 && asked <= UINT32_MAX ? Pmr446Row(static_cast<std::uint32_t>(asked)) : -1;
    if (listRow >= 0) {
      typist.Choose(sheet_.frequency, cl::Flex0, listRow);
    } else if (typist.Choose(sheet_.frequency, cl::FlexAdjCh, 0) == kInCellEditor) {
      typist.Type(sheet_.frequency, Trimmed(text));
    }
  }

  // Chooses `value` in a choice cell and checks that the field took it.
  void Choose(RowTypist& typist, int link, std::int32_t value, int datCh::*field, std::string_view what) {
    typist.Choose(link, cl::Flex0, value);
    if (Record().*field != value) Refuse(std::string(what) + " was not taken by the channel");
  }

  void TypeDuplex(RowTypist& typist) {
    std::string duplex = Upper(Trimmed(Asked(ChannelCsv::kDuplex)));
    const bool off = duplex == "OFF";
    int dup = duplex == "+" ? 1 : duplex == "-" ? 2 : 0;
    if (!off && dup == 0 && !duplex.empty()) {
      Refuse("Duplex '" + Asked(ChannelCsv::kDuplex) + "' is not empty, +, - or off");
      return;
    }
    Choose(typist, sheet_.duplex, dup, &datCh::dup, "Duplex");
    Choose(typist, sheet_.transmitInhibit, off ? 1 : 0, &datCh::txInh, "Duplex off (transmit inhibit)");
  }

  std::optional<ToneMode> AskedToneMode() {
    for (int mode = 0; mode < kToneModeCount; ++mode) {
      if (SameWord(Asked(ChannelCsv::kTone), kToneModes[mode])) return static_cast<ToneMode>(mode);
    }
    Refuse("Tone '" + Asked(ChannelCsv::kTone) + "' is not empty, Tone, TSQL, DTCS or Cross");
    return std::nullopt;
  }

  std::optional<int> AskedTone(ChannelCsv::Column column) {
    std::optional<int> index = words_.ToneIndex(Asked(column));
    if (!index) Refuse(std::string(ChannelCsv::kHeader[column]) + " " + Asked(column) + " Hz is not a standard tone");
    return index;
  }

  // The code as three octal digits, when it is one the standard list holds.
  std::optional<std::string> AskedCode() {
    std::string code = Trimmed(Asked(ChannelCsv::kDtcsCode));
    if (!code.empty() && code.size() < 3) code.insert(0, 3 - code.size(), '0');
    if (!FindText(words_.codes, code)) {
      Refuse("DtcsCode '" + Asked(ChannelCsv::kDtcsCode) + "' is not a standard code");
      return std::nullopt;
    }
    return code;
  }

  std::optional<int> AskedPolarity() {
    for (std::size_t i = 0; i < kPolarities.size(); ++i) {
      if (SameWord(Asked(ChannelCsv::kDtcsPolarity), kPolarities[i])) return static_cast<int>(i);
    }
    Refuse("DtcsPolarity '" + Asked(ChannelCsv::kDtcsPolarity) + "' is not NN, NR, RN or RR");
    return std::nullopt;
  }

  // Land-mobile channels keep a tone mode and all three tone values, each typed only when its column changed.
  template <typename Changed>
  void TypeLandMobileTones(RowTypist& typist, const Changed& changed) {
    if (changed(ChannelCsv::kTone)) {
      std::optional<ToneMode> mode = AskedToneMode();
      if (mode == kToneCross) Refuse("Tone Cross: this radio has no cross tone mode");
      if (mode && mode != kToneCross) Choose(typist, cl::CL_Mch_Tone, *mode, &datCh::tone, "Tone");
    }
    if (changed(ChannelCsv::kRToneFreq)) {
      if (std::optional<int> transmit = AskedTone(ChannelCsv::kRToneFreq))
        Choose(typist, cl::CL_Mch_Tone_Freq, *transmit, &datCh::toneFreq, "rToneFreq");
    }
    if (changed(ChannelCsv::kCToneFreq)) {
      if (std::optional<int> squelch = AskedTone(ChannelCsv::kCToneFreq))
        Choose(typist, cl::CL_Mch_Tsql_Freq, *squelch, &datCh::tsqlFreq, "cToneFreq");
    }
    if (changed(ChannelCsv::kDtcsCode)) {
      if (std::optional<std::string> code = AskedCode())
        Choose(typist, cl::CL_Mch_Dtcs, FindText(words_.codes, *code)->value, &datCh::dtcs, "DtcsCode");
    }
    if (changed(ChannelCsv::kDtcsPolarity)) {
      if (std::optional<int> polarity = AskedPolarity())
        Choose(typist, cl::CL_Mch_Dtcs_Polarity, *polarity, &datCh::dtcsPolarity, "DtcsPolarity");
    }
  }

  // PMR channels keep a transmit and a receive tone setting; the columns the
  // tone mode names are the ones read.
  void TypePmrTones(RowTypist& typist) {
    std::optional<ToneMode> mode = AskedToneMode();
    if (!mode) return;
    struct Side {
      std::string text;  // typed; empty: off
    } transmit, receive;
    if (*mode == kToneTransmit || *mode == kToneCross) {
      std::optional<int> tone = AskedTone(ChannelCsv::kRToneFreq);
      if (!tone) return;
      transmit.text = words_.ToneText(*tone);
    }
    if (*mode == kToneSquelch || *mode == kToneCross) {
      std::optional<int> tone = AskedTone(ChannelCsv::kCToneFreq);
      if (!tone) return;
      receive.text = words_.ToneText(*tone);
      if (*mode == kToneSquelch) transmit.text = receive.text;
    }
    if (*mode == kToneCode) {
      std::optional<std::string> code = AskedCode();
      std::optional<int> polarity = AskedPolarity();
      if (!code || !polarity) return;
      transmit.text = *code + (*polarity & 2 ? "I" : "N");
      receive.text = *code + (*polarity & 1 ? "I" : "N");
    }
    const int receiveLink = cl::CL_Mch_CTone_R_Pmr446;
    const int transmitLink = cl::CL_Mch_CTone_T_Pmr446;
    for (auto [link, side] : {std::pair{receiveLink, &receive}, std::pair{transmitLink, &transmit}}) {
      if (side->text.empty()) {
        typist.Choose(link, cl::Flex0, 0);
      } else {
        typist.Type(link, side->text);
      }
    }
    // The columns the channel now writes must be the ones asked for.
    Row now = RecordRow(Record(), owner_.modelType, words_, owner_.charset);
    bool codeTaken = *mode != kToneCode || (now[ChannelCsv::kDtcsCode] == transmit.text.substr(0, 3) &&
                                            SameWord(now[ChannelCsv::kDtcsPolarity], Asked(ChannelCsv::kDtcsPolarity)));
    if (!SameWord(now[ChannelCsv::kTone], kToneModes[*mode]) || now[ChannelCsv::kRToneFreq] != ToneOr(transmit) ||
        now[ChannelCsv::kCToneFreq] != ToneOr(receive) || !codeTaken) {
      Refuse("Tone " + std::string(kToneModes[*mode]) + " " + transmit.text + "/" + receive.text +
             " is not a setting this radio offers");
    }
  }

  template <typename Side>
  static std::string ToneOr(const Side& side) {
    bool tone = !side.text.empty() && side.text.find('.') != std::string::npos;
    return tone ? side.text : std::string(kNoToneFrequency);
  }

  void TypeMode(RowTypist& typist) {
    std::string mode = Upper(Trimmed(Asked(ChannelCsv::kMode)));
    if (mode == "FM" || mode == "NFM") {
      Choose(typist, sheet_.bandwidth, mode == "NFM" ? 1 : 0, &datCh::wnm, "Mode");
    } else {
      Refuse("Mode '" + Asked(ChannelCsv::kMode) + "' is not FM or NFM");
    }
  }

  void TypeStep(RowTypist& typist) {
    std::optional<double> kilohertz = ParseDecimalText(Trimmed(Asked(ChannelCsv::kTStep)));
    const Choice* step = kilohertz ? FindText(words_.steps, PlainNumber(*kilohertz)) : nullptr;
    if (step) {
      Choose(typist, sheet_.step, step->value, &datCh::ts, "TStep");
    } else {
      Refuse("TStep '" + Asked(ChannelCsv::kTStep) + "' is not a step of the radio (" + Joined(words_.steps) + " kHz)");
    }
  }

  void TypePower(RowTypist& typist) {
    const Choice* power = FindText(words_.powers, Asked(ChannelCsv::kPower));
    if (power) {
      Choose(typist, sheet_.power, power->value, &datCh::rfPo, "Power");
    } else {
      Refuse("Power '" + Asked(ChannelCsv::kPower) + "' is not a power level of the radio (" + Joined(words_.powers) +
             ")");
    }
  }

  void TypeSkip(RowTypist& typist) {
    std::string skip = Upper(Trimmed(Asked(ChannelCsv::kSkip)));
    if (skip.empty() || skip == "S") {
      typist.Choose(sheet_.scan, cl::Flex0, skip.empty() ? 1 : 0);
      if (Record().inList(0) != skip.empty()) Refuse("Skip was not taken by the channel");
    } else {
      Refuse("Skip '" + Asked(ChannelCsv::kSkip) + "' is not empty or S");
    }
  }

  void TypeName(RowTypist& typist) {
    const std::string& name = Asked(ChannelCsv::kName);
    std::string shown = typist.Type(sheet_.name, name);
    auto rightTrimmed = [](std::string text) {
      while (!text.empty() && text.back() == ' ') text.pop_back();
      return text;
    };
    if (rightTrimmed(shown) == rightTrimmed(name)) return;
    Charset::Encoded encoded = owner_.charset.Encode(name, datCh::kNameLength);
    if (encoded.unknownAt) {
      std::size_t at = *encoded.unknownAt;
      std::size_t length = 1;
      while (at + length < name.size() && (static_cast<unsigned char>(name[at + length]) & 0xC0) == 0x80) ++length;
      Refuse("Name '" + name + "' has a character the radio lacks: '" + name.substr(at, length) + "'");
    } else if (encoded.tooLong) {
      Refuse("Name '" + name + "' is longer than " + std::to_string(datCh::kNameLength) + " characters");
    } else {
      Refuse("Name '" + name + "' was not taken by the channel");
    }
  }

  const ImportServices& owner_;
  const Vocabulary& words_;
  cmcEeprom& image_;
  Row asked_;
  const SheetLinks& sheet_;
  int row_ = 0;
  int bank_ = 0;
  std::vector<std::string> refusals_;
};

}  // namespace

namespace {

// The separators tried in turn: the first whose header line names a column is the file's.
constexpr std::pair<char, std::string_view> kSeparators[] = {{',', "comma"}, {';', "semicolon"}, {'\t', "tab"}};

bool IsNumberColumn(int column) {
  return column == ChannelCsv::kFrequency || column == ChannelCsv::kOffset || column == ChannelCsv::kRToneFreq ||
         column == ChannelCsv::kCToneFreq || column == ChannelCsv::kTStep;
}

// The field of each known column in a header line; -1 where the header lacks it.
struct HeaderMap {
  std::array<int, ChannelCsv::kColumnCount> generic;
  std::vector<int> record;

  HeaderMap(const csv::Record& header, const std::vector<std::string>& recordNames) : record(recordNames.size(), -1) {
    generic.fill(-1);
    // Unknown names are left out; the first of a repeated name counts.
    auto take = [](int& slot, std::string_view name, const std::string& field, std::size_t at) {
      if (slot < 0 && SameWord(field, name)) slot = static_cast<int>(at);
    };
    for (std::size_t field = 0; field < header.fields.size(); ++field) {
      for (int column = 0; column < ChannelCsv::kColumnCount; ++column)
        take(generic[column], ChannelCsv::kHeader[column], header.fields[field], field);
      for (std::size_t column = 0; column < recordNames.size(); ++column)
        take(record[column], recordNames[column], header.fields[field], field);
    }
  }
  bool NamesAny() const {
    auto known = [](int field) { return field >= 0; };
    return std::any_of(generic.begin(), generic.end(), known) || std::any_of(record.begin(), record.end(), known);
  }
};

}  // namespace

ChannelCsv::ImportResult ChannelCsv::Import(cmcEeprom& image, std::string_view text, bool skipRefused) {
  ImportResult result;
  csv::Table table;
  std::optional<HeaderMap> header;
  char separator = ',';
  for (auto [candidate, name] : kSeparators) {
    table = csv::Parse(text, candidate);
    if (table.unterminatedLine != 0 || table.records.empty()) break;
    header.emplace(table.records.front(), recordColumns_.Names());
    separator = candidate;
    if (header->NamesAny()) break;
  }
  if (table.unterminatedLine != 0) {
    result.refusals.push_back({table.unterminatedLine, "a quoted field is never closed"});
    return result;
  }
  if (table.records.empty()) {
    result.refusals.push_back({1, "there is no header line"});
    return result;
  }
  if (!header->NamesAny()) {
    table = csv::Parse(text);
    std::string tried;
    for (auto [candidate, name] : kSeparators) tried += (tried.empty() ? "" : ", ") + std::string(name);
    result.refusals.push_back(
        {table.records.front().line, "the header names none of the columns " +
                                         Trimmed(csv::Line(std::vector<std::string>(kHeader.begin(), kHeader.end()))) +
                                         " (separators tried: " + tried + ")"});
    return result;
  }

  Vocabulary words(overlay_, choices_);
  const ImportServices services{overlay_, choices_, charset_, modelType_, words, recordColumns_};
  cmcEeprom working = image;
  for (std::size_t i = 1; i < table.records.size(); ++i) {
    const csv::Record& record = table.records[i];
    // Spreadsheets end their sheets with rows of empty cells: they hold no channel.
    if (std::all_of(record.fields.begin(), record.fields.end(),
                    [](const std::string& field) { return Trimmed(field).empty(); })) {
      continue;
    }
    auto fieldText = [&record](int field) -> const std::string* {
      return field >= 0 && static_cast<std::size_t>(field) < record.fields.size() ? &record.fields[field] : nullptr;
    };
    Row asked = DefaultRow(working);
    Given given{};
    for (int column = 0; column < kColumnCount; ++column) {
      const std::string* value = fieldText(header->generic[column]);
      if (!value) continue;
      // An empty number keeps the channel's value; an empty Duplex, Tone, Skip or Name is a value,
      // and an empty Frequency is refused rather than made the default one.
      bool emptyIsValue =
          column == kName || column == kDuplex || column == kTone || column == kSkip || column == kFrequency;
      if (Trimmed(*value).empty() && !emptyIsValue) continue;
      asked[column] = *value;
      if (separator != ',' && IsNumberColumn(column))
        std::replace(asked[column].begin(), asked[column].end(), ',', '.');
      given[column] = true;
    }
    GivenRecordTexts recordTexts(header->record.size());
    for (std::size_t column = 0; column < recordTexts.size(); ++column) {
      const std::string* value = fieldText(header->record[column]);
      if (value && !Trimmed(*value).empty()) recordTexts[column] = *value;
    }
    cmcEeprom attempt = working;
    std::vector<std::string> reasons = ChannelLineImport(services, attempt, asked).Apply(given, recordTexts);
    for (std::string& reason : reasons) result.refusals.push_back({record.line, std::move(reason)});
    if (reasons.empty()) ++result.taken;
    // Without skipping, a refused line stays applied so that the lines after it are checked as they would land.
    if (reasons.empty() || !skipRefused) working = attempt;
  }
  if (!result.refusals.empty() && !skipRefused) return result;
  memmap::Encode(working, modelType_);
  result.written = !(working == image);
  if (result.written) image = working;
  return result;
}
