#pragma once

#include <memory>
#include <optional>
#include <string>

#include "sheet/sheet.h"

// Why a reference names no sheet that can be built, in words for the user;
// none when it names one: its three blocks exist, and a channel-bank sheet's
// kind names a bank.
std::optional<std::string> SheetRefProblem(const SheetRef& ref, cmcGTex& overlay);

// The sheet object a reference asks for: style "St_ChBank" a bank sheet,
// "St_Common" a common-settings sheet, a kind beginning with "M" a record-list
// sheet, anything else a plain sheet. Not yet built.
std::unique_ptr<cuiSheet> CreateSheet(const SheetRef& ref, SheetServices services);

// The channel sheet of a bank for the model: "[St_ChBank]GI_Sheet_Mch_<model word>,Bank <n>".
SheetRef ChannelBankSheet(ModelType type, int bank);
