#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>

#include "app/accesswords.h"
#include "app/channelcsvcommands.h"
#include "app/clonedesk.h"
#include "app/settingswidthstore.h"
#include "control/commandlinks.h"
#include "control/document.h"
#include "control/documentcommands.h"
#include "control/documentundo.h"
#include "control/itemdispatch.h"
#include "control/navtree.h"
#include "control/sheetopener.h"
#include "control/sheetswitcher.h"
#include "control/warningcheck.h"
#include "control/worklayout.h"
#include "editors/editorlinkhost.h"
#include "links/celllinks.h"
#include "links/linktable.h"
#include "markup/fcache.h"
#include "model/charset.h"
#include "model/eeprom.h"
#include "runtime/tick.h"
#include "sheet/segchar.h"

class MainView;
class QObject;
class MchWinForm;
class QWidget;
class TaskScheduler;
class cmcEvMan;
class cmcGTex;
class cmcHelpGTex;
class cmcTask;
class indEnviron;
struct Event;

// The application-wide objects the controller works with; they outlive it.
struct ControllerServices {
  indEnviron& settings;
  cmcGTex& mainOverlay;
  cmcGTex& languageList;
  cmcHelpGTex& helpOverlay;
  cmcEvMan& events;
  TaskScheduler& scheduler;
};

// The model codes clone files and radios must carry.
struct ModelCodes {
  int main = 0;
  int further[2] = {0, 0};
  int extra = 0;
};

// The main controller: owns the document's EEPROM images, the operating modes
// and the main window's contents, and carries out the user's commands.
// Construction opens the overlays of the stored language and prepares the
// images; Build fills the main window and loads the model's initial image.
// The menu, tool bar and tree reach the commands through the command links,
// which this controller serves (cuimaincommands.cpp).
class cuiMain : public CommandTarget, public SheetOpener, private DocumentWindow, private SheetHost {
 public:
  cuiMain(const ControllerServices& services, std::string baseName, int imageSize);
  ~cuiMain() override;
  cuiMain(const cuiMain&) = delete;
  cuiMain& operator=(const cuiMain&) = delete;

  virtual void InitModelCodes() = 0;
  // Fills the main window, loads the model and shows the window.
  virtual void Build(MainView& view, std::span<const char* const> arguments);
  // Recreates the navigation tree for the current modes and model type.
  void RebuildTree() override;
  // What the tree shows depends on.
  TreeFacts TreeFactsNow() const;
  // The menu, tool bar and tree run their items through the cell links.
  ItemDispatch& Items() { return *items_; }
  // Reads the model type's initial file into the images; a failure is fatal.
  virtual void LoadModel(ModelType modelType);
  // One character typed in the about box.
  virtual void OnKeyChar(QObject* sender, char typed);
  // Evaluates the check list and marks the tree; the marks it found.
  virtual WarningMarks RunWarningCheck();

  // Each shows its caution once and turns its mode on only on OK.
  void RequestMakerMode();
  void RequestExtendedMode();
  // The about box opened: the maker word starts again.
  void RestartAccessWords() { accessWords_.ResetMakerMatch(); }

  // The main window's close query: false keeps it open.
  bool QueryClose();
  // The main window is closing: the controller's task stops and the sheet goes.
  void OnFormClosing();
  void UpdateTitle() { documentCommands_.UpdateTitle(); }
  // The document's file commands and their questions.
  DocumentCommands& Documents() { return documentCommands_; }
  // The data or what shows of it changed: the title and the delayed warning check follow.
  void MarkModifiedIfChanged();
  void CloseSheet() override { sheets_.CloseSheet(); }
  // Re-evaluates the work-area layout; nothing happens when it has not changed.
  void UpdateLayout();
  // The 50 ms tick: reopens a sheet when none is open and runs the delayed check.
  void OnTick();

  // The evaluator of every cell of the main window: sheets, menus, tool bar and tree.
  CellLinks& Links() { return *links_; }
  cuiSheet* CurrentSheet() const { return sheets_.Current(); }
  const WindowWants& Wants() const { return wants_; }
  const WorkLayout& Layout() const { return layout_; }

  bool IsMakerMode() const { return makerMode_; }
  bool IsExtendedMode() const { return extendedMode_; }
  ModelType Type() const { return document_.Type(); }
  int LanguageCount() const { return languageCount_; }
  const std::string& DocumentFolder() const { return documentFolder_; }
  const ModelCodes& AcceptedModelCodes() const { return modelCodes_; }
  const Document& Doc() const { return document_; }
  const cmcEeprom& EditImage() const { return document_.Edit(); }
  const cmcEeprom& InitialImage() const { return document_.Initial(); }
  bool IsModified() const { return document_.IsModified(); }
  cmcGTex& MainOverlay() { return overlay_; }
  cmcEvMan& Events() { return events_; }
  indEnviron& Settings() { return settings_; }

