#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <list>
#include <string_view>

#include "runtime/event.h"
#include "runtime/queryanswer.h"

class TaskScheduler;
class cmcTask;

// The application's event bus. Events are sent (delivered at once), posted
// (delivered by the pump, a task every 10 ms, in posting order) or asked as a
// query that listeners answer. The listener added last hears first.
//
// Everything may be re-entered from a listener: adding and removing listeners,
// sending, posting and querying. Removal only marks, so a walk in progress
// stays valid; an event posted during a pump waits for the next pump.
class cmcEvMan {
 public:
  using Listener = void (*)(void* data, const Event& event);
  static constexpr int kPumpIntervalMs = 10;

  // The scheduler must outlive the event manager.
  explicit cmcEvMan(TaskScheduler& scheduler);
  ~cmcEvMan();
  cmcEvMan(const cmcEvMan&) = delete;
  cmcEvMan& operator=(const cmcEvMan&) = delete;

  // A null listener is ignored. An entry with the same listener and data is
  // replaced by the new one at the front.
  void AddListener(Listener listener, void* data);
  // The entries hear nothing more; they are unlinked by a later pump.
  void RemoveListener(Listener listener, void* data);

  void Send(std::uint32_t code, void* sender, std::intptr_t argument);
  void Send(std::uint32_t code, std::string_view text);
  void Send(std::uint32_t code, void* sender, std::intptr_t argument, std::string_view text);

  void Post(std::uint32_t code, void* sender, std::intptr_t argument);
  void Post(std::uint32_t code, void* sender, std::intptr_t argument, std::string_view text);
  void PostData(std::uint32_t code, const void* data, std::size_t length);

  // The first answer (its `next` leads to the others), or null when no listener
  // answered.
  const cmcEvAns* Query(std::uint32_t code, void* sender, std::intptr_t argument);
  // Called by a listener while it handles a query; ignored outside one.
  void Answer(std::intptr_t value);
  void Answer(std::intptr_t value, void* object);
  void AnswerData(const void* bytes, std::size_t length);

  // Work the user interface does at the start of every pump, before the queue
  // (it restores the order of floating windows).
  void SetPumpPrologue(std::function<void()> prologue) { prologue_ = std::move(prologue); }

  std::size_t QueuedCount() const { return queue_.size(); }
  std::size_t ListenerEntryCount() const { return listeners_.size(); }

 private:
  struct ListenerEntry {
    Listener listener;
    void* data;
    bool removed = false;
  };
  struct QueueEntry {
    Event event;
    bool isNew = true;
    bool done = false;
  };

  void Pump();
  void Deliver(const Event& event);
  void MarkRemoved(Listener listener, void* data);
  void Queue(Event event);
  void AddAnswer(cmcEvAns answer);

  std::list<ListenerEntry> listeners_;
  std::list<QueueEntry> queue_;
  // The answers of the last query made at each nesting level. Deques keep the
  // addresses of answers handed out stable while levels and answers are added.
  std::deque<std::deque<cmcEvAns>> answers_;
  std::size_t queryDepth_ = 0;
  int deliveryDepth_ = 0;
  std::function<void()> prologue_;
  cmcTask* pumpTask_;
};
