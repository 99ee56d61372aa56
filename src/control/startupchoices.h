#pragma once

#include <string>
#include <string_view>

#include "model/modeltype.h"

class cmcGTex;

// The choices start-up makes from stored settings and the shipped overlays.
// A stored value that the installed data cannot serve falls back to the first
// entry, so a changed installation never leaves the program unable to start.

// Lines of the language list, at most 256.
int CountLanguages(cmcGTex& languageList);

struct LanguageChoice {
  int index = 0;
  // The main overlay's path; only the data folder when the language's line
  // names no file, which fails at the first lookup.
  std::string mainOverlayPath;
};
// The stored language when the list has it and its overlay file is there,
// else language 0.
LanguageChoice ChooseLanguage(cmcGTex& languageList, int storedLanguage, const std::string& dataDir);

// The stored model type when the main overlay names an initial file for it
// and that file is there, else land-mobile.
ModelType ChooseModelType(cmcGTex& mainOverlay, int storedModelType);

// The main overlay of the first language, as the command-line program reads it.
std::string FirstLanguageOverlayPath(const std::string& dataDir);

// Whether line 0 of GI_Sys_BRC asks for the beta notice: any value but the
// number 0 does, text that is not a number included.
bool WantsBetaNotice(std::string_view brcLine);
