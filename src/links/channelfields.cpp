#include "links/channelfields.h"

namespace chfield {

namespace {

SlotLayout LayoutOf(Slot slot) {
  switch (slot) {
    case Slot::kRadio:
      return kRadioSlot;
    case Slot::kSetting:
      return kSettingSlot;
    case Slot::kOption:
      break;
  }
  return kOptionSlot;
}

}  // namespace

cmcBitField At(const Field& field, int channel) {
  SlotLayout layout = LayoutOf(field.slot);
  return cmcBitField{layout.base + layout.size * channel + field.offset, field.bytes, field.shift, field.width};
}

cmcBitField ListBit(int list, int channel) {
  return cmcBitField{kListBitmaps + kListBitmapSize * list + channel / 8, 1, 7 - channel % 8, 1};
}

}  // namespace chfield
