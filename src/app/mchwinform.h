#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "sheet/mchwin.h"

class QCheckBox;
class QPushButton;
class cuiSheetFrame;
class indEnviron;
struct Event;

// The memory-channel window: one channel of a bank on its sheet, with close,
// next and previous buttons and the follow check box below. With a parent it
// sits in that widget (the controller's memory-channel area); without one it
// floats. It closes, shows and hides itself on the controller's events, and
// keeps its bounds in the settings.
class MchWinForm : public QWidget {
  Q_OBJECT

 public:
  // What the window's sheet works with: `sheet` gives every service but the
  // view and the measurer, which are the window's grid's.
  struct Setup {
    cmcGTex& overlay;
    const cmcEeprom& image;
    CellLinks* links = nullptr;
    cmcEvMan* events = nullptr;
    ColumnWidthStore* widths = nullptr;
    const Charset* charset = nullptr;
    const Segchar* segchar = nullptr;
    SheetModes modes{};
    std::function<SheetModes()> currentModes{};  // none: `modes` hold for the window's life
    LinkEnvironment* environment = nullptr;
    indEnviron* settings = nullptr;  // none: the bounds are not kept
  };

  explicit MchWinForm(const Setup& setup, QWidget* parent = nullptr);
  ~MchWinForm() override;

  // Shows the channel of the bank, or the main sheet's current channel.
  bool Open(int bank, int channel);
  bool OpenFor(const cuiSheet* mainSheet) { return logic_->OpenFor(mainSheet); }
  iuiMchWin& Logic() { return *logic_; }
  cuiSheetFrame& Frame() const { return *frame_; }
  QPushButton& CloseButton() const { return *close_; }
  QPushButton& NextButton() const { return *next_; }
  QPushButton& PreviousButton() const { return *previous_; }
  QCheckBox& FollowBox() const { return *follow_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  static void Listen(void* data, const Event& event);
  void OnEvent(const Event& event);
  void StoreBounds() const;
  void RestoreBounds();

  cmcEvMan* events_;
  indEnviron* settings_;
  cuiSheetFrame* frame_;
  QPushButton* close_;
  QPushButton* next_;
  QPushButton* previous_;
  QCheckBox* follow_;
  std::unique_ptr<iuiMchWin> logic_;
};
