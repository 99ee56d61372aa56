#pragma once

#include <string>

#include "control/undohistory.h"
#include "model/clonefile.h"
#include "model/cloneio.h"
#include "model/eeprom.h"
#include "model/modeltype.h"

class cmcGTex;

// The open document: the five images, the model type, the file name and the
// saved state, with the file flows that change them. Every flow shows its own
// messages through the message box and leaves the document as it was when it
// fails. The window, the command line and the tests share these calls.
class Document {
 public:
  enum class OpenResult { kOpened, kRefused };
  using SaveResult = cloneio::SaveResult;

  explicit Document(cmcGTex& mainOverlay, int imageSize = cmcEeprom::kImageSize);

  // Reads the initial file of `type` and makes it the whole document:
  // untitled and unmodified. A missing or damaged initial file is fatal.
  void LoadModel(ModelType type);
  // A fresh untitled document of the current model type.
  void New();
  // Reads a clone file with every check of the open command; the document
  // takes the model type the file's flags name.
  [[nodiscard]] OpenResult Open(const std::string& path);
  // Makes the raw area that a radio sent the whole document, decoded over the
  // initial image of the model type it names: untitled and modified.
  void TakeFromRadio(const cmcEeprom& received);
  // Encodes the edit image and writes it to `path`; on success the document
  // is named `path` and unmodified.
  [[nodiscard]] SaveResult SaveAs(const std::string& path);
  // Saves under the current name; an untitled document cannot be saved so.
  [[nodiscard]] SaveResult Save() { return SaveAs(fileName_); }

  ModelType Type() const { return type_; }
  const std::string& FileName() const { return fileName_; }
  bool IsUntitled() const { return fileName_.empty(); }
  // The edit image differs from the one last created, opened or saved, or
  // came from somewhere other than a file.
  bool IsModified() const { return modifiedMark_ || !(edit_ == saved_); }
  // The edit image came from the radio: modified until it is saved.
  void MarkModified() { modifiedMark_ = true; }
  // The header of the file last opened.
  const cloneio::FileHeader& Header() const { return header_; }

  cmcEeprom& Edit() { return edit_; }
  const cmcEeprom& Edit() const { return edit_; }
  // What a clone write sends: a copy of the edit image through the
  // preparation a save gives it, still decoded.
  cmcEeprom WriteCopy() const;
  cmcEeprom& Second() { return second_; }
  const cmcEeprom& Initial() const { return initial_; }
  const cmcEeprom& Saved() const { return saved_; }
  cmcEeprom& Comparison() { return comparison_; }
  // The edits since the image was last created, opened or read from a radio;
  // a save keeps them.
  UndoHistory& History() { return history_; }
  const UndoHistory& History() const { return history_; }

 private:
  // Edit and second image from the initial image, encoded for the model type.
  void StartFromInitialImage();
  // Edit and second image from a raw area, with its own model type.
  void Adopt(const cmcEeprom& raw);

  cmcGTex& overlay_;
  const int imageSize_;
  ModelType type_ = ModelType::kLandMobile;
  std::string fileName_;  // empty: untitled
  cloneio::FileHeader header_;

  cmcEeprom edit_;        // the document being edited
  cmcEeprom second_;      // what the radio holds, for sending only the differences
  cmcEeprom initial_;     // the decoded initial file of the model type
  cmcEeprom saved_;       // the edit image as last created, opened or saved
  cmcEeprom comparison_;  // for the debug comparison
  bool modifiedMark_ = false;
  UndoHistory history_;
};
