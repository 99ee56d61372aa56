#include "runtime/evman.h"

#include "runtime/task.h"
#include "runtime/taskscheduler.h"

namespace {

std::vector<char> TextPayload(std::string_view text) {
  std::vector<char> bytes(text.begin(), text.end());
  bytes.push_back('\0');
  return bytes;
}

Event MakeEvent(std::uint32_t code, EvDelivery delivery, void* sender, std::intptr_t argument) {
  Event event;
  event.code = code;
  event.delivery = delivery;
  event.sender = sender;
  event.argument = argument;
  return event;
}

}  // namespace

cmcEvMan::cmcEvMan(TaskScheduler& scheduler) : pumpTask_(scheduler.NewTask()) {
  pumpTask_->SetCallback([this](cmcTask&) { Pump(); });
  pumpTask_->SetInterval(kPumpIntervalMs);
}

cmcEvMan::~cmcEvMan() {
  // Queued events are dropped undelivered; the task goes at its next tick.
  pumpTask_->Stop();
  pumpTask_->Release();
}

void cmcEvMan::AddListener(Listener listener, void* data) {
  if (listener == nullptr) return;
  MarkRemoved(listener, data);
  listeners_.push_front(ListenerEntry{listener, data});
}

void cmcEvMan::RemoveListener(Listener listener, void* data) { MarkRemoved(listener, data); }

void cmcEvMan::MarkRemoved(Listener listener, void* data) {
  for (auto& entry : listeners_) {
    if (entry.listener == listener && entry.data == data) entry.removed = true;
  }
}

void cmcEvMan::Deliver(const Event& event) {
  ++deliveryDepth_;
  // Entries added during the walk go to the front, behind the walk's position.
  for (auto& entry : listeners_) {
    if (!entry.removed) entry.listener(entry.data, event);
  }
  --deliveryDepth_;
}

void cmcEvMan::Send(std::uint32_t code, void* sender, std::intptr_t argument) {
  Deliver(MakeEvent(code, EvDelivery::Sent, sender, argument));
}

void cmcEvMan::Send(std::uint32_t code, std::string_view text) { Send(code, nullptr, 0, text); }

void cmcEvMan::Send(std::uint32_t code, void* sender, std::intptr_t argument, std::string_view text) {
  Event event = MakeEvent(code, EvDelivery::Sent, sender, argument);
  event.payload = TextPayload(text);
  Deliver(event);
}

void cmcEvMan::Post(std::uint32_t code, void* sender, std::intptr_t argument) {
  Queue(MakeEvent(code, EvDelivery::Posted, sender, argument));
}

void cmcEvMan::Post(std::uint32_t code, void* sender, std::intptr_t argument, std::string_view text) {
  Event event = MakeEvent(code, EvDelivery::Posted, sender, argument);
  event.payload = TextPayload(text);
  Queue(std::move(event));
}

void cmcEvMan::PostData(std::uint32_t code, const void* data, std::size_t length) {
  Event event = MakeEvent(code, EvDelivery::Posted, nullptr, 0);
  const char* bytes = static_cast<const char*>(data);
  event.payload = bytes == nullptr ? std::vector<char>() : std::vector<char>(bytes, bytes + length);
  Queue(std::move(event));
}

void cmcEvMan::Queue(Event event) { queue_.push_back(QueueEntry{std::move(event)}); }

void cmcEvMan::Pump() {
  if (prologue_) prologue_();
  for (auto& entry : queue_) entry.isNew = false;
  // Events posted by listeners during this walk are appended with the new mark.
  for (auto& entry : queue_) {
    if (entry.done || entry.isNew) continue;
    Deliver(entry.event);
    entry.done = true;
  }
  queue_.remove_if([](const QueueEntry& entry) { return entry.done; });
  // A pump run from a nested event loop inside a listener must leave the
  // entries of the outer walk in place; a later pump unlinks them.
  if (deliveryDepth_ == 0) listeners_.remove_if([](const ListenerEntry& entry) { return entry.removed; });
}

const cmcEvAns* cmcEvMan::Query(std::uint32_t code, void* sender, std::intptr_t argument) {
  const std::size_t level = queryDepth_;
  // The previous answers at this level, and those of queries nested in it, end here.
  answers_.resize(level + 1);
  answers_[level].clear();

  ++queryDepth_;
  Deliver(MakeEvent(code, EvDelivery::Query, sender, argument));
  --queryDepth_;
  return answers_[level].empty() ? nullptr : &answers_[level].front();
}

void cmcEvMan::AddAnswer(cmcEvAns answer) {
  if (queryDepth_ == 0) return;
  std::deque<cmcEvAns>& chain = answers_[queryDepth_ - 1];
  chain.push_back(std::move(answer));
  if (chain.size() > 1) chain[chain.size() - 2].next = &chain.back();
}

void cmcEvMan::Answer(std::intptr_t value) { Answer(value, nullptr); }

void cmcEvMan::Answer(std::intptr_t value, void* object) {
  cmcEvAns answer;
  answer.value = value;
  answer.object = object;
  AddAnswer(std::move(answer));
}

void cmcEvMan::AnswerData(const void* bytes, std::size_t length) {
  cmcEvAns answer;
  const char* first = static_cast<const char*>(bytes);
  answer.data = first == nullptr ? std::vector<char>() : std::vector<char>(first, first + length);
  AddAnswer(std::move(answer));
}
