// rw-m52-q-cli channels FILE [--refs | --csv]: the channels in use of a clone
// file, one row each, as a table (with --refs followed by the settings that
// name channels) or as comma-separated text; channels import: a channel list
// of comma-separated text typed into a clone file.

#include <cstdio>
#include <optional>
#include <ostream>
#include <string>

#include "cli/command.h"
#include "cli/workbench.h"
#include "control/channelcsv.h"
#include "core/overlaynames.h"
#include "model/ch.h"
#include "model/charset.h"
#include "model/chlayout.h"
#include "model/chrefs.h"
#include "platform/files.h"

namespace cli {

namespace {

constexpr const char* kDuplexNames[] = {"off", "+", "-", "?"};

std::string Megahertz(std::uint32_t hertz) {
  char text[24];
  std::snprintf(text, sizeof text, "%u.%06u", hertz / 1000000, hertz % 1000000);
  return text;
}

std::string ToneText(const ToneSetting& tone) {
  if (!tone.on) return "off";
  char text[16];
  if (tone.digital) {
    std::snprintf(text, sizeof text, "d%03o%c", tone.code, tone.inverted ? 'I' : 'N');
  } else {
    std::snprintf(text, sizeof text, "t%d", tone.index);
  }
  return text;
}

// Tone mode, the tone and squelch indices, the code and its polarity; the
// PMR kinds add their receive and transmit tone settings.
std::string ToneColumns(const datCh& ch) {
  char text[64];
  std::snprintf(text, sizeof text, "%d %3d %3d %3d %d", ch.tone, ch.toneFreq, ch.tsqlFreq, ch.dtcs, ch.dtcsPolarity);
  std::string columns = text;
  if (ch.kind() == 2 || ch.kind() == 3) columns += "  " + ToneText(ch.ctoneR) + "/" + ToneText(ch.ctoneT);
  return columns;
}

std::string Printable(const std::string& text) {
  std::string shown = text;
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) c = '.';
  }
  return shown;
}

// One table line; the header and the rows share it so the columns line up.
void PrintLine(std::ostream& out, const std::string& number, const std::string& receive, const std::string& transmit,
               const std::string& duplex, const std::string& offset, const std::string& tone, const std::string& power,
               const std::string& name, const std::string& attributes) {
  char row[256];
  std::snprintf(row, sizeof row, "%-7s %-11s %-11s %-3s %-10s %-24s %-2s %-8s %s", number.c_str(), receive.c_str(),
                transmit.c_str(), duplex.c_str(), offset.c_str(), tone.c_str(), power.c_str(), name.c_str(),
                attributes.c_str());
  std::string line = row;
  while (!line.empty() && line.back() == ' ') line.pop_back();
  out << line << '\n';
}

void PrintRow(std::ostream& out, const cmcEeprom& image, const datCh& ch, bool banksShown) {
  PrintLine(out, ChannelLabel(image, ch.number(), banksShown), Megahertz(ch.freqR), Megahertz(ch.freqT),
            kDuplexNames[ch.dup & 3], Megahertz(ch.offset), ToneColumns(ch), std::to_string(ch.rfPo),
            Printable(ch.name), ch.atrLetters());
}

// The scan entries' references whose mode names a channel, and the favourite channels.
void PrintReferences(std::ostream& out, const cmcEeprom& image, bool banksShown) {
  out << "\nReference            Channel\n";
  for (const chrefs::Place& place : chrefs::Places()) {
    if (place.scan && chrefs::ModeOf(image, place) != chlayout::kChannelMode) continue;
    const std::string name = place.scan
                                 ? "scan " + std::to_string(place.number + 1) + " " + std::string(place.scan->name)
                                 : "favourite " + std::to_string(place.number + 1);
    char row[64];
    std::snprintf(row, sizeof row, "%-20s %s", name.c_str(),
                  ChannelLabel(image, image.GetByte(place.address), banksShown).c_str());
    out << row << '\n';
  }
}

int ListChannels(Context& context, const std::string& path, bool references) {
  Workbench bench;
  if (!bench.Open(path)) return kFailure;
  cmcEeprom& image = bench.Doc().Edit();
  bool banksShown = bench.Overlay().GetLine(gi::GI_Tree_Branch_Mch_BankOperation, 0) != "None";
  int kind = datCh::KindOf(bench.Doc().Type());

  PrintLine(context.out, "No", "RX", "TX", "Dup", "Offset", "Tone (mode T S D P)", "Po", "Name", "Atr");
  datCh ch(image);
  for (int channel = 0; channel < datCh::ChannelsInUse(image); ++channel) {
    if (ch.load(kind, channel) && ch.inUse) PrintRow(context.out, image, ch, banksShown);
  }
  if (references) PrintReferences(context.out, image, banksShown);
  return kSuccess;
}

int ExportChannels(Context& context, const std::string& path) {
  Workbench bench;
  if (!bench.Open(path)) return kFailure;
  const Charset charset = Charset::LoadShipped();
  ChannelCsv table(bench.Overlay(), charset, bench.Doc().Type());
  context.out << table.Export(bench.Doc().Edit());
  return kSuccess;
}

// Nothing is saved while a line is refused, unless refused lines are to be skipped.
int ImportChannels(Context& context, const std::string& path, const std::string& csvPath, const std::string& out,
                   bool skipRefused) {
  Workbench bench;
  if (!bench.Open(path)) return kFailure;
  std::optional<std::string> text = platform::ReadFileContent(csvPath);
  if (!text) {
    context.err << "rw-m52-q-cli channels: cannot read " << csvPath << '\n';
    return kFailure;
  }
  const Charset charset = Charset::LoadShipped();
  ChannelCsv table(bench.Overlay(), charset, bench.Doc().Type());
  ChannelCsv::ImportResult result = table.Import(bench.Doc().Edit(), *text, skipRefused);
  for (const ChannelCsv::Refusal& refusal : result.refusals) {
    context.err << csvPath << ": line " << refusal.line << ": " << (skipRefused ? "skipped: " : "") << refusal.reason
                << '\n';
  }
  if (!result.refusals.empty() && !skipRefused) {
    context.err << "rw-m52-q-cli channels: nothing imported; " << out << " was not written\n";
    return kFailure;
  }
  if (!bench.SaveAs(out)) return kFailure;
  context.out << result.taken << " channel lines imported into " << out << '\n';
  return kSuccess;
}

int RunChannels(Context& context, Args args) {
  if (args.size() == 1) return ListChannels(context, args[0], false);
  if (args.size() == 2 && args[1] == "--refs") return ListChannels(context, args[0], true);
  if (args.size() == 2 && args[1] == "--csv") return ExportChannels(context, args[0]);
  bool skipRefused = args.size() == 6 && args[5] == "--skip-bad";
  if ((args.size() == 5 || skipRefused) && args[0] == "import" && args[3] == "--out") {
    return ImportChannels(context, args[1], args[2], args[4], skipRefused);
  }
  return UsageError(context, ChannelsCommand());
}

}  // namespace

const Command& ChannelsCommand() {
  static const Command command{
      "channels", "FILE [--refs | --csv] | import FILE CSV --out OUT [--skip-bad]",
      "list the channels in use of a clone file: number, frequencies, duplex, offset, tone settings, power, name "
      "and attributes, with --refs followed by the scan entries' references to channels and the favourite "
      "channels, or with --csv as comma-separated text; or import such text into the channels of FILE, as "
      "if typed into the channel cells, and save the result as OUT: a refused line is reported and nothing is "
      "saved, unless --skip-bad leaves the refused lines out",
      RunChannels};
  return command;
}

}  // namespace cli
