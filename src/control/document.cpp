#include "control/document.h"

#include "control/prepareimage.h"
#include "model/memorymap.h"

Document::Document(cmcGTex& mainOverlay, int imageSize) : overlay_(mainOverlay), imageSize_(imageSize) {
  for (cmcEeprom* image : {&edit_, &second_}) image->Resize(imageSize_);
  saved_ = edit_;
  initial_ = edit_;
}

void Document::StartFromInitialImage() {
  edit_ = initial_;
  second_ = initial_;
  memmap::Encode(edit_, type_);
  memmap::Encode(second_, type_);
}

void Document::LoadModel(ModelType type) {
  type_ = type;
  cloneio::LoadInitialImage(overlay_, type_, initial_);
  StartFromInitialImage();
  saved_ = edit_;
  modifiedMark_ = false;
  comparison_ = initial_;
  fileName_.clear();
  history_.Clear();
}

void Document::New() { LoadModel(type_); }

Document::OpenResult Document::Open(const std::string& path) {
  cmcEeprom candidate;
  cloneio::FileHeader header;
  if (cloneio::Open(overlay_, path, candidate, &header) != cmcCloneFile::kOk) return OpenResult::kRefused;

  Adopt(candidate);
  saved_ = edit_;
  modifiedMark_ = false;
  fileName_ = path;
  header_ = header;
  history_.Clear();
  return OpenResult::kOpened;
}

void Document::Adopt(const cmcEeprom& raw) {
  // The image's own model type decides which initial image fills the work
  // area around the blocks it carries.
  cmcEeprom decoded = raw;
  memmap::Decode(decoded);
  const ModelType rawType = memmap::ModelTypeFromFlags(decoded);
  if (rawType != type_) {
    type_ = rawType;
    cloneio::LoadInitialImage(overlay_, type_, initial_);
  }
  StartFromInitialImage();
  cloneio::CopyRawArea(raw, edit_);
  cloneio::CopyRawArea(raw, second_);
  memmap::Decode(edit_);
  memmap::Decode(second_);
  PrepareImage(edit_);
}

void Document::TakeFromRadio(const cmcEeprom& received) {
  Adopt(received);
  comparison_ = edit_;
  saved_ = edit_;
  modifiedMark_ = true;
  fileName_.clear();
  header_ = {};
  history_.Clear();
}

cmcEeprom Document::WriteCopy() const {
  cmcEeprom copy = edit_;
  PrepareImage(copy);
  return copy;
}

Document::SaveResult Document::SaveAs(const std::string& path) {
  // A refused save leaves the edit image, and so the modified test, as it was.
  const cmcEeprom before = edit_;
  PrepareImage(edit_);
  const SaveResult result = cloneio::Save(overlay_, path, edit_, type_);
  if (result != SaveResult::kSaved) {
    edit_ = before;
    return result;
  }
  fileName_ = path;
  saved_ = edit_;
  modifiedMark_ = false;
  return result;
}
