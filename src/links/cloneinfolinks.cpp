// The cells of the clone-information sheet: texts from the identification
// record that the radio sent. Without a record they are empty.

#include <cstdio>
#include <iterator>
#include <string>

#include "core/gtex.h"
#include "core/overlaynames.h"
#include "core/textutil.h"
#include "links/celllinks.h"
#include "links/cloneinfotext.h"
#include "links/linktable.h"
#include "markup/ids.h"

namespace {

constexpr std::size_t kRecordSize = 78;
constexpr std::size_t kTypeByte = 53;
constexpr std::uint8_t kOverVoltageBit = 0x20;
constexpr std::size_t kStunKillByte = 57;
constexpr std::uint8_t kKillBit = 0x10;
constexpr std::size_t kRevisionByte = 34;
constexpr std::size_t kComment1 = 2;
constexpr std::size_t kComment2 = 18;
constexpr std::size_t kCommentSize = 16;
constexpr std::size_t kEsn = 37;
constexpr std::size_t kEsnSize = 12;
constexpr std::size_t kCheckSum = 66;
constexpr std::size_t kCheckSumSize = 4;

// What a text is made from: the overlay and a record of the full size.
struct InfoSource {
  cmcGTex& overlay;
  std::span<const std::uint8_t> record;
};

std::uint8_t Byte(const InfoSource& call, std::size_t at) { return call.record[at]; }

std::string Characters(const InfoSource& call, std::size_t at, std::size_t count) {
  std::string text;
  for (std::size_t i = at; i < at + count; ++i) {
    char c = static_cast<char>(Byte(call, i));
    text += c >= 0x20 && c < 0x7F ? c : ' ';
  }
  return text;
}

std::string ModelText(const InfoSource& call) {
  cmcGTex& overlay = call.overlay;
  std::uint8_t type = Byte(call, kTypeByte);
  return overlay.GetLine(gi::GI_Mess_CloneInfo_Model, (type >> 2) & 1) + "\n" +
         overlay.GetLine(gi::GI_Mess_CloneInfo_UiType, type & 3);
}

// The front panel the radio reports (display, keypad), without the model line.
std::string KeyBoardText(const InfoSource& call) {
  return call.overlay.GetLine(gi::GI_Mess_CloneInfo_UiType, Byte(call, kTypeByte) & 3);
}

// The signalling that may stun or kill the radio, and which of the two it does.
std::string StunKillText(const InfoSource& call) {
  static constexpr std::string_view kSignalling[] = {
      gi::GI_Mess_CloneInfo_StunKill_DTMF, gi::GI_Mess_CloneInfo_StunKill_2Tone, gi::GI_Mess_CloneInfo_StunKill_5Tone,
      gi::GI_Mess_CloneInfo_StunKill_VEXL, gi::GI_Mess_CloneInfo_StunKill_MDC};
  std::uint8_t value = Byte(call, kStunKillByte);
  std::size_t signalling = value & 0x0F;
  if (signalling < 1 || signalling > std::size(kSignalling)) return "";
  cmcGTex& overlay = call.overlay;
  return overlay.GetLine(kSignalling[signalling - 1], 0) + " " +
         overlay.GetLine((value & kKillBit) != 0 ? gi::GI_Mess_CloneInfo_Kill : gi::GI_Mess_CloneInfo_Stun, 0);
}

std::string OverVoltText(const InfoSource& call) {
  if ((Byte(call, kTypeByte) & kOverVoltageBit) == 0) return "";
  return call.overlay.GetLine(gi::GI_Mess_CloneInfo_OverVolt, 0);
}

std::string RevisionText(const InfoSource& call) {
  std::uint8_t revision = Byte(call, kRevisionByte);
  return std::to_string(revision >> 4) + "." + std::to_string(revision & 0x0F);
}

// The electronic serial number: 4, 2 and 6 hexadecimal digits shown as decimal numbers.
std::string SerialText(const InfoSource& call) {
  std::string digits = Characters(call, kEsn, kEsnSize);
  std::optional<std::uint32_t> a = HexNumber(digits.substr(0, 4)), b = HexNumber(digits.substr(4, 2)),
                               c = HexNumber(digits.substr(6));
  if (!a || !b || !c) return " ";
  char text[40];
  std::snprintf(text, sizeof text, "%04u%02u%07u", unsigned{*a}, unsigned{*b}, unsigned{*c});
  return text;
}

std::string CheckSumText(const InfoSource& call) {
  std::optional<std::uint32_t> sum = HexNumber(Characters(call, kCheckSum, kCheckSumSize));
  if (!sum) return "";
  char text[24];
  std::snprintf(text, sizeof text, "$%04X", unsigned{*sum});
  return text;
}

struct InfoRow {
  int link;
  std::string (*text)(const InfoSource& call);
};
const InfoRow kInfoRows[] = {
    {cl::CL_CloneInfo_Model, ModelText},
    {cl::CL_CloneInfo_Revision, RevisionText},
    {cl::CL_CloneInfo_KeyBoard, KeyBoardText},
    {cl::CL_CloneInfo_StunKill, StunKillText},
    {cl::CL_CloneInfo_OverVolt, OverVoltText},
    {cl::CL_CloneInfo_Comment1, [](const InfoSource& call) { return Characters(call, kComment1, kCommentSize); }},
    {cl::CL_CloneInfo_Comment2, [](const InfoSource& call) { return Characters(call, kComment2, kCommentSize); }},
    {cl::CL_CloneInfo_Esn, SerialText},
    {cl::CL_CloneInfo_CheckSum, CheckSumText},
    {cl::CL_CloneInfo_Dummy, [](const InfoSource&) { return std::string(); }},
};

}  // namespace

std::string CloneInfoText(cmcGTex& overlay, std::span<const std::uint8_t> record, int link) {
  if (record.size() != kRecordSize) return {};
  for (const InfoRow& row : kInfoRows) {
    if (row.link == link) return row.text(InfoSource{overlay, record});
  }
  return {};
}

void AddCloneInfoLinks(LinkTable& table) {
  for (const InfoRow& row : kInfoRows) {
    table.Add(row.link, [&row](LinkCall& call) {
      call.request.displayText = CloneInfoText(call.environment.overlay, call.environment.identification, row.link);
      return LinkOutcome{};
    });
  }
}
