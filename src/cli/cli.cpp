#include "cli/cli.h"

#include <ostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "platform/loggingmessagebox.h"
#include "platform/messagebox.h"

namespace cli {

namespace {

constexpr std::string_view kProgram = "rw-m52-q-cli";

void PrintHelp(std::ostream& out) {
  out << "usage: " << kProgram << " [--yes] COMMAND [ARGS...]\n"
      << "       " << kProgram << " --help | --version\n\n"
      << "The RW-M52-Q engine from a shell.\n\n"
      << "Options:\n"
      << "  --yes      answer every question with its first button (else Cancel)\n"
      << "  --help     show this help\n"
      << "  --version  show the version\n\n"
      << "Commands:\n";
  for (const Command& command : Commands()) {
    // One line per form of the command: "a | b" lists two.
    std::string_view forms = command.usage;
    for (std::size_t bar; (bar = forms.find(" | ")) != std::string_view::npos; forms.remove_prefix(bar + 3)) {
      out << "  " << command.name << ' ' << forms.substr(0, bar) << '\n';
    }
    out << "  " << command.name << ' ' << forms << "\n      " << command.summary << '\n';
  }
  out << "\nExit status: 0 success, 1 a reported failure, 2 wrong usage, 3 a fatal configuration error.\n";
}

const Command* FindCommand(std::string_view name) {
  for (const Command& command : Commands()) {
    if (command.name == name) return &command;
  }
  return nullptr;
}

// Installs a message box for the run and removes it again.
class ScopedMessageBox {
 public:
  explicit ScopedMessageBox(bool answerYes)
      : box_(platform::ChooseMessageBox(std::make_unique<platform::StderrMessageBox>(answerYes))) {
    platform::InstallMessageBox(box_.get());
  }
  ~ScopedMessageBox() { platform::InstallMessageBox(nullptr); }
  ScopedMessageBox(const ScopedMessageBox&) = delete;
  ScopedMessageBox& operator=(const ScopedMessageBox&) = delete;

 private:
  std::unique_ptr<platform::MessageBox> box_;
};

}  // namespace

int UsageError(Context& context, const Command& command) {
  context.err << "usage: " << kProgram << ' ' << command.name << ' ' << command.usage << '\n';
  return kUsage;
}

int Run(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  std::vector<std::string> words(argv + (argc > 0 ? 1 : 0), argv + argc);
  bool answerYes = false;
  std::size_t first = 0;
  for (; first < words.size() && words[first].starts_with("--"); ++first) {
    const std::string& option = words[first];
    if (option == "--help") {
      PrintHelp(out);
      return kSuccess;
    }
    if (option == "--version") {
      out << kProgram << ' ' << RWQ_VERSION << '\n';
      return kSuccess;
    }
    if (option != "--yes") {
      err << kProgram << ": unknown option '" << option << "'\n";
      return kUsage;
    }
    answerYes = true;
  }
  if (first == words.size()) {
    PrintHelp(err);
    return kUsage;
  }
  const Command* command = FindCommand(words[first]);
  if (command == nullptr) {
    err << kProgram << ": unknown command '" << words[first] << "' (see --help)\n";
    return kUsage;
  }
  ScopedMessageBox box(answerYes);
  Context context{out, err, answerYes};
  return command->run(context, Args(words).subspan(first + 1));
}

}  // namespace cli
