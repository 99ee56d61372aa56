// libFuzzer target: the cell-link evaluator over a fuzzed work area. A run
// starts from the initial image of a model type (the shipped files, read once),
// enters channels on blank rows as a user does (a digit key, then the typed
// frequency on the row's entry cell), then evaluates a list of requests: any
// cell type of the table, any link id (registered or not), any cell and
// context number, keys, typed texts, pop-up replies and menu commands.
//
// Input, little-endian, read from the front (missing bytes read as 0):
//   u8 model type (mod 4), u8 channels to enter (mod 5), u8 switches
//   (bit 0 character set, bit 1 editors open, bit 2 questions answered OK,
//   bit 3 an identification record follows), i32 window channel,
//   [78 bytes identification], per channel to enter a u32 frequency in Hz,
//   then requests: u8 action (mod 5: show, key, type, choose, menu command),
//   u8 cell type (mod 29), u16 link, i32 cell number, i32 context number,
//   u8 switches (bit 0 editable, bit 1 painting), and per action: key i32 |
//   type u8 length and text | choose u16 column, i32 value, i32 reply
//   context | menu i32 command.
// bench/fuzz/celllinks_seeds.py writes the seed corpus in this form.
//
// Findings: a crash or sanitizer report, the fatal stop (every block the links
// ask for is in the shipped overlay, and cell types and model types stay in
// their tables), an editor request outside the three there are, and a work
// area that no longer encodes after edits made only through cells.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/gtex.h"
#include "fuzz_support.h"
#include "links/celllinks.h"
#include "markup/cellnames.h"
#include "markup/fcache.h"
#include "markup/ids.h"
#include "model/ch.h"
#include "model/charset.h"
#include "model/cloneio.h"
#include "model/memorymap.h"
#include "model/modeltype.h"
#include "platform/messagebox.h"

namespace {

// Little-endian values from the front of the input; 0 once it is used up.
class InputReader {
 public:
  InputReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool Empty() const { return at_ >= size_; }

  template <typename T>
  T Take() {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < sizeof(T); ++i) value |= std::uint64_t{TakeByte()} << (8 * i);
    return static_cast<T>(value);
  }

  std::string TakeText(std::size_t length) {
    std::string text;
    for (std::size_t i = 0; i < length && !Empty(); ++i) text += static_cast<char>(TakeByte());
    return text;
  }

 private:
  std::uint8_t TakeByte() { return at_ < size_ ? data_[at_++] : 0; }

  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

class SilentMessageBox : public platform::MessageBox {
 public:
  platform::MsgAnswer Show(const platform::MsgRequest& request) override {
    return answerFirst ? platform::FirstButton(request.buttons) : platform::MsgAnswer::Cancel;
  }
  bool answerFirst = false;
};

class FuzzedEditors : public LinkHost {
 public:
  bool OpenChoiceList(cmcCellCapsule&, std::string_view, int, std::int32_t) override { return open; }
  bool OpenFlagEditor(cmcCellCapsule&, const FlagEditorForm&, std::uint32_t) override { return open; }
  bool OpenTextEditor(cmcCellCapsule&, std::string_view) override { return open; }
  bool OpenSegmentCharacterEditor(cmcCellCapsule&, std::uint16_t) override { return open; }
  bool open = false;
};

// What the runs share, read once: the shipped main overlay (from memory) with
// its selection cache, which live as long as the program's do, the character
// set and the initial image of each model type. The overlay is the same for
// every run, so reading it again would explore nothing new.
struct Shipped {
  cmcGTex overlay;
  cmcFCache choices{overlay};
  Charset charset = Charset::LoadShipped();
  std::array<cmcEeprom, kModelTypeCount> initial;
};
Shipped* shipped = nullptr;
SilentMessageBox messageBox;

enum class Action { kShow, kKey, kType, kChoose, kMenu, kCount };
constexpr int kMaxRequests = 64;
constexpr int kMaxChannelsEntered = 4;
constexpr std::size_t kIdentificationSize = 78;

// One run: the work area, the environment and the evaluator.
class Run {
 public:
  Run(ModelType modelType, bool withCharset) : modelType_(modelType) {
    image_ = shipped->initial[ModelIndex(modelType)];
    environment_.modelType = modelType;
    environment_.charset = withCharset ? &shipped->charset : nullptr;
    environment_.menuCommand = [](cmcCellCapsule&) {};
    environment_.changeModel = [this](ModelType type) {
      image_ = shipped->initial[ModelIndex(type)];
      environment_.modelType = modelType_ = type;
    };
  }

