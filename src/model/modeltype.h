#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

// The radio family of an image. A stored number becomes a ModelType in one
// place (ModelTypeFromNumber); everything else asks the predicates below.
enum class ModelType { kLandMobile, kPmr, kPmrVexl, kDpmr446 };

constexpr int kModelTypeCount = 4;
constexpr std::array<ModelType, kModelTypeCount> kAllModelTypes = {ModelType::kLandMobile, ModelType::kPmr,
                                                                   ModelType::kPmrVexl, ModelType::kDpmr446};

// The number the settings, the overlay's line lists and the menu commands use.
constexpr int ModelNumber(ModelType type) { return static_cast<int>(type); }
constexpr std::size_t ModelIndex(ModelType type) { return static_cast<std::size_t>(type); }

// Nothing for a number without a memory map.
constexpr std::optional<ModelType> ModelTypeFromNumber(int number) {
  if (number < 0 || number >= kModelTypeCount) return std::nullopt;
  return static_cast<ModelType>(number);
}
// A stored number without a memory map starts as land-mobile.
constexpr ModelType ModelTypeOrLandMobile(int number) {
  return ModelTypeFromNumber(number).value_or(ModelType::kLandMobile);
}

// PMR radios, with or without Vexl signalling: the PMR choice lists, the PMR
// frequency grid and the "Only_Pmr" sheet lines.
constexpr bool IsPmr(ModelType type) { return type == ModelType::kPmr || type == ModelType::kPmrVexl; }
constexpr bool HasVexl(ModelType type) { return type == ModelType::kPmrVexl; }
constexpr bool IsDpmr446(ModelType type) { return type == ModelType::kDpmr446; }
constexpr bool IsLandMobile(ModelType type) { return type == ModelType::kLandMobile; }

// The word that sheet names carry for a model type ("GI_Sheet_Mch_Pmr").
constexpr std::string_view ModelWord(ModelType type) {
  constexpr std::array<std::string_view, kModelTypeCount> kWords = {"Lmr", "Pmr", "PmrB", "DPmr446"};
  return kWords[ModelIndex(type)];
}
