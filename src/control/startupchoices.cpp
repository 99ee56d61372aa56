#include "control/startupchoices.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "model/cloneio.h"
#include "model/memorymap.h"

namespace {

constexpr int kMaxLanguages = 256;

int CountLines(const std::string& blockText, int limit) {
  if (blockText.empty()) return 0;
  return std::min(static_cast<int>(std::ranges::count(blockText, '\n')) + 1, limit);
}

// A folder opens for reading too, but it is no file.
bool IsReadableFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(path, error) && std::ifstream(path, std::ios::binary).is_open();
}

std::string OverlayPathOf(cmcGTex& languageList, int index, const std::string& dataDir) {
  const std::string line = languageList.GetLine(gi::GI_Sys_Language, static_cast<std::size_t>(index));
  return dataDir + cmcGTex::GetField(line, '\t', 1).value_or("");
}

}  // namespace

int CountLanguages(cmcGTex& languageList) {
  return CountLines(languageList.GetBlockText(gi::GI_Sys_Language), kMaxLanguages);
}

LanguageChoice ChooseLanguage(cmcGTex& languageList, int storedLanguage, const std::string& dataDir) {
  const int count = CountLanguages(languageList);
  if (storedLanguage > 0 && storedLanguage < count) {
    std::string path = OverlayPathOf(languageList, storedLanguage, dataDir);
    if (path != dataDir && IsReadableFile(path)) return {storedLanguage, std::move(path)};
  }
  return {0, OverlayPathOf(languageList, 0, dataDir)};
}

ModelType ChooseModelType(cmcGTex& mainOverlay, int storedModelType) {
  // Stored numbers past the memory map's models have no map of their own.
  const std::optional<ModelType> stored = ModelTypeFromNumber(storedModelType);
  if (!stored || IsLandMobile(*stored)) return ModelType::kLandMobile;
  const int number = ModelNumber(*stored);
  const int files = CountLines(mainOverlay.GetBlockText(gi::GI_App_InitialFile), number + 1);
  if (files <= number || !IsReadableFile(cloneio::InitialFilePath(mainOverlay, *stored))) return ModelType::kLandMobile;
  return *stored;
}

std::string FirstLanguageOverlayPath(const std::string& dataDir) {
  cmcGTex languageList;
  languageList.Open(dataDir + LanguageListFileName());
  return ChooseLanguage(languageList, 0, dataDir).mainOverlayPath;
}

bool WantsBetaNotice(std::string_view brcLine) {
  std::string text(brcLine);
  cmcGTex::TrimBlanks(text);
  int value = 1;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || text.empty()) return true;
  return value != 0;
}