  LinkEnvironment& Environment() { return environment_; }
  FuzzedEditors& Editors() { return editors_; }

  // A digit on the blank row after the list sends the user to the row's entry
  // cell, where the frequency is typed.
  void EnterChannel(std::uint32_t hz) {
    const std::int32_t row = datCh::ChannelsInUse(image_);
    cmcCellObj cell;
    cell.type = ct::CT_Mch;
    cell.link = cl::CL_Mch_No;
    cell.parameter = row;
    cmcCellCapsule key;
    key.cell = &cell;
    key.key = '1';
    Evaluate(key);
    if (!key.redirect.active) return;
    cell.type = key.redirect.type;
    cell.link = key.redirect.link;
    cmcCellCapsule typed;
    typed.cell = &cell;
    typed.editResult = kTextCommitted;
    typed.editedText = FormatMegahertz(hz);
    Evaluate(typed);
  }

  void Request(InputReader& in) {
    const auto action = static_cast<Action>(in.Take<std::uint8_t>() % static_cast<int>(Action::kCount));
    cmcCellObj cell;
    cell.type = in.Take<std::uint8_t>() % (kNoCellType + 1);
    cell.link = in.Take<std::uint16_t>();
    cell.parameter = in.Take<std::int32_t>();
    cmcCellCapsule request;
    request.cell = &cell;
    request.contextNumber = in.Take<std::int32_t>();
    const std::uint8_t switches = in.Take<std::uint8_t>();
    request.editable = switches & 1;
    request.painting = (switches & 2) != 0;
    cmcCellObj replyCell;
    cmcCellCapsule reply;
    switch (action) {
    case Action::kShow: break;
    case Action::kKey: request.key = in.Take<std::int32_t>(); break;
    case Action::kType:
      request.editResult = kTextCommitted;
      request.editedText = in.TakeText(in.Take<std::uint8_t>());
      break;
    case Action::kChoose:
      replyCell.link = in.Take<std::uint16_t>();
      replyCell.parameter = in.Take<std::int32_t>();
      reply.cell = &replyCell;
      reply.contextNumber = in.Take<std::int32_t>();
      request.reply = &reply;
      request.editResult = kPopupChoice;
      break;
    case Action::kMenu: request.menuCommand = in.Take<std::int32_t>(); break;
    case Action::kCount: break;
    }
    Evaluate(request);
  }

  // Edits made through cells never leave a work area that cannot be saved.
  void CheckItEncodes() {
    cmcEeprom copy = image_;
    fuzz::Require(memmap::Encode(copy, modelType_), "the edited work area does not encode");
  }

 private:
  void Evaluate(cmcCellCapsule& request) {
    const int editor = links_.Evaluate(request, true);
    fuzz::Require(editor == kNoEditor || editor == kPopupEditor || editor == kInCellEditor,
                  "an editor request outside the three there are");
  }

  ModelType modelType_;
  cmcEeprom image_;
  FuzzedEditors editors_;
  LinkEnvironment environment_{image_, shipped->overlay, shipped->choices, editors_};
  CellLinks links_{environment_};
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::TreatFatalStopAsFinding();
  platform::InstallMessageBox(&messageBox);
  static Shipped data;
  data.overlay.OpenText(fuzz::MainOverlayText());
  for (ModelType type : kAllModelTypes) cloneio::LoadInitialImage(data.overlay, type, data.initial[ModelIndex(type)]);
  shipped = &data;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  InputReader in(data, size);
  const ModelType modelType = kAllModelTypes[in.Take<std::uint8_t>() % kAllModelTypes.size()];
  const int channels = in.Take<std::uint8_t>() % (kMaxChannelsEntered + 1);
  const std::uint8_t switches = in.Take<std::uint8_t>();
  Run run(modelType, (switches & 1) != 0);
  run.Editors().open = (switches & 2) != 0;
  messageBox.answerFirst = (switches & 4) != 0;
  LinkEnvironment& environment = run.Environment();
  environment.windowChannel = in.Take<std::int32_t>();
  std::vector<std::uint8_t> identification;
  if ((switches & 8) != 0) {
    for (std::size_t i = 0; i < kIdentificationSize; ++i) identification.push_back(in.Take<std::uint8_t>());
  }
  environment.identification = identification;

  for (int i = 0; i < channels; ++i) run.EnterChannel(in.Take<std::uint32_t>());
  for (int i = 0; i < kMaxRequests && !in.Empty(); ++i) run.Request(in);
  run.CheckItEncodes();
  return 0;
}
