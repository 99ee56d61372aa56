#pragma once

#include <QWidget>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/environ.h"
#include "app/indmain.h"
#include "app/mainform.h"
#include "core/gtex.h"
#include "platform/clock.h"
#include "runtime/evman.h"
#include "runtime/taskscheduler.h"
#include "sheet/cellposition.h"
#include "support/recording_message_box.h"
#include "support/temp_dir.h"

class MchWinForm;
class QAction;
class cuiGrid;
class cuiSheet;

// The whole main window as a user meets it: the shipped overlays and initial
// files, a fresh settings folder, and the user's keys and clicks sent to the
// widget that has the focus. A journey reads like the steps a user takes:
// open, select a node, key, type, click a cell, choose a menu item, expect.
class Journey {
 public:
  // Settings() can be adjusted before Start().
  explicit Journey(std::vector<const char*> arguments = {"rw-m52-q"});
  ~Journey();
  Journey(const Journey&) = delete;
  Journey& operator=(const Journey&) = delete;

  // Starts (again) on the same settings folder, as a restart does.
  void Start();
  void Restart();
  indEnviron& Settings() { return *settings_; }

  // File > Open of (a copy of) one of the shipped files.
  void Open(const std::string& dataFile);
  // Selects the tree node with the caption, as a click on it does.
  void SelectNode(const std::string& caption);
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  void Type(const std::string& text);
  void ClickCell(int column, int row);
  // Clicks the cell and types `text` a key at a time (the first key may open
  // the cell's editor, which takes the rest), then Enter.
  void EnterInCell(int column, int row, const std::string& text);
  // Clicks the main-menu item whose cell has the link (and the parameter, when given).
  void MenuItem(int link, std::optional<int> parameter = std::nullopt);
  // That item, its state refreshed as before its menu opens.
  QAction& MenuAction(int link, std::optional<int> parameter = std::nullopt);
  // Drags the right edge of the column's heading by dx pixels.
  void DragColumnEdge(int column, int dx);
  // Lets the timers, the posted events and the controller's ticks run.
  void Settle();

  TForm1& Form() { return *form_; }
  indMain& Controller() { return *controller_; }
  cuiGrid& Grid();
  cuiSheet& Sheet();
  CellPosition Current();
  std::string CellText(int column, int row);
  std::string Title();
  QWidget* Focus() const;
  // The drop-down chooser on show, or none.
  QWidget* Chooser() const;
  cmcEvMan& Events() { return events_; }
  // The memory-channel window, or none.
  MchWinForm* MchWindow() const;

  RecordingMessageBox boxes;
  // What Qt warned about meanwhile ("Ambiguous shortcut overload" and such).
  static std::vector<std::string>& QtWarnings();

 private:
  std::vector<const char*> arguments_;
  TempDir config_;
  TempDir documents_;  // the journey's copies of the shipped files
  std::unique_ptr<indEnviron> settings_;
  // Read again at each start, as a new process reads them.
  std::unique_ptr<cmcGTex> mainOverlay_;
  std::unique_ptr<cmcGTex> languageList_;
  std::unique_ptr<cmcHelpGTex> helpOverlay_;
  platform::ManualClock clock_;
  TaskScheduler scheduler_{clock_};
  cmcEvMan events_{scheduler_};
  std::unique_ptr<indMain> controller_;
  std::unique_ptr<TForm1> form_;
};
