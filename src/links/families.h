#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "links/cellcapsule.h"
#include "model/ch.h"

class cmcGTex;
class cmcFCache;
class Charset;

// The generic link families: each works on a request and a value behind the
// link, knows nothing of where the value lives, and is configured by a spec
// (one table row of the link that uses it).

// What a bit-field editor shows: a sheet of the main overlay, or, without one,
// a form generated for the options first to last (option n is bit 26 - n of
// the value) labelled in one of the label styles.
struct FlagEditorForm {
  std::string_view sheet;  // empty: the generated form
  int firstOption = 1;
  int lastOption = 1;
  int labelStyle = 0;     // 1 hexadecimal, 2 and 3 decimal with 0 for 10, ..., other: decimal
  bool drawTick = false;  // a set option is drawn as a tick instead of "o"

  static FlagEditorForm Named(std::string_view sheet) { return FlagEditorForm{sheet}; }
  static FlagEditorForm Generated(int first, int last, int labelStyle) {
    return FlagEditorForm{{}, first, last, labelStyle};
  }
};

// What the text editor opens on: the field's text without its padding, the
// characters the field holds, and where the caret stands (after a typed key
// it is at the end; opened by Enter or Backspace, the whole text is selected).
struct TextEditorForm {
  std::string text;
  std::size_t maximum = 0;
  bool caretAtEnd = false;
};

// What the families ask of the program around them: the pop-up editors.
class LinkHost {
 public:
  virtual ~LinkHost() = default;
  // Each opens a pop-up editor that holds the request and replies later with
  // edit result 2; false when none can be shown. The flag, text and segment
  // character editors reply with a cell of link Flex0 whose display text is
  // the result (ReplyText): the value in decimal, or the edited text.
  virtual bool OpenChoiceList(cmcCellCapsule& request, std::string_view list, int column, std::int32_t current) = 0;
  virtual bool OpenFlagEditor(cmcCellCapsule& request, const FlagEditorForm& form, std::uint32_t bits) = 0;
  virtual bool OpenTextEditor(cmcCellCapsule& request, const TextEditorForm& form) = 0;
  virtual bool OpenSegmentCharacterEditor(cmcCellCapsule& request, std::uint16_t pattern) = 0;
};

// The text of an editor's reply: the reply cell's display text; nothing when
// the request carries no reply cell.
std::optional<std::string> ReplyText(const cmcCellCapsule& request);
// The number an editor's text reply gives (a decimal, as the flag and
// segment character editors send); nothing for any other text.
std::optional<std::int64_t> ReplyNumber(const cmcCellCapsule& request);

struct LinkServices {
  cmcGTex& overlay;
  cmcFCache& choices;
  LinkHost& host;
};

// The value behind a link.
struct LinkValue {
  std::function<std::int64_t()> get;
  std::function<void(std::int64_t)> set;
};

struct LinkOutcome {
  bool changed = false;
  int editor = kNoEditor;
};

// --- text helpers shared by the families (never locale-dependent) ---

// A decimal number: optional '-', digits, optional '.' and digits. Nothing for
// a text without digits or with other characters.
std::optional<double> ParseDecimalText(std::string_view text);
// Keeps the characters of `text` that occur in `allowed`.
std::string KeepOnly(std::string_view text, std::string_view allowed);
// Rounded half away from zero.
std::int64_t RoundHalfAway(double value);
// Begins in-cell editing with `text` and the caret at `caret`.
LinkOutcome BeginEditing(cmcCellCapsule& request, std::string text, std::size_t caret);
// Stores `next` when it differs from the current value.
bool Store(LinkValue& value, std::int64_t next);
// A stepped value past one limit goes to the other.
std::int64_t Wrap(std::int64_t next, std::int64_t minimum, std::int64_t maximum);

// --- frequency ---

// A channel grid: from the typed value rounded down to 100 kHz, step by `step`
// and take the first value at or above the typed one that is a multiple of
// `multipleA` or `multipleB`, if it lies below typed + e (e the largest power
// of ten up to 100000 that divides the typed value).
struct ChannelGrid {
  int step;
  int multipleA;
  int multipleB;
};
constexpr ChannelGrid kGrid625{625, 2500, 3125};
constexpr ChannelGrid kGrid1250{1250, 5000, 6250};
constexpr ChannelGrid kGrid2500{2500, 5000, 12500};

std::optional<std::int64_t> SnapToGrid(std::int64_t hz, const ChannelGrid& grid);
// "%d.%06d" of a frequency in Hz as MHz.
std::string FormatMegahertz(std::int64_t hz);
// A committed frequency text: digits and '.' kept, cut to nine characters,
// read as MHz and rounded to Hz, held in 0..799999999. Nothing when no digit.
std::optional<std::int64_t> ParseMegahertz(std::string_view text);

struct FrequencySpec {
  ChannelGrid grid;
  std::int64_t minimum;
  std::int64_t maximum;
  bool clampToLimits;  // else a value outside the limits changes nothing
};

