#pragma once

#include <optional>
#include <span>
#include <string>

#include "control/warningcheck.h"
#include "model/eeprom.h"

class cmcGTex;

// The check before a write, the same for the window and the command line. It
// is a list of steps over what is about to be written; each step either finds
// nothing, refuses the write (an error message, nothing is sent), or asks a
// question whose Cancel stops the write. The command line's --yes answers the
// questions; nothing answers a refusal.
namespace writecheck {

// What the steps look at.
struct Facts {
  const cmcEeprom& image;     // the decoded edit image
  const WarningMarks& marks;  // the warning check over that image
};

struct Finding {
  enum class Kind { kRefusal, kQuestion };
  Kind kind = Kind::kRefusal;
  std::string text;
};

using Step = std::optional<Finding> (*)(cmcGTex& overlay, const Facts& facts);

// The steps in the order they run: a channel in use, no error in the data
// check, the warnings accepted.
std::span<const Step> Steps();

// Runs `steps` in order and shows what they find through the current message
// box (a refusal with the error icon, a question with OK and Cancel); true
// when the write may go on.
bool Passes(cmcGTex& overlay, const Facts& facts, std::span<const Step> steps = Steps());

}  // namespace writecheck
