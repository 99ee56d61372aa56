#pragma once

#include <span>
#include <string>

#include "app/accesswords.h"
#include "control/document.h"
#include "control/itemdispatch.h"
#include "control/navtree.h"
#include "control/sheetopener.h"
#include "links/celllinks.h"
#include "markup/fcache.h"
#include "model/eeprom.h"
#include "sheet/headless.h"

class MainView;
class QObject;
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
class cuiMain : public SheetOpener {
 public:
  cuiMain(const ControllerServices& services, std::string baseName, int imageSize);
  virtual ~cuiMain();
  cuiMain(const cuiMain&) = delete;
  cuiMain& operator=(const cuiMain&) = delete;

  virtual void InitModelCodes() = 0;
  // Fills the main window, loads the model and shows the window.
  virtual void Build(MainView& view, std::span<const char* const> arguments);
  // Recreates the navigation tree for the current modes and model type.
  virtual void RebuildTree();
  // The sheet the tree chose. The sheet area takes it from here.
  void OpenSheet(const std::string& reference) override { currentSheet_ = reference; }
  const std::string& CurrentSheet() const { return currentSheet_; }
  // What the tree shows depends on.
  TreeFacts TreeFactsNow() const;
  // The menu, tool bar and tree run their items through the cell links.
  ItemDispatch& Commands() { return commands_; }
  cmcEvMan& Events() { return events_; }
  // Reads the model type's initial file into the images; a failure is fatal.
  virtual void LoadModel(ModelType modelType);
  // One character typed in the about box.
  virtual void OnKeyChar(QObject* sender, char typed);

  // Each shows its caution once and turns its mode on only on OK.
  void RequestMakerMode();
  void RequestExtendedMode();
  // The about box opened: the maker word starts again.
  void RestartAccessWords() { accessWords_.ResetMakerMatch(); }

  // The main window is closing: the controller's task stops.
  void OnFormClosing();
  void UpdateTitle();

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
  indEnviron& Settings() { return settings_; }

 protected:
  ModelCodes modelCodes_;
  MainView* view_ = nullptr;

 private:
  static void OnEvent(void* self, const Event& event);
  bool Confirm(std::string_view cautionName);

  indEnviron& settings_;
  cmcGTex& overlay_;
  cmcEvMan& events_;
  const std::string baseName_;
  const int imageSize_;

  int languageCount_ = 0;
  cmcFCache selectionCache_;
  std::string documentFolder_;
  // The clone manager, the HTML help and the channel clipboard join here.

  Document document_;
  // The links the menu, tool bar and tree evaluate; they open no editor.
  NoEditors noEditors_;
  LinkEnvironment linkEnvironment_;
  CellLinks links_;
  LinkItemDispatch commands_;
  std::string currentSheet_;

  cmcTask* task_;

  bool makerMode_ = false;
  bool extendedMode_ = false;
  AccessWordWatcher accessWords_;
};