// Keys and commits of a frequency cell. `shown` is the text the cell shows.
// A committed text that gives no grid frequency changes nothing.
LinkOutcome FrequencyFamily(cmcCellCapsule& request, const FrequencySpec& spec, LinkValue& value,
                            const std::string& shown);

// --- choice ---

struct ChoiceSpec {
  std::string_view list;  // a GI_Sheet_Sel_... selection sheet
  int column;             // the cell link of the sheet's cells that carry the values
};
// Whether the field can hold a value; none: every value of the list.
using ValueFits = std::function<bool(std::int64_t)>;
// A value the field cannot hold is refused as a reply and skipped when stepping,
// never stored cut to the field.
LinkOutcome ChoiceFamily(cmcCellCapsule& request, LinkServices& services, const ChoiceSpec& spec, LinkValue& value,
                         const ValueFits& fits = {});

// --- tone ---

struct ToneSpec {
  std::string_view toneList;  // GI_Sheet_Sel_Mch_CTone or its ExUser form
  bool listedCodesOnly;       // digital codes must be listed in GI_AppItem_Dtcs
};
struct ToneValue {
  std::function<ToneSetting()> get;
  std::function<void(const ToneSetting&)> set;
  std::function<std::optional<ToneSetting>()> receive;  // for a transmit cell: the receive setting
};
std::string FormatTone(cmcGTex& overlay, cmcFCache& choices, const ToneSpec& spec, const ToneSetting& tone);
std::optional<ToneSetting> ParseTone(cmcGTex& overlay, const ToneSpec& spec, std::string_view text);
LinkOutcome ToneFamily(cmcCellCapsule& request, LinkServices& services, const ToneSpec& spec, ToneValue& value);

// Values of the tone choice list (column Flex0): 0 off, 1 + the tone index for
// a tone, kNormalCodeChoice or kInvertedCodeChoice plus the code for a digital code.
constexpr std::int32_t kNormalCodeChoice = 0x1000;
constexpr std::int32_t kInvertedCodeChoice = 0x2000;

// --- timers and numbers ---

struct MinSecTimerSpec {
  int stepSeconds;
  std::int64_t minimum;  // in steps
  std::int64_t maximum;
  bool mayBeOff;  // 0 shows GI_AppInd_TimerOff when only displayed
};
LinkOutcome MinSecTimerFamily(cmcCellCapsule& request, LinkServices& services, const MinSecTimerSpec& spec,
                              LinkValue& value);

struct DecimalTimerSpec {
  std::int64_t scale;  // stored units per displayed unit
  std::int64_t minimum;
  std::int64_t maximum;
  std::optional<std::int64_t> offValue;  // the stored value of "off", when the link has one
};
LinkOutcome DecimalTimerFamily(cmcCellCapsule& request, LinkServices& services, const DecimalTimerSpec& spec,
                               LinkValue& value);

struct NumericSpec {
  std::int64_t minimum;
  std::int64_t maximum;
  std::int64_t offset;  // shown = stored + offset
  std::int64_t step;
  bool clampSteps;  // space/backspace stop at the limits instead of wrapping
};
LinkOutcome NumericFamily(cmcCellCapsule& request, const NumericSpec& spec, LinkValue& value);

// --- scan channel reference ---

// A mode (a choice list) plus a channel for the mode that names one. The mode
// pop-up's choice of that mode goes on to the bank choice (when banks are
// shown) and then to the channel choice of the bank, whose reply carries the
// bank as its context number.
struct ScanReferenceSpec {
  std::string_view modeList;  // GI_Sheet_Sel_ScanPrio1CH, ...
  std::int32_t channelMode;   // the mode that names a channel (5)
};
struct ScanReferenceValue {
  LinkValue mode;
  LinkValue channel;
  std::function<void(bool)> setFlag;  // when the link keeps "mode is not 0" apart; may be empty
  bool banksShown;
  std::function<int(int channel)> bankOf;
  std::function<int(int bank)> firstChannel;
};
constexpr std::string_view kScanBankList = "GI_Sheet_Sel_ScanZoneSel";
constexpr std::string_view kScanChannelList = "GI_Sheet_Sel_ScanCHSel";
LinkOutcome ScanReferenceFamily(cmcCellCapsule& request, LinkServices& services, const ScanReferenceSpec& spec,
                                ScanReferenceValue& value);

// --- text ---

struct TextValue {
  std::function<std::string()> get;
  // Stores a committed text (padded to the field); false when the field cannot hold it.
  std::function<bool(const std::string&)> set;
  // The field's segment patterns, one per code; none: only the text is shown.
  std::function<std::vector<std::uint16_t>()> glyphs{};
  std::size_t maximum = 0;           // characters the field holds
  const Charset* charset = nullptr;  // the radio's character set; none: plain ASCII
};
// A fixed-width name: shown as its display text, and while painted also as the
// radio's segment glyphs; edited in the pop-up text editor. A text the field
// cannot hold changes nothing.
LinkOutcome TextFamily(cmcCellCapsule& request, LinkServices& services, TextValue& value);
