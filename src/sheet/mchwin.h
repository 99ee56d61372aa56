#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "model/modeltype.h"
#include "sheet/sheet.h"

struct Event;
struct LinkEnvironment;

// The memory-channel window without its window: one channel on a sheet of its
// own, stepped through the channels of a bank. Its positions are the bank's
// channels and the one just after the bank's last channel (where a new channel
// is entered). The bank's channel sheet and the window keep in step: a move
// here asks the sheet to follow (event 34, +1 or -1), and with follow on, a
// row chosen there becomes the window's channel.
class iuiMchWin {
 public:
  // `environment`, when given, is told the window's channel, so that the links
  // of the window's cells address it; its model type chooses the sheet.
  iuiMchWin(SheetServices services, LinkEnvironment* environment);
  ~iuiMchWin();

  // Where the sheet is shown: a window's grid takes each new sheet over (null:
  // the sheet is gone) and keeps it alive while it shows it. Without a host
  // the window keeps its sheet itself.
  using SheetHost = std::function<void(std::unique_ptr<cuiSheet> sheet)>;
  void SetSheetHost(SheetHost host) { host_ = std::move(host); }
  // Where the modes and font size in force come from at each build; without
  // one the window keeps those it was made with.
  void SetModesSource(std::function<SheetModes()> current) { currentModes_ = std::move(current); }
  iuiMchWin(const iuiMchWin&) = delete;
  iuiMchWin& operator=(const iuiMchWin&) = delete;

  // Shows `channel` (kept within the bank's positions) of `bank` and builds the
  // sheet; false when the sheet does not build.
  bool Open(int bank, int channel);
  // Opens on the current row of the main sheet when it is a bank sheet, else
  // on the first channel of bank 0.
  bool OpenFor(const cuiSheet* mainSheet);
  void Close();
  bool IsOpen() const { return sheet_ != nullptr; }
  // One channel on; false, and nothing changes, at the position after the bank's last channel.
  bool Next();
  // One channel back; false, and nothing changes, at the bank's first channel.
  bool Previous();
  // Builds the sheet again, for the model type, modes and font size in force
  // (another sheet when they changed).
  bool Rebuild();

  void SetFollow(bool follow) { follow_ = follow; }
  bool Follow() const { return follow_; }

  int Bank() const { return bank_; }
  int Channel() const { return channel_; }
  // Moves made while no channel sheet of the bank was showing, for it to follow later.
  int PendingMoves() const { return pending_; }
  cuiSheet* Sheet() { return sheet_; }

  // The window's sheet for a model type.
  static SheetRef SheetFor(ModelType type);

 private:
  struct Span {
    int first;
    int afterLast;  // the position after the bank's last channel
  };

  static void Listen(void* data, const Event& event);
  void OnEvent(const Event& event);
  void ChannelSheetMoved(const void* sheet, int bank, int channel);
  bool Step(int delta);
  void AskSheetToFollow();
  Span BankSpan() const;
  ModelType Type() const;
  // Gives the channel to the window's cells and the links, and repaints.
  void SetChannel(int channel);
  void Adopt(std::unique_ptr<cuiSheet> sheet);

  SheetServices services_;
  LinkEnvironment* environment_;
  SheetHost host_;
  std::function<SheetModes()> currentModes_;
  std::unique_ptr<cuiSheet> owned_;  // without a host
  cuiSheet* sheet_ = nullptr;
  int bank_ = 0;
  int channel_ = 0;
  bool follow_ = true;
  // The bank sheet showing, its bank and the channel of its current row.
  const void* channelSheet_ = nullptr;
  int sheetBank_ = 0;
  int sheetChannel_ = 0;
  int pending_ = 0;
};
