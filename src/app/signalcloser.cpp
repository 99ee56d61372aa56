#include "app/signalcloser.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace {

int signalPipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] ssize_t written = write(signalPipe[1], &byte, 1);
}

}  // namespace

SignalCloser::SignalCloser(QObject* parent) : QObject(parent) {
  if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &SignalCloser::OnSignalByte);
  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

SignalCloser::~SignalCloser() {
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
  delete notifier_;
  for (int& end : signalPipe) {
    if (end >= 0) close(end);
    end = -1;
  }
}

void SignalCloser::OnSignalByte() {
  char bytes[16];
  while (read(signalPipe[0], bytes, sizeof bytes) > 0) {
  }
  Q_EMIT closeRequested();
}
