// rw-m52-q-cli clone check|dump|roundtrip|diff|set: clone files from a shell.

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command.h"
#include "cli/workbench.h"
#include "model/memorymap.h"

namespace cli {

namespace {

std::string Hex(int value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

int Check(Context& context, const std::string& path) {
  Workbench bench;
  if (!bench.Open(path)) return kFailure;
  const Document& document = bench.Doc();
  context.out << "model code " << Hex(document.Header().modelCode, 4) << '\n'
              << "map revision " << document.Header().mapRevision << '\n'
              << "model type " << ModelNumber(document.Type()) << '\n';
  return kSuccess;
}

// The raw area is the file's; the work area is decoded over the initial image
// of the file's model type, as the application holds it.
int Dump(Context& context, const std::string& path, bool work) {
  Workbench bench;
  if (!bench.Open(path)) return kFailure;
  const cmcEeprom& image = bench.Doc().Edit();
  int first = work ? cmcEeprom::kRawSize : 0;
  int end = work ? image.Size() : cmcEeprom::kRawSize;
  for (int line = first; line < end; line += 16) {
    context.out << Hex(line, 4) << ':';
    for (int a = line; a < std::min(line + 16, end); ++a) context.out << ' ' << Hex(image.GetByte(a), 2);
    context.out << '\n';
  }
  return kSuccess;
}

// As the application opens and saves.
int RoundTrip(const std::string& in, const std::string& out) {
  Workbench bench;
  return bench.Open(in) && bench.SaveAs(out) ? kSuccess : kFailure;
}

int Diff(Context& context, const std::string& a, const std::string& b) {
  Workbench first;
  Workbench second;
  if (!first.Open(a) || !second.Open(b)) return kFailure;
  for (int address = 0; address < cmcEeprom::kRawSize; ++address) {
    std::uint8_t x = first.Doc().Edit().GetByte(address), y = second.Doc().Edit().GetByte(address);
    if (x != y) context.out << Hex(address, 4) << ' ' << Hex(x, 2) << ' ' << Hex(y, 2) << '\n';
  }
  return kSuccess;
}

// A hexadecimal number of at most `digits` digits ("0x" allowed), or nothing.
std::optional<int> HexNumber(std::string_view text, int digits) {
  if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
  if (text.empty() || text.size() > static_cast<std::size_t>(digits)) return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

// Writes bytes at an address of the raw header or the work area, for states no
// cell sets, and saves as `roundtrip` does. A test tool: the edit is not undoable.
int Set(Context& context, Args args) {
  const std::optional<int> address = HexNumber(args[1], 4);
  std::vector<std::uint8_t> bytes;
  for (const std::string& word : args.subspan(2, args.size() - 4)) {
    const std::optional<int> byte = HexNumber(word, 2);
    if (!byte) {
      context.err << "rw-m52-q-cli clone set: not a hexadecimal byte: " << word << '\n';
      return kUsage;
    }
    bytes.push_back(static_cast<std::uint8_t>(*byte));
  }
  Workbench bench;
  if (!bench.Open(args[0])) return kFailure;
  cmcEeprom& image = bench.Doc().Edit();
  if (!address || *address + static_cast<int>(bytes.size()) > image.Size()) {
    context.err << "rw-m52-q-cli clone set: the bytes do not fit the image at " << args[1] << '\n';
    return kUsage;
  }
  for (std::size_t i = 0; i < bytes.size(); ++i) image.SetByte(*address + static_cast<int>(i), bytes[i]);
  bench.Doc().MarkModified();
  return bench.SaveAs(args.back()) ? kSuccess : kFailure;
}

int RunClone(Context& context, Args args) {
  std::string action = args.empty() ? "" : args[0];
  std::size_t operands = args.size() - (args.empty() ? 0 : 1);
  bool work = operands == 2 && action == "dump" && args[2] == "--work";
  bool fits = (action == "check" && operands == 1) || (action == "dump" && (operands == 1 || work)) ||
              ((action == "roundtrip" || action == "diff") && operands == 2);
  if (action == "set") {
    const bool setFits = operands >= 5 && args[operands - 1] == "--out";
    return setFits ? Set(context, args.subspan(1)) : UsageError(context, CloneCommand());
  }
  if (!fits) return UsageError(context, CloneCommand());

  if (action == "check") return Check(context, args[1]);
  if (action == "dump") return Dump(context, args[1], work);
  if (action == "roundtrip") return RoundTrip(args[1], args[2]);
  return Diff(context, args[1], args[2]);
}

}  // namespace

const Command& CloneCommand() {
  static const Command command{
      "clone", "check FILE | dump FILE [--work] | roundtrip IN OUT | diff A B | set FILE ADDRESS HH [HH ...] --out OUT",
      "check a clone file (model code, map revision, model type), dump its raw or work area in hexadecimal, "
      "read and save it again, list the bytes in which two files differ, or write bytes at a hexadecimal "
      "address of the raw or work area and save (a test tool, not undoable)",
      RunClone};
  return command;
}

}  // namespace cli
