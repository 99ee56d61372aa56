// rw-m52-q-cli clone check|dump|roundtrip|diff: clone files from a shell.

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>

#include "cli/command.h"
#include "core/gtex.h"
#include "model/cloneio.h"
#include "model/memorymap.h"
#include "platform/paths.h"

namespace cli {

const Command& CloneCommand();

namespace {

constexpr const char* kMainOverlay = "QZ5071KE.OVL";

std::string Hex(int value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, value);
  return text;
}

// Reads a clone file with every check of the open command; messages go to the box.
struct OpenedFile {
  cmcEeprom image;
  cloneio::FileHeader header;
  bool ok = false;
  OpenedFile(cmcGTex& overlay, const std::string& path) { ok = cloneio::Open(overlay, path, image, &header); }
};

int ModelTypeOf(const cmcEeprom& raw) {
  cmcEeprom decoded = raw;
  memmap::Decode(decoded);
  return memmap::ModelTypeFromFlags(decoded);
}

int Check(Context& context, cmcGTex& overlay, const std::string& path) {
  OpenedFile file(overlay, path);
  if (!file.ok) return kFailure;
  context.out << "model code " << Hex(file.header.modelCode, 4) << '\n'
              << "map revision " << file.header.mapRevision << '\n'
              << "model type " << ModelTypeOf(file.image) << '\n';
  return kSuccess;
}

int Dump(Context& context, cmcGTex& overlay, const std::string& path, bool work) {
  OpenedFile file(overlay, path);
  if (!file.ok) return kFailure;
  if (work) memmap::Decode(file.image);
  int first = work ? cmcEeprom::kRawSize : 0;
  int end = work ? file.image.Size() : cmcEeprom::kRawSize;
  for (int line = first; line < end; line += 16) {
    context.out << Hex(line, 4) << ':';
    for (int a = line; a < std::min(line + 16, end); ++a) context.out << ' ' << Hex(file.image.GetByte(a), 2);
    context.out << '\n';
  }
  return kSuccess;
}

// As the application opens and saves: the file's raw area over the initial
// image of its model type, decoded, encoded and written.
int RoundTrip(cmcGTex& overlay, const std::string& in, const std::string& out) {
  OpenedFile file(overlay, in);
  if (!file.ok) return kFailure;
  int modelType = ModelTypeOf(file.image);
  cmcEeprom edit;
  cloneio::LoadInitialImage(overlay, modelType, edit);
  cloneio::CopyRawArea(file.image, edit);
  memmap::Decode(edit);
  return cloneio::Save(overlay, out, edit, modelType) ? kSuccess : kFailure;
}

int Diff(Context& context, cmcGTex& overlay, const std::string& a, const std::string& b) {
  OpenedFile first(overlay, a);
  if (!first.ok) return kFailure;
  OpenedFile second(overlay, b);
  if (!second.ok) return kFailure;
  for (int address = 0; address < cmcEeprom::kRawSize; ++address) {
    std::uint8_t x = first.image.GetByte(address), y = second.image.GetByte(address);
    if (x != y) context.out << Hex(address, 4) << ' ' << Hex(x, 2) << ' ' << Hex(y, 2) << '\n';
  }
  return kSuccess;
}

int RunClone(Context& context, Args args) {
  std::string action = args.empty() ? "" : args[0];
  std::size_t operands = args.size() - (args.empty() ? 0 : 1);
  bool work = operands == 2 && action == "dump" && args[2] == "--work";
  bool fits = (action == "check" && operands == 1) || (action == "dump" && (operands == 1 || work)) ||
              ((action == "roundtrip" || action == "diff") && operands == 2);
  if (!fits) return UsageError(context, CloneCommand());

  cmcGTex overlay;
  overlay.Open(platform::DataDir() + kMainOverlay);
  if (action == "check") return Check(context, overlay, args[1]);
  if (action == "dump") return Dump(context, overlay, args[1], work);
  if (action == "roundtrip") return RoundTrip(overlay, args[1], args[2]);
  return Diff(context, overlay, args[1], args[2]);
}

}  // namespace

const Command& CloneCommand() {
  static const Command command{
      "clone", "check FILE | dump FILE [--work] | roundtrip IN OUT | diff A B",
      "check a clone file (model code, map revision, model type), dump its raw or work area in hexadecimal, "
      "read and save it again, or list the bytes in which two files differ",
      RunClone};
  return command;
}

}  // namespace cli
