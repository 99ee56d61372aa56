#include "model/entryplaces.h"

#include <array>

namespace {

using T = EntryTable;

// Entry counts follow the work area's blocks; the two-tone tables start at entry 1.
constexpr std::array kPlaces{
    EntryPlace{T::kUserCharacter, 5, 0xA9FC, 2, 0, 15},
    EntryPlace{T::kDtmf, 6, 0xACAE, 21, 0, 7},
    EntryPlace{T::kScanEntry, 7, 0xAB7C, 18, 0, 16},
    EntryPlace{T::kToneSetting, 8, 0xAADC, 4, 0, 39},
    EntryPlace{T::kReceiveCode, 9, 0xAE96, 18, 0, 10},
    EntryPlace{T::kTransmitDigits, 10, 0x8BB0, 4, 0, 31},
    EntryPlace{T::kTransmitEntry, 10, 0xAD56, 10, 0, 31},
    EntryPlace{T::kUserToneEncode, 11, 0xAA1C, 2, 0, 8},
    EntryPlace{T::kUserToneDecode, 11, 0xAA3A, 4, 0, 8},
    EntryPlace{T::kTwoToneBounds, 12, 0xAA14, 8, 1, 10},
    EntryPlace{T::kTwoToneNominal, 12, 0x8BAC, 4, 1, 10},
    EntryPlace{T::kTwoTonePeriod, 12, 0xAA7E, 2, 1, 10},
    EntryPlace{T::kTwoToneTransmit, 12, 0xAD4C, 10, 1, 10},
    EntryPlace{T::kMskIdGroup, 15, 0xAF7E, 16, 0, 7},
    EntryPlace{T::kMskCallAddress, 16, 0x8C30, 4, 0, 31},
    EntryPlace{T::kMskCallEntry, 16, 0xB00C, 10, 0, 31},
    EntryPlace{T::kMskStatusReceive, 17, 0xB294, 12, 0, 23},
    EntryPlace{T::kMskStatusTransmit, 17, 0xB174, 12, 0, 23},
    EntryPlace{T::kMskShortText, 18, 0x8CB0, 8, 0, 7},
    EntryPlace{T::kMskShortTextFlag, 18, 0xB3B4, 2, 0, 7},
    EntryPlace{T::kDigitalStatusReceive, 19, 0xB644, 20, 0, 31},
    EntryPlace{T::kDigitalStatusTransmit, 19, 0xB3C4, 20, 0, 31},
    EntryPlace{T::kMdcAlias, 20, 0xBABD, 12, 0, 99},
    EntryPlace{T::kMdcSystem, 0, 0xBA2C, 29, 0, 4},
};

}  // namespace

std::optional<int> EntryPlace::AddressOf(std::int32_t entry) const {
  if (entry < first || entry > last) return std::nullopt;
  return base + stride * entry;
}

std::span<const EntryPlace> EntryPlaces() { return kPlaces; }

const EntryPlace& PlaceOf(EntryTable table) {
  for (const EntryPlace& place : kPlaces) {
    if (place.table == table) return place;
  }
  return kPlaces.front();  // every table is listed; the test of the table holds it so
}
