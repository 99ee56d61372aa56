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
  if (!Services() || !opener || !BitFieldForm::Fits(form.firstOption, form.lastOption)) return false;
  new cuiFBitsR(*opener, *Services(), form, bits);
  return true;
}

bool EditorLinkHost::OpenTextEditor(cmcCellCapsule& request, const TextEditorForm& form) {
  const std::optional<EditorOpener> opener = EditorOpener::Of(request);
  if (!Services() || !opener || !Services()->charset || !Services()->segchar) return false;
  new cuiFSegText(*opener, *Services(), form);
  return true;
}

bool EditorLinkHost::OpenSegmentCharacterEditor(cmcCellCapsule& request, std::uint16_t pattern) {
  const std::optional<EditorOpener> opener = EditorOpener::Of(request);
  if (!Services() || !opener || !Services()->segchar) return false;
  new cuiSegEdit(*opener, Services()->mainOverlay, Services()->events, *Services()->segchar, pattern);
  return true;
}
