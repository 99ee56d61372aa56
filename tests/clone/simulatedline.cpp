#include "simulatedline.h"

#include <algorithm>
#include <charconv>

void SimulatedLine::PeerSend(std::span<const std::uint8_t> bytes) {
  double t = std::max(incomingFreeAt_, PeerTime());
  for (std::uint8_t byte : bytes) {
    t += ByteMs();
    incoming_.emplace(t, byte);
  }
  incomingFreeAt_ = t;
}

void SimulatedLine::PeerSendAt(double time, std::span<const std::uint8_t> bytes) {
  delayed_.emplace(time, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
}

std::vector<std::uint8_t> SimulatedLine::AllSent() const {
  Advance();
  std::vector<std::uint8_t> all;
  for (const Session& session : sessions) all.insert(all.end(), session.bytes.begin(), session.bytes.end());
  return all;
}

bool SimulatedLine::Open(const PortId&, std::string_view settings) {
  if (open_ || !acceptOpen(settings)) return false;
  int baud = 0;
  std::from_chars(settings.data(), settings.data() + settings.size(), baud);
  if (baud <= 0) return false;
  baud_ = baud;
  open_ = true;
  ++opens;
  writeError_ = false;
  incoming_.clear();
  sessions.push_back({std::string(settings), {}, static_cast<double>(clock_.NowMs())});
  return true;
}

bool SimulatedLine::ChangeSettings(std::string_view settings) {
  if (!open_ || !acceptOpen(settings)) return false;
  int baud = 0;
  std::from_chars(settings.data(), settings.data() + settings.size(), baud);
  if (baud <= 0) return false;
  Advance();
  baud_ = baud;
  sessions.push_back({std::string(settings), {}, static_cast<double>(clock_.NowMs())});
  return true;
}

void SimulatedLine::Close() {
  Advance();
  open_ = false;
  outgoing_.clear();
  writeError_ = false;
}

void SimulatedLine::Write(std::span<const std::uint8_t> bytes) {
  Advance();
  if (!open_) return;
  for (std::uint8_t byte : bytes) {
    if (writeErrorAfter && accepted_ >= *writeErrorAfter) {
      writeError_ = true;
      return;
    }
    ++accepted_;
    outgoingFreeAt_ = std::max(outgoingFreeAt_, static_cast<double>(clock_.NowMs())) + ByteMs();
    outgoing_.emplace_back(outgoingFreeAt_, byte);
  }
  maxOutPending = std::max(maxOutPending, outgoing_.size());
}

void SimulatedLine::Advance() const {
  auto* self = const_cast<SimulatedLine*>(this);
  const double now = clock_.NowMs();
  for (;;) {
    const double nextOut = !stalled && !outgoing_.empty() ? outgoing_.front().first : now + 1;
    const double nextDelayed = !delayed_.empty() ? delayed_.begin()->first : now + 1;
    if (std::min(nextOut, nextDelayed) > now) break;
    if (nextDelayed < nextOut) {
      std::vector<std::uint8_t> bytes = std::move(delayed_.begin()->second);
      peerTime_ = nextDelayed;
      delayed_.erase(delayed_.begin());
      self->PeerSend(bytes);
      peerTime_.reset();
      continue;
    }
    const auto [time, byte] = outgoing_.front();
    outgoing_.pop_front();
    if (!sessions.empty()) self->sessions.back().bytes.push_back(byte);
    if (echo && !(echoDrops && echoDrops(self->echoed_++))) incoming_.emplace(time, byte);
    if (peer) {
      peerTime_ = time;
      peer(byte);
      peerTime_.reset();
    }
  }
}

std::size_t SimulatedLine::Read(std::uint8_t* buffer, std::size_t maximum) {
  Advance();
  if (!open_) return 0;
  const double now = clock_.NowMs();
  std::size_t n = 0;
  while (n < maximum && !incoming_.empty() && incoming_.begin()->first <= now) {
    buffer[n++] = incoming_.begin()->second;
    incoming_.erase(incoming_.begin());
  }
  return n;
}

std::size_t SimulatedLine::InQueue() const {
  Advance();
  if (!open_) return 0;
  const double now = clock_.NowMs();
  return static_cast<std::size_t>(std::distance(incoming_.begin(), incoming_.upper_bound(now)));
}

std::size_t SimulatedLine::OutPending() const {
  Advance();
  return outgoing_.size();
}

bool SimulatedLine::SetRtsControl(int mode) {
  rtsMode = mode;
  return rtsSupported && open_;
}
