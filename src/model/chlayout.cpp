#include "model/chlayout.h"

namespace chlayout {
namespace {

using S = Slot;

// Setting record: 8 duplex/reverse/inhibit/option flag, 9 step, 10 tone mode,
// polarity and power, 11-13 tone indices and code, 14-19 carried.
// Radio record: 8-11 carried, 20 option bits and free entry, 21 option byte.
// Option record: 0 power save, bandwidth, time-out timer, lockout, wide/narrow;
// 1 scan mode, squelch tight, busy lockout; 3 compander, scrambler; 6-9 the PMR
// tone settings; 10 PMR signalling or (with 11) a 10-bit signalling identity;
// bytes 2, 4, 5, 12, 13 and the bits not named are carried (the channel links
// keep scan options in bits 7-3 of byte 2 and the scanned list in bits 4-0 of
// byte 4).
constexpr FieldPlace kFields[] = {
    {"inh", &ChannelFields::inh, S::kRadio, 0, 1, 7, 1, kAllChannelKinds},
    {"optionBits", &ChannelFields::optionBits, S::kRadio, 20, 1, 0, 2, kAllChannelKinds},
    {"freeEntry", &ChannelFields::freeEntry, S::kRadio, 20, 1, 4, 1, kAllChannelKinds},
    {"optionByte", &ChannelFields::optionByte, S::kRadio, 21, 1, 0, 8, kAllChannelKinds},
    {"dup", &ChannelFields::dup, S::kSetting, 8, 1, 6, 2, kAllChannelKinds},
    {"reverse", &ChannelFields::reverse, S::kSetting, 8, 1, 5, 1, kAllChannelKinds},
    {"txInh", &ChannelFields::txInh, S::kSetting, 8, 1, 4, 1, kAllChannelKinds},
    {"ts", &ChannelFields::ts, S::kSetting, 9, 1, 0, 8, kAllChannelKinds},
    {"tone", &ChannelFields::tone, S::kSetting, 10, 1, 4, 4, kAllChannelKinds},
    {"dtcsPolarity", &ChannelFields::dtcsPolarity, S::kSetting, 10, 1, 2, 2, kAllChannelKinds},
    {"rfPo", &ChannelFields::rfPo, S::kSetting, 10, 1, 0, 2, kAllChannelKinds},
    {"toneFreq", &ChannelFields::toneFreq, S::kSetting, 11, 1, 0, 8, kAllChannelKinds},
    {"tsqlFreq", &ChannelFields::tsqlFreq, S::kSetting, 12, 1, 0, 8, kAllChannelKinds},
    {"dtcs", &ChannelFields::dtcs, S::kSetting, 13, 1, 0, 8, kAllChannelKinds},
    {"pwrSave", &ChannelFields::pwrSave, S::kOption, 0, 1, 7, 1, kAllChannelKinds},
    {"nar", &ChannelFields::nar, S::kOption, 0, 1, 5, 2, kAllChannelKinds},
    {"tot", &ChannelFields::tot, S::kOption, 0, 1, 4, 1, kAllChannelKinds},
    {"lockout", &ChannelFields::lockout, S::kOption, 0, 1, 2, 2, kAllChannelKinds},
    {"wnm", &ChannelFields::wnm, S::kOption, 0, 1, 0, 2, kAllChannelKinds},
    {"scanMode", &ChannelFields::scanMode, S::kOption, 1, 1, 6, 2, kAllChannelKinds},
    {"sqlTight", &ChannelFields::sqlTight, S::kOption, 1, 1, 2, 1, kAllChannelKinds},
    {"busyLockout", &ChannelFields::busyLockout, S::kOption, 1, 1, 0, 2, kAllChannelKinds},
    {"compander", &ChannelFields::compander, S::kOption, 3, 1, 4, 1, kAllChannelKinds},
    {"scrambler", &ChannelFields::scrambler, S::kOption, 3, 1, 0, 4, kAllChannelKinds},
    {"signalling", &ChannelFields::signalling, S::kOption, 10, 1, 0, 8, kPmrKinds},
    {"signallingId", &ChannelFields::signallingId, S::kOption, 10, 2, 0, 10, kCodeKinds},
};

}  // namespace

std::span<const FieldPlace> FieldTable() { return kFields; }

}  // namespace chlayout
