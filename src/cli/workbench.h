#pragma once

#include <string>

#include "control/document.h"
#include "core/gtex.h"

namespace cli {

// What a command that works on clone files needs: the main overlay of the
// first language and a document that opens and saves as the application does.
class Workbench {
 public:
  Workbench();

  cmcGTex& Overlay() { return overlay_; }
  Document& Doc() { return document_; }
  // Opens a clone file into the document; false after its message was shown.
  [[nodiscard]] bool Open(const std::string& path);
  // Saves the document as `path`; false after its message was shown.
  [[nodiscard]] bool SaveAs(const std::string& path);

 private:
  cmcGTex overlay_;
  Document document_;
};

}  // namespace cli