  // --- CommandTarget: the commands of the menu, tool bar and tree ---
  void NewDocument() override { documentCommands_.NewDocument(); }
  void OpenDocument() override { documentCommands_.OpenDocument(); }
  void SaveDocument() override { documentCommands_.SaveDocument(); }
  void SaveDocumentAs() override { documentCommands_.SaveDocumentAs(); }
  std::string RecentDisplayName(int n) const override { return documentCommands_.RecentDisplayName(n); }
  void OpenRecent(int n) override { documentCommands_.OpenRecent(n); }
  void ExportChannels() override;
  void ImportChannels() override;
  void CloseMainWindow() override;
  void PrepareEditMenu() override;
  void OpenSheet(const std::string& reference) override;
  bool IsMchWindowWanted() const override { return wants_.mchWanted; }
  void ToggleMchWindow() override;
  bool IsHelpWindowWanted() const override { return wants_.helpWanted; }
  void ToggleHelpWindow() override;
  int FontSize() const override;
  void SetFontSize(int size) override;
  bool IsToolBarShown() const override;
  void ToggleToolBar() override;
  ModelType Model() const override { return document_.Type(); }
  void ChangeModel(ModelType modelType, bool ask) override;
  bool IsHelpPopupAvailable() const override;
  void ShowHelpPopup() override;
  std::string LanguageName(int n) const override;

 protected:
  ModelCodes modelCodes_;
  MainView* view_ = nullptr;

 private:
  static void OnEvent(void* self, const Event& event);
  bool Confirm(std::string_view cautionName);
  // The area heights of the layout groups, from and to the settings.
  void LoadStoredHeights();
  void StoreHeights();
  // The radio commands and the CSV commands, which need the main window.
  void BuildTools(MainView& view);
  // The memory-channel window in its area of the work area, once.
  void OpenMchWindow();
  // What sheets are built for now: the model, the modes and the user's font size.
  SheetModes ModesNow() const;
  CloneControllerHooks CloneHooks();
  // When no sheet is open: the selected tree node's sheet, else one from the history.
  void OpenFallbackSheet();

  // DocumentWindow
  std::optional<std::string> AskOpenPath(const FileDialogRequest& request) override;
  std::optional<std::string> AskSavePath(const FileDialogRequest& request) override;
  void SetBusy(bool busy) override;
  void SetTitle(const std::string& title) override;
  void ModelTypeChosen(ModelType modelType) override;
  // SheetHost
  SheetServices ServicesForSheet() override;
  void HostSheet(std::unique_ptr<cuiSheet> sheet) override;
  void RemoveSheet() override;
  bool SheetHasFocus() const override;
  void FocusSheet(bool sheet) override;

  indEnviron& settings_;
  cmcGTex& overlay_;
  cmcGTex& languageList_;
  cmcEvMan& events_;
  const std::string baseName_;
  const int imageSize_;

  int languageCount_ = 0;
  cmcFCache selectionCache_;
  std::string documentFolder_;
  TaskScheduler& scheduler_;
  // The HTML help and the channel clipboard join here.

  Document document_;
  DocumentUndo undo_;
  std::unique_ptr<CloneDesk> cloneDesk_;
  std::unique_ptr<ChannelCsvCommands> csv_;
  // The radio's character set of the channel and bank names.
  // Read after the overlays, whose faults are reported first.
  std::optional<Charset> charset_;
  std::optional<Segchar> segchar_;  // the display's segment shapes, for glyphs and the character editor
  QWidget* mchArea_ = nullptr;
  MchWinForm* mchWindow_ = nullptr;
  DocumentCommands documentCommands_;
  WindowWants wants_;
  WorkLayout layout_;
  // The drop-down choice lists of the cells.
  EditorLinkHost editors_;
  SettingsWidthStore widths_;
  LinkEnvironment environment_;
  LinkTable linkTable_;
  std::unique_ptr<CellLinks> links_;
  std::unique_ptr<LinkItemDispatch> items_;
  SheetSwitcher sheets_;
  const platform::Clock& clock_;
  std::optional<cmcTick> refreshTimer_;  // the delayed check after an edit
  bool editMenuAnnounced_ = false;       // the open sheet's grid filled the Edit menu

  cmcTask* task_;

  bool makerMode_ = false;
  bool extendedMode_ = false;
  AccessWordWatcher accessWords_;
};
