#include "control/documentcheck.h"

#include "control/document.h"
#include "links/celllinks.h"
#include "markup/fcache.h"
#include "model/charset.h"
#include "sheet/headless.h"

WarningMarks CheckDocument(cmcGTex& overlay, Document& document) {
  cmcFCache choices(overlay);
  NoEditors editors;
  LinkEnvironment environment{document.Edit(), overlay, choices, editors};
  environment.modelType = document.Type();
  const Charset charset = Charset::LoadShipped();
  environment.charset = &charset;
  environment.initialImage = &document.Initial();
  CellLinks links(environment);
  return RunWarningCheck(overlay, links, document.Type());
}
