#include "radiosim/options.h"

#include <array>
#include <charconv>
#include <optional>
#include <string_view>

namespace {

using Apply = std::string (*)(SimOptions&, std::string_view value);

struct OptionSpec {
  std::string_view name;
  std::string_view valueName;  // empty for a switch
  std::string_view help;
  Apply apply;
};

std::optional<int> ParseInt(std::string_view text, int base) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::string SetRecordLength(SimOptions& options, std::string_view value) {
  std::optional<int> length = ParseInt(value, 10);
  if (!length || *length < 2 || *length > radiowire::kMaxRecordLength || *length % 2 != 0) {
    return "--record-length needs an even number from 2 to " + std::to_string(radiowire::kMaxRecordLength);
  }
  options.radio.recordLength = *length;
  return {};
}

std::string SetTop(SimOptions& options, std::string_view value) {
  if (value.starts_with("0x") || value.starts_with("0X")) value.remove_prefix(2);
  std::optional<int> top = ParseInt(value, 16);
  if (!top || *top < 0 || *top >= RadioMemory::kSize) return "--top needs a hexadecimal address from 0 to 7D7F";
  options.radio.traits.topAddress = *top;
  return {};
}

constexpr std::array<OptionSpec, 12> kOptions = {{
    {"--file", "CLONEFILE", "the clone file the radio holds as its memory (required)",
     [](SimOptions& o, std::string_view v) {
       o.file = v;
       return std::string();
     }},
    {"--link", "PATH", "also make PATH a symbolic link to the slave side (removed at the end)",
     [](SimOptions& o, std::string_view v) {
       o.link = v;
       return std::string();
     }},
    {"--echo", "", "echo every received byte back, as a one-wire cable does",
     [](SimOptions& o, std::string_view) {
       o.radio.echo = true;
       return std::string();
     }},
    {"--pace", "",
     "send and take bytes at the line rate: 10 bits per byte at the speed the program last set on the "
     "terminal (9600 baud while it sets none)",
     [](SimOptions& o, std::string_view) {
       o.pace = true;
       return std::string();
     }},
    {"--record-length", "N", "data bytes per record the radio sends on a read: even, 2 to 254 (default 16)",
     SetRecordLength},
    {"--top", "HEX",
     "the top address the radio reports (default 7D7F); a read sends 0000 to the end of its 16-byte block", SetTop},
    {"--password-write-only", "", "with a clone password in the memory, ask for it on writes only",
     [](SimOptions& o, std::string_view) {
       o.radio.traits.passwordForWriteOnly = true;
       return std::string();
     }},
    {"--save-after-write", "FILE", "save the memory as a clone file after each write the radio accepts",
     [](SimOptions& o, std::string_view v) {
       o.saveAfterWrite = v;
       return std::string();
     }},
    {"--fault", "KIND[:N]", "make a fault (repeat for several; the kinds are listed below)",
     [](SimOptions& o, std::string_view v) { return o.radio.faults.Add(v); }},
    {"--stdin-exit", "", "end when standard input reaches its end (as well as on SIGTERM, SIGINT and SIGHUP)",
     [](SimOptions& o, std::string_view) {
       o.stdinExit = true;
       return std::string();
     }},
    {"--verbose", "", "tell on stderr what the radio receives and does",
     [](SimOptions& o, std::string_view) {
       o.verbose = true;
       return std::string();
     }},
    {"--help", "", "show this text", nullptr},
}};

const OptionSpec* FindOption(std::string_view name) {
  for (const OptionSpec& option : kOptions) {
    if (option.name == name) return &option;
  }
  return nullptr;
}

// The help of one entry, indented and wrapped at word boundaries.
std::string Entry(const std::string& head, std::string_view help) {
  constexpr std::size_t kWidth = 100;
  constexpr std::string_view kIndent = "      ";
  std::string text = head + "\n";
  std::string line(kIndent);
  while (!help.empty()) {
    std::size_t space = help.find(' ');
    std::string_view word = help.substr(0, space);
    if (line.size() > kIndent.size() && line.size() + 1 + word.size() > kWidth) {
      text += line + "\n";
      line = kIndent;
    }
    if (line.size() > kIndent.size()) line += ' ';
    line += word;
    help.remove_prefix(space == std::string_view::npos ? help.size() : space + 1);
  }
  return text + line + "\n";
}

}  // namespace

CommandLine ParseCommandLine(std::span<const std::string> args) {
  CommandLine result;
  auto fail = [&result](std::string error) {
    result.outcome = CommandLine::Outcome::kUsageError;
    result.error = std::move(error);
    return result;
  };
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string_view arg = args[i];
    std::size_t equals = arg.find('=');
    std::string_view name = arg.substr(0, equals);
    const OptionSpec* option = FindOption(name);
    if (option == nullptr) return fail("unknown option '" + std::string(name) + "'");
    if (option->apply == nullptr) {
      result.outcome = CommandLine::Outcome::kHelp;
      return result;
    }
    std::string_view value;
    if (option->valueName.empty()) {
      if (equals != std::string_view::npos) return fail(std::string(name) + " takes no value");
    } else if (equals != std::string_view::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return fail(std::string(name) + " needs " + std::string(option->valueName));
    }
    if (std::string error = option->apply(result.options, value); !error.empty()) return fail(error);
  }
  if (result.options.file.empty()) return fail("--file CLONEFILE is required");
  return result;
}

std::string HelpText() {
  std::string text =
      "Usage: rw-m52-q-radiosim --file CLONEFILE [options]\n"
      "\n"
      "A simulated radio on a pseudo-terminal. It holds the clone file as its memory and answers the\n"
      "clone protocol's information, read and write requests there. The first line on stdout is the\n"
      "path of the terminal to give the program as its serial port.\n"
      "\n"
      "Options:\n";
  for (const OptionSpec& option : kOptions) {
    std::string head = "  ";
    head += option.name;
    if (!option.valueName.empty()) head.append(" ").append(option.valueName);
    text += Entry(head, option.help);
  }
  text += "\nFaults (--fault KIND or KIND:N):\n";
  for (const FaultKind& kind : FaultKinds()) {
    std::string head = "  ";
    head += kind.name;
    if (kind.takesNumber) head += kind.numberRequired ? ":N" : "[:N]";
    text += Entry(head, kind.help);
  }
  text +=
      "\nThe clone password is the one stored in the memory; while one is set, a read or write request\n"
      "is ignored unless a right password command came just before it.\n"
      "\nExit status: 0 after a signal, the end of stdin or a hang-up; 1 when the file or the terminal\n"
      "cannot be used; 2 on wrong usage.\n";
  return text;
}
