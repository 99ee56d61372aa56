// rw-m52-q-cli radio info|read|write: a radio (or the simulated one) on a
// serial port, through the same clone manager as the application.

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>

#include "cli/command.h"
#include "cli/workbench.h"
#include "clone/clonebackup.h"
#include "clone/cloneman.h"
#include "clone/clonesequence.h"
#include "clone/transferscript.h"
#include "control/warningcheck.h"
#include "control/writecheck.h"
#include "core/gtex.h"
#include "core/overlaynames.h"
#include "links/cloneinfotext.h"
#include "markup/ids.h"
#include "platform/clock.h"
#include "platform/loggingmessagebox.h"
#include "platform/messagebox.h"
#include "platform/portpaths.h"
#include "runtime/taskscheduler.h"

namespace cli {

namespace {

// A whole transfer of the radio's memory at 9600 baud takes under a minute;
// the bound only stops a run that can no longer end by itself.
constexpr auto kLongestRun = std::chrono::minutes(10);
constexpr std::uint32_t kLongestSleepMs = 10;

// The options after the subcommand: "--name value" pairs and bare flags.
struct Options {
  std::map<std::string, std::string> values;
  std::map<std::string, bool> flags;
  std::vector<std::string> positional;
};

std::optional<Options> ParseOptions(Args args, std::initializer_list<const char*> valued,
                                    std::initializer_list<const char*> bare) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    auto isOneOf = [&word](std::initializer_list<const char*> names) {
      for (const char* name : names) {
        if (word == name) return true;
      }
      return false;
    };
    if (isOneOf(valued)) {
      if (i + 1 >= args.size() || options.values.contains(word)) return std::nullopt;
      options.values[word] = args[++i];
    } else if (isOneOf(bare)) {
      options.flags[word] = true;
    } else if (word.starts_with("--")) {
      return std::nullopt;
    } else {
      options.positional.push_back(word);
    }
  }
  if (!options.values.contains("--port")) return std::nullopt;
  if (options.values.contains("--speed") && options.values["--speed"] != "high" && options.values["--speed"] != "low") {
    return std::nullopt;
  }
  return options;
}

// A port number of the port table, or a device path.
bool PointAtPort(indCloneMan& manager, const std::string& port) {
  if (port.empty()) return false;
  if (port.find_first_not_of("0123456789") == std::string::npos) {
    if (port.size() > 3) return false;
    const int number = std::stoi(port);
    if (number < platform::kFirstPortNumber || number > platform::kLastPortNumber) return false;
    manager.SetPort(number);
    return true;
  }
  manager.SetPortPath(port);
  return true;
}

// A bar of the manager's segments on a terminal.
indCloneMan::ProgressListener TerminalProgress() {
  if (isatty(STDERR_FILENO) == 0) return {};
  return {[](const std::string& caption) { std::cerr << caption << '\n'; },
          [](int segments) {
            std::cerr << '\r' << '[' << std::string(static_cast<std::size_t>(segments), '#')
                      << std::string(static_cast<std::size_t>(indCloneMan::kProgressSegments - segments), ' ') << ']'
                      << std::flush;
          },
          [] { std::cerr << '\n'; }};
}

// A password the radio could never take: none, or longer than a request carries.
bool PasswordUnusable(Context& context, const Options& options) {
  auto password = options.values.find("--password");
  if (password == options.values.end()) return false;
  if (!password->second.empty() && password->second.size() <= transferscript::kMaxPasswordBytes) return false;
  context.err << "--password must be 1 to " << transferscript::kMaxPasswordBytes << " bytes long; "
              << (password->second.empty() ? "it is empty" : "it has " + std::to_string(password->second.size()))
              << (password->second.empty() ? "" : " bytes") << '\n';
  return true;
}

