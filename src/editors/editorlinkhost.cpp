#include "editors/editorlinkhost.h"

#include "editors/fbitsr.h"
#include "editors/fieldeditor.h"
#include "editors/fsegtext.h"
#include "editors/segedit.h"
#include "markup/ids.h"
#include "sheet/bitfieldform.h"

bool EditorLinkHost::OpenFlagEditor(cmcCellCapsule& request, const FlagEditorForm& form, std::uint32_t bits) {
  if (!form.sheet.empty()) return OpenChoiceList(request, form.sheet, cl::Flex0, 0);
  const std::optional<EditorOpener> opener = EditorOpener::Of(request);
  const std::optional<SheetServices> services = Services();
  if (!services || !opener || !BitFieldForm::Fits(form.firstOption, form.lastOption)) return false;
  new cuiFBitsR(*opener, *services, form, bits);
  return true;
}

bool EditorLinkHost::OpenTextEditor(cmcCellCapsule& request, const TextEditorForm& form) {
  const std::optional<EditorOpener> opener = EditorOpener::Of(request);
  const std::optional<SheetServices> services = Services();
  if (!services || !opener || !services->charset || !services->segchar) return false;
  new cuiFSegText(*opener, *services, form);
  return true;
}

bool EditorLinkHost::OpenSegmentCharacterEditor(cmcCellCapsule& request, std::uint16_t pattern) {
  const std::optional<EditorOpener> opener = EditorOpener::Of(request);
  const std::optional<SheetServices> services = Services();
  if (!services || !opener || !services->segchar) return false;
  new cuiSegEdit(*opener, services->mainOverlay, services->events, *services->segchar, pattern);
  return true;
}
