#pragma once

// The land-mobile initial image with all 128 channels of bank 0 in use, and
// an evaluator over it; the shipped overlay and initial file come from the
// data folder.
#include <memory>
#include <string>

#include "core/gtex.h"
#include "links/celllinks.h"
#include "markup/fcache.h"
#include "model/ch.h"
#include "model/cloneio.h"
#include "model/memorymap.h"
#include "platform/paths.h"
#include "sheet/headless.h"
#include "sheet/sheetfactory.h"

struct FullLandMobile {
  FullLandMobile() {
    overlay.Open(platform::DataDir() + "QZ5071KE.OVL");
    cloneio::LoadInitialImage(overlay, ModelType::kLandMobile, image);
    datCh::SetBankSize(image, 0, memmap::kMaxChannels);
    datCh channel(image);
    for (int number = 0; number < memmap::kMaxChannels; ++number) {
      channel.load(datCh::kFirstChannelKind, number);
      channel.initialise();
      channel.freqR = 144000000 + 12500u * static_cast<std::uint32_t>(number);
      channel.name = "CH " + std::to_string(number) + "     ";
      channel.name.resize(datCh::kNameLength);
      channel.store();
    }
  }
  // The channel sheet of bank 0, not yet built; measured by `measurer`
  // (fixed-width characters when none) and shown in `view` (none: nowhere).
  std::unique_ptr<cuiSheet> Sheet(SheetView* view = nullptr, const TextMeasurer* measurer = nullptr) {
    SheetServices services{overlay, overlay, image, measurer ? *measurer : characters};
    services.links = &links;
    services.view = view;
    return CreateSheet(SheetRef::Parse("[St_ChBank]GI_Sheet_Mch_Lmr,Bank 0"), services);
  }

  cmcGTex overlay;
  cmcEeprom image;
  cmcFCache choices{overlay};
  NoEditors editors;
  LinkEnvironment environment{image, overlay, choices, editors};
  CellLinks links{environment};
  CharacterMeasurer characters;
};