// The manager with its scheduler on real time, and the chains over it.
class RadioSession {
 public:
  RadioSession(cmcGTex& overlay, const Options& options)
      : manager_(scheduler_, overlay, clock_), sequence_(manager_, overlay) {
    manager_.SetHighSpeed(!options.values.contains("--speed") || options.values.at("--speed") == "high");
    manager_.SetProgressListener(TerminalProgress());
    if (auto password = options.values.find("--password"); password != options.values.end()) {
      given_ = password->second;
    }
    sequence_.SetPasswordSource([this]() -> std::optional<std::string> {
      asked_ = true;
      return given_;
    });
    sequence_.SetBackup(CloneBackup(CloneBackup::DefaultFolder()));
  }

  indCloneMan& Manager() { return manager_; }
  CloneSequence& Sequence() { return sequence_; }
  bool PasswordMissing() const { return asked_ && !given_; }

  // Runs the tasks until the chain that `start` begins has ended.
  CloneCode Run(const std::function<bool(CloneSequence::Done)>& start) {
    std::optional<CloneCode> code;
    if (!start([&code](CloneCode c) { code = c; })) return CloneCode::kCancelled;
    const auto deadline = std::chrono::steady_clock::now() + kLongestRun;
    while (!code && std::chrono::steady_clock::now() < deadline) {
      scheduler_.RunDue();
      const std::uint32_t wait = std::min(scheduler_.MsUntilNextDue().value_or(kLongestSleepMs), kLongestSleepMs);
      std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    }
    return code.value_or(CloneCode::kTimeout);
  }

 private:
  platform::SteadyClock clock_;
  TaskScheduler scheduler_{clock_};
  indCloneMan manager_;
  CloneSequence sequence_;
  std::optional<std::string> given_;
  bool asked_ = false;
};

// A chain that ended for want of a password says so; every other failure
// has shown its message already.
int Outcome(RadioSession& session, cmcGTex& overlay, CloneCode code) {
  if (code == CloneCode::kSuccess) return kSuccess;
  if (session.PasswordMissing()) {
    platform::CurrentMessageBox().Show({overlay.GetLine(gi::GI_Sys_AppTitle, 0),
                                        overlay.GetBlockText(gi::GI_AppMess_ClonePwd_Missing), platform::MsgIcon::Error,
                                        platform::MsgButtons::Ok, true});
  }
  return kFailure;
}

std::string Hex4(int value) {
  char text[8];
  std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value) & 0xFFFFu);
  return text;
}

// The fields of the identification, named as on the information sheet.
struct InfoField {
  const char* name;
  int link;
};
const InfoField kInfoFields[] = {
    {"comment1", cl::CL_CloneInfo_Comment1}, {"comment2", cl::CL_CloneInfo_Comment2},
    {"esn", cl::CL_CloneInfo_Esn},           {"modeltext", cl::CL_CloneInfo_Model},
    {"stunkill", cl::CL_CloneInfo_StunKill}, {"overvoltage", cl::CL_CloneInfo_OverVolt},
    {"checksum", cl::CL_CloneInfo_CheckSum},
};

// Line feeds inside a text (the model's two lines) become "; ".
std::string OneLine(std::string text) {
  for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at)) text.replace(at, 1, "; ");
  return text;
}

int Info(Context& context, const Options& options) {
  Workbench bench;
  RadioSession session(bench.Overlay(), options);
  if (!PointAtPort(session.Manager(), options.values.at("--port"))) return UsageError(context, RadioCommand());
  session.Manager().SetHighSpeed(false);
  const CloneCode code = session.Run([&](CloneSequence::Done done) { return session.Sequence().Information(done); });
  if (code != CloneCode::kSuccess) return Outcome(session, bench.Overlay(), code);
  const std::vector<std::uint8_t>& id = session.Sequence().Identification();
  context.out << "model=" << Hex4(session.Sequence().RadioModelCode()) << '\n'
              << "option=" << Hex4(session.Sequence().RadioRevisionWord()) << '\n'
              << "revision=" << OneLine(CloneInfoText(bench.Overlay(), id, cl::CL_CloneInfo_Revision)) << '\n';
  for (const InfoField& field : kInfoFields) {
    context.out << field.name << '=' << OneLine(CloneInfoText(bench.Overlay(), id, field.link)) << '\n';
  }
  return kSuccess;
}

