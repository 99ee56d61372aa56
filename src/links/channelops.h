#pragma once

#include <cstdint>

#include "model/ch.h"
#include "model/eeprom.h"

class cmcGTex;

// What the channel links share: which cells are channel cells, whether the
// overlay shows banks, and channel creation on a blank row.
namespace chops {

// The cell types whose cells address one channel.
bool IsChannelType(int type);
// Banks are in use unless the overlay's bank-operation branch is "None".
bool BanksShown(cmcGTex& overlay);

// The bank a new channel on row `channel` joins: the sheet's bank when the row
// ends that bank, else the bank holding the row, else the last bank that ends
// at the row.
int BankForNewChannel(const cmcEeprom& image, int channel, int sheetBank);

// Makes row `channel` a channel with default values and the given receive
// frequency (0: the default one): the row after the list joins `bank`, a row of the list without a
// frequency is reused. Stores it and encodes the image; `record` (a record over
// `image`) is left loaded on it. False, with the overflow message shown and
// nothing changed, when 128 channels are in use or memory is full.
bool CreateChannel(cmcEeprom& image, datCh& record, cmcGTex& overlay, ModelType modelType, int channel, int bank,
                   std::uint32_t receiveHz);

}  // namespace chops
