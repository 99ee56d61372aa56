#pragma once

#include <span>
#include <string>

#include "app/accesswords.h"
#include "markup/fcache.h"
#include "model/eeprom.h"

class QObject;
class TForm1;
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
class cuiMain {
 public:
  cuiMain(const ControllerServices& services, std::string baseName, int imageSize);
  virtual ~cuiMain();
  cuiMain(const cuiMain&) = delete;
  cuiMain& operator=(const cuiMain&) = delete;

  virtual void InitModelCodes() = 0;
  // Fills the form, loads the model and shows the form.
  virtual void Build(TForm1& form, std::span<const char* const> arguments);
  // Recreates the navigation tree for the current modes and model type.
  virtual void RebuildTree() {}
  // Reads the model type's initial file into the images; a failure is fatal.
  virtual void LoadModel(int modelType);
  // One character typed in the about box.
  virtual void OnKeyChar(QObject* sender, char typed);

  // Each shows its caution once and turns its mode on only on OK.
  void RequestMakerMode();
  void RequestExtendedMode();
  // The about box opened: the maker word starts again.
  void RestartAccessWords() { accessWords_.ResetMakerMatch(); }

  // The form is closing: keep its bounds for the next start and stop the task.
  void OnFormClosing();
  void UpdateTitle();

  bool IsMakerMode() const { return makerMode_; }
  bool IsExtendedMode() const { return extendedMode_; }
  int ModelType() const { return modelType_; }
  int LanguageCount() const { return languageCount_; }
  const std::string& DocumentFolder() const { return documentFolder_; }
  const ModelCodes& AcceptedModelCodes() const { return modelCodes_; }
  const cmcEeprom& EditImage() const { return edit_; }
  const cmcEeprom& InitialImage() const { return initial_; }
  bool IsModified() const { return modified_; }
  cmcGTex& MainOverlay() { return overlay_; }
  indEnviron& Settings() { return settings_; }

 protected:
  ModelCodes modelCodes_;
  TForm1* form_ = nullptr;

 private:
  static void OnEvent(void* self, const Event& event);
  bool Confirm(std::string_view cautionName);

  indEnviron& settings_;
  cmcGTex& overlay_;
  cmcEvMan& events_;
  const std::string baseName_;
  const int imageSize_;

  int languageCount_ = 0;
  int modelType_ = 0;
  cmcFCache selectionCache_;
  std::string documentFolder_;
  std::string fileName_;  // empty: untitled
  // The clone manager, the HTML help and the channel clipboard join here.

  cmcEeprom edit_;        // the document being edited
  cmcEeprom second_;      // what the radio holds, for sending only the differences
  cmcEeprom initial_;     // the decoded initial file of the model type
  cmcEeprom saved_;       // the edit image as last created, opened or saved
  cmcEeprom comparison_;  // for the debug comparison
  bool modified_ = false;

  cmcTask* task_;

  bool makerMode_ = false;
  bool extendedMode_ = false;
  AccessWordWatcher accessWords_;
};
