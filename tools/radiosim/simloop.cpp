#include "radiosim/simloop.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <optional>
#include <ostream>
#include <variant>
#include <vector>

#include "radiosim/linepacer.h"
#include "radiosim/options.h"
#include "radiosim/pseudoterminal.h"

namespace {

constexpr const char* kProgram = "rw-m52-q-radiosim";
constexpr std::size_t kChunk = 4096;
constexpr std::array<int, 3> kEndSignals = {SIGTERM, SIGINT, SIGHUP};
// Bytes written to the master reach the slave a moment later; after that the
// radio waits at most this long for the program to read them.
constexpr auto kHangUpSettle = std::chrono::milliseconds(50);
constexpr auto kHangUpPatience = std::chrono::seconds(2);
constexpr auto kHangUpPoll = std::chrono::milliseconds(10);

volatile std::sig_atomic_t endSignal = 0;

void OnEndSignal(int signal) { endSignal = signal; }

// Catches the end signals for its lifetime. They stay blocked except while the
// loop waits, so none can slip in between a check and the wait.
class EndSignals {
 public:
  EndSignals() {
    endSignal = 0;
    sigset_t blocked;
    sigemptyset(&blocked);
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kEndSignals.size(); ++i) {
      sigaddset(&blocked, kEndSignals[i]);
      sigaction(kEndSignals[i], &action, &previous_[i]);
    }
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &ignore, &previousPipe_);
    sigprocmask(SIG_BLOCK, &blocked, &waitMask_);
    savedMask_ = waitMask_;
    for (int signal : kEndSignals) sigdelset(&waitMask_, signal);
  }
  ~EndSignals() {
    sigprocmask(SIG_SETMASK, &savedMask_, nullptr);
    for (std::size_t i = 0; i < kEndSignals.size(); ++i) sigaction(kEndSignals[i], &previous_[i], nullptr);
    sigaction(SIGPIPE, &previousPipe_, nullptr);
  }
  EndSignals(const EndSignals&) = delete;
  EndSignals& operator=(const EndSignals&) = delete;

  // The mask to wait with: the end signals let through.
  const sigset_t* WaitMask() const { return &waitMask_; }

 private:
  std::array<struct sigaction, kEndSignals.size()> previous_{};
  struct sigaction previousPipe_ {};
  sigset_t waitMask_{};
  sigset_t savedMask_{};
};

// Moves bytes between the master side of the terminal and the radio, at the
// line rate when pacing.
class LineLoop {
 public:
  enum class End { kSignal, kStdinClosed, kHangUp, kLineError };

  LineLoop(const PseudoTerminal& terminal, SimRadio& radio, bool pace, bool stdinExit)
      : terminal_(terminal), radio_(radio), pace_(pace), stdinExit_(stdinExit) {}

  End Run(const EndSignals& signals) {
    for (;;) {
      LinePacer::Time now = LinePacer::Clock::now();
      int baud = terminal_.LineSpeed();
      if (!TakeInput(now, baud) || !GiveOutput(now, baud)) return End::kLineError;
      if (radio_.HungUp() && outgoing_.empty() && !radio_.HasOutput()) {
        if (!hangUpAt_) hangUpAt_ = now;
        if (LastBytesTaken(now)) return End::kHangUp;
      }
      if (std::optional<End> end = Wait(now, baud, signals)) return *end;
    }
  }

 private:
  bool TakeInput(LinePacer::Time now, int baud) {
    if (pace_ && !input_.Running()) return true;  // the wait sees the first byte come
    std::size_t room = pace_ ? std::min(input_.Allowance(now, baud), kChunk) : kChunk;
    if (room == 0) return true;
    std::array<std::uint8_t, kChunk> buffer;
    ssize_t got = read(terminal_.Master(), buffer.data(), room);
    if (got > 0) {
      if (pace_) input_.Pass(static_cast<std::size_t>(got), baud);
      radio_.Receive(std::span(buffer.data(), static_cast<std::size_t>(got)));
      return true;
    }
    input_.Stop();
    return got < 0 && (errno == EAGAIN || errno == EINTR);
  }

  bool GiveOutput(LinePacer::Time now, int baud) {
    if (!outgoing_.empty() || radio_.HasOutput()) {
      output_.Start(now);
    } else {
      output_.Stop();
      return true;
    }
    std::size_t room = pace_ ? std::min(output_.Allowance(now, baud), kChunk) : kChunk;
    if (outgoing_.size() < room) {
      std::vector<std::uint8_t> more = radio_.Send(room - outgoing_.size());
      outgoing_.insert(outgoing_.end(), more.begin(), more.end());
    }
    std::size_t count = std::min(room, outgoing_.size());
    if (count == 0) return true;
    ssize_t written = write(terminal_.Master(), outgoing_.data(), count);
    if (written < 0) return errno == EAGAIN || errno == EINTR;
    outgoing_.erase(outgoing_.begin(), outgoing_.begin() + written);
    if (pace_) output_.Pass(static_cast<std::size_t>(written), baud);
    return true;
  }

  // A hang-up closes the terminal, which throws away what the program has not
  // read; so the radio's last message gets the time to be taken first.
  bool LastBytesTaken(LinePacer::Time now) const {
    auto waited = now - *hangUpAt_;
    if (waited < kHangUpSettle) return false;
    return terminal_.UnreadBySlave() == 0 || waited >= kHangUpPatience;
  }