int Read(Context& context, const Options& options) {
  if (!options.values.contains("--out") || !options.positional.empty()) return UsageError(context, RadioCommand());
  if (PasswordUnusable(context, options)) return kUsage;
  Workbench bench;
  RadioSession session(bench.Overlay(), options);
  if (!PointAtPort(session.Manager(), options.values.at("--port"))) return UsageError(context, RadioCommand());
  const CloneCode code = session.Run([&](CloneSequence::Done done) { return session.Sequence().Read(done); });
  if (code != CloneCode::kSuccess) return Outcome(session, bench.Overlay(), code);
  bench.Doc().TakeFromRadio(session.Sequence().ReadImage());
  if (!bench.SaveAs(options.values.at("--out"))) return kFailure;
  for (const std::string& backup : session.Sequence().Backups()) context.out << "backup=" << backup << '\n';
  return kSuccess;
}

int Write(Context& context, const Options& options) {
  if (options.positional.size() != 1) return UsageError(context, RadioCommand());
  if (PasswordUnusable(context, options)) return kUsage;
  Workbench bench;
  if (!bench.Open(options.positional[0])) return kFailure;
  RadioSession session(bench.Overlay(), options);
  if (!PointAtPort(session.Manager(), options.values.at("--port"))) return UsageError(context, RadioCommand());
  session.Sequence().SetVerify(options.flags.contains("--verify"));
  session.Sequence().SetBackupRadioFirst(options.flags.contains("--backup-radio"));
  // --yes after the subcommand answers the questions as the global one does,
  // from the check before the write on.
  std::unique_ptr<platform::MessageBox> answering;
  platform::MessageBox* previous = &platform::CurrentMessageBox();
  if (options.flags.contains("--yes") && !context.answerYes) {
    answering = platform::ChooseMessageBox(std::make_unique<platform::StderrMessageBox>(true));
    platform::InstallMessageBox(answering.get());
  }
  const WarningMarks marks = CheckDocument(bench.Doc(), bench.Overlay());
  CloneCode code = CloneCode::kCancelled;
  if (writecheck::Passes(bench.Overlay(), {bench.Doc().Edit(), marks})) {
    code = session.Run([&](CloneSequence::Done done) {
      return session.Sequence().Write(bench.Doc().WriteCopy(), bench.Doc().Type(), done);
    });
  }
  if (answering) platform::InstallMessageBox(previous);
  for (const std::string& backup : session.Sequence().Backups()) context.out << "backup=" << backup << '\n';
  return Outcome(session, bench.Overlay(), code);
}

int RunRadio(Context& context, Args args) {
  if (args.empty()) return UsageError(context, RadioCommand());
  const std::string& verb = args[0];
  const Args rest = args.subspan(1);
  std::optional<Options> options;
  if (verb == "info") {
    options = ParseOptions(rest, {"--port", "--speed"}, {});
    if (options && options->positional.empty()) return Info(context, *options);
  } else if (verb == "read") {
    options = ParseOptions(rest, {"--port", "--speed", "--password", "--out"}, {});
    if (options) return Read(context, *options);
  } else if (verb == "write") {
    options = ParseOptions(rest, {"--port", "--speed", "--password"}, {"--yes", "--verify", "--backup-radio"});
    if (options) return Write(context, *options);
  }
  return UsageError(context, RadioCommand());
}

}  // namespace

const Command& RadioCommand() {
  static const Command command = {
      "radio",
      "info --port PORT [--speed high|low] | read --port PORT --out FILE [--speed high|low] [--password WORD] | "
      "write --port PORT FILE [--speed high|low] [--password WORD] [--yes] [--verify] [--backup-radio]",
      "identify, read or write a radio on a serial port (a device path or a port number)", RunRadio};
  return command;
}

}  // namespace cli
