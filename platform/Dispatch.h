// The dialog's thread and the one worker thread: a call that the worker
// hands to the dialog's thread and waits for, one-shot timers that fire on
// the dialog's thread, and the start of a worker. The dialog's thread is
// the one that uses the service first.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>

namespace bx {

using TTimerId = std::uint32_t;  // 0 is no timer

class IThreadDispatch {
 public:
  virtual ~IThreadDispatch() = default;

  // Worker thread: runs `call` on the dialog's thread, between its
  // messages, and returns true once it has run. Returns false without
  // running it when the dialog's thread dropped the calls of `sender`
  // first (DropCalls), or when `released` is set: it is looked at where
  // DropCalls looks, so a sender that sets it before DropCalls is never
  // queued again, however close the two come. An error of the call is
  // shown there by the error report, as an event handler's is. From the
  // dialog's thread itself the call runs at once.
  virtual bool Synchronize(const void* sender, const std::function<void()>& call,
                           const std::atomic<bool>* released = nullptr) = 0;
  // Dialog's thread: the waiting calls of `sender` are dropped and their
  // workers released; a call already running finishes.
  virtual void DropCalls(const void* sender) = 0;

  // Dialog's thread: `handler` runs once on the dialog's thread after `ms`
  // milliseconds, unless the timer is stopped first. Never 0.
  virtual TTimerId StartTimer(std::uint32_t ms, std::function<void()> handler) = 0;
  // Stopping a timer that fired or was stopped already does nothing.
  virtual void StopTimer(TTimerId id) = 0;

  // Runs `body` on a new thread that ends by itself; nobody waits for it.
  // The module stays loaded until the thread has ended. Throws when the
  // system cannot start a thread.
  virtual void StartThread(std::function<void()> body) = 0;
};

}  // namespace bx