  std::optional<End> Wait(LinePacer::Time now, int baud, const EndSignals& signals) {
    std::array<pollfd, 2> fds{};
    fds[0].fd = terminal_.Master();
    if (!pace_ || !input_.Running()) fds[0].events |= POLLIN;
    bool moreToWrite = !outgoing_.empty() || radio_.HasOutput();
    if (moreToWrite && (!pace_ || !outgoing_.empty())) fds[0].events |= POLLOUT;
    fds[1].fd = stdinExit_ ? STDIN_FILENO : -1;
    fds[1].events = POLLIN;

    std::optional<LinePacer::Time> due;
    auto consider = [&](const LinePacer& pacer) {
      if (!pace_ || !pacer.Running()) return;
      LinePacer::Time next = pacer.NextByteDone(baud);
      if (!due || next < *due) due = next;
    };
    consider(input_);
    consider(output_);
    if (hangUpAt_ && (!due || *due > now + kHangUpPoll)) due = now + kHangUpPoll;
    timespec timeout{};
    if (due) {
      auto wait = std::max(*due - now, LinePacer::Clock::duration::zero());
      auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
      timeout.tv_sec = static_cast<time_t>(ns / 1'000'000'000);
      timeout.tv_nsec = static_cast<long>(ns % 1'000'000'000);
    }
    int ready = ppoll(fds.data(), fds.size(), due ? &timeout : nullptr, signals.WaitMask());
    if (endSignal != 0) return End::kSignal;
    if (ready <= 0) return std::nullopt;
    if (pace_ && (fds[0].revents & POLLIN) != 0) input_.Start(LinePacer::Clock::now());
    if ((fds[1].revents & (POLLIN | POLLHUP)) != 0 && StdinEnded()) return End::kStdinClosed;
    return std::nullopt;
  }

  // Reads away what came on stdin; true at its end.
  static bool StdinEnded() {
    std::array<char, 256> buffer;
    ssize_t got = read(STDIN_FILENO, buffer.data(), buffer.size());
    return got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN);
  }

  const PseudoTerminal& terminal_;
  SimRadio& radio_;
  bool pace_;
  bool stdinExit_;
  LinePacer input_;
  LinePacer output_;
  std::vector<std::uint8_t> outgoing_;  // taken from the radio, not yet written
  std::optional<LinePacer::Time> hangUpAt_;
};

// Log lines on stderr, stamped with the milliseconds since the start.
class Logger {
 public:
  explicit Logger(std::ostream& err) : err_(err), start_(LinePacer::Clock::now()) {}
  void operator()(const std::string& text) const {
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(LinePacer::Clock::now() - start_).count();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "[%8.3f] ", static_cast<double>(ms) / 1000.0);
    err_ << kProgram << ": " << stamp << text << std::endl;
  }

 private:
  std::ostream& err_;
  LinePacer::Time start_;
};

}  // namespace

int RunRadioSim(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  CommandLine commandLine = ParseCommandLine(args);
  switch (commandLine.outcome) {
  case CommandLine::Outcome::kHelp: out << HelpText(); return 0;
  case CommandLine::Outcome::kUsageError:
    err << kProgram << ": " << commandLine.error << "\nTry '" << kProgram << " --help'.\n";
    return 2;
  case CommandLine::Outcome::kRun: break;
  }
  const SimOptions& options = commandLine.options;

  std::variant<RadioMemory, std::string> loaded = RadioMemory::Load(options.file);
  if (const std::string* error = std::get_if<std::string>(&loaded)) {
    err << kProgram << ": " << *error << '\n';
    return 1;
  }
  SimRadio radio(std::get<RadioMemory>(loaded), options.radio);
  Logger logger(err);
  if (options.verbose) radio.SetLog(logger);
  if (!options.saveAfterWrite.empty()) {
    radio.SetWriteListener([&](const RadioMemory& memory) {
      std::string error = memory.Save(options.saveAfterWrite);
      if (!error.empty()) {
        err << kProgram << ": " << error << '\n';
      } else if (options.verbose) {
        logger("saved " + options.saveAfterWrite);
      }
    });
  }

  PseudoTerminal terminal;
  if (std::string error = terminal.Open(); !error.empty()) {
    err << kProgram << ": " << error << '\n';
    return 1;
  }
  SlaveLink link;
  if (!options.link.empty()) {
    if (std::string error = link.Make(options.link, terminal.SlavePath()); !error.empty()) {
      err << kProgram << ": " << error << '\n';
      return 1;
    }
  }
  // The handlers are in place before anyone learns where the radio is.
  EndSignals signals;
  out << terminal.SlavePath() << std::endl;

  LineLoop loop(terminal, radio, options.pace, options.stdinExit);
  switch (loop.Run(signals)) {
  case LineLoop::End::kHangUp: err << kProgram << ": hung up\n"; return 0;
  case LineLoop::End::kLineError: err << kProgram << ": the terminal failed\n"; return 1;
  case LineLoop::End::kSignal:
  case LineLoop::End::kStdinClosed: break;
  }
  return 0;
}
