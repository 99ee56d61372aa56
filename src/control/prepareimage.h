#pragma once

class cmcEeprom;

// The consistency pass over a decoded edit image, run after an image is
// loaded (from a file or a radio) and before it is saved or written:
// - older data stored the emergency call's mode in the key assignment (key
//   functions 27, 28, 37 and 38); each of those becomes the plain emergency
//   key 67, and the silent flag and the repeat cycle take what they meant;
// - the data-format marker becomes 1, the format this program writes, so its
//   own files pass its newer-data check.
void PrepareImage(cmcEeprom& image);
