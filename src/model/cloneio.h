#pragma once

#include <string>

#include "model/clonefile.h"
#include "model/eeprom.h"
#include "model/modeltype.h"

class cmcGTex;

// The clone-file steps of the main controller's commands open and save and of
// the start-up read of the initial file. Messages are texts of the main overlay.
namespace cloneio {

constexpr int kExtraCode = 6;
constexpr int kAlternativeExtraCode = 0x0100;
constexpr int kSavedMapRevision = 7;
constexpr int kHighestMapRevision = 7;

// The header of a file that was read.
struct FileHeader {
  int modelCode = 0;
  int extraCode = 0;
  int mapRevision = -1;
};

// Shows the message of a clone-file error code (nothing for 0).
void ShowFileError(cmcGTex& overlay, cmcCloneFile::Error error);
// Shows that the image does not fit in the radio's memory.
void ShowEncodeOverflow(cmcGTex& overlay);

// Gives a file object the controller's codes, checks and messages.
void Configure(cmcCloneFile& file, cmcGTex& overlay, FileHeader* header);

// Reads `path` into `candidate` (a zero-filled image of the application's size
// on return; its raw area holds the file) with every check of the open command.
// Anything but kOk: the file was refused and its message has been shown.
[[nodiscard]] cmcCloneFile::Error Open(cmcGTex& overlay, const std::string& path, cmcEeprom& candidate,
                                       FileHeader* header);

// Encodes the edit image and writes it to `path`. An image that does not
// encode is left as it was and nothing is written. On any failure its message
// has been shown and an existing file at `path` is untouched.
enum class SaveResult { kSaved, kDoesNotEncode, kWriteFailed };
[[nodiscard]] SaveResult Save(cmcGTex& overlay, const std::string& path, cmcEeprom& edit, ModelType modelType);

// The initial file of a model type, beside the executable (or in RWQ_DATA_DIR).
std::string InitialFilePath(cmcGTex& overlay, ModelType modelType);
// Reads and decodes the initial image of the model type; a failure is fatal.
void LoadInitialImage(cmcGTex& overlay, ModelType modelType, cmcEeprom& initial);

// Replaces the raw area of `target` by that of `source`.
void CopyRawArea(const cmcEeprom& source, cmcEeprom& target);

}  // namespace cloneio
