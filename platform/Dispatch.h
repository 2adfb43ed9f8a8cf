// The dialog's thread as the place where work happens: a worker thread hands
// a call over and waits until it has run there, and one-shot timers fire
// there. The thread that made the service (the one that runs the dialogs)
// is the dialog's thread.
#pragma once

#include <cstdint>
#include <functional>

namespace bx {

using TTimerId = std::uint32_t;  // 0 is no timer

class IDispatch {
 public:
  virtual ~IDispatch() = default;
  // Runs `call` on the dialog's thread and returns once it has run. From
  // the dialog's thread itself it runs at once. Handed over from a worker,
  // an error of the call is shown by the error report on the dialog's
  // thread, as an event handler's is, and the worker goes on.
  virtual void Synchronize(const std::function<void()>& call) = 0;
  // On the dialog's thread: `elapsed` runs there once, `ms` milliseconds
  // from now, unless the timer is stopped first.
  virtual TTimerId StartTimer(std::uint32_t ms, std::function<void()> elapsed) = 0;
  // A timer that fired or was stopped already is no error.
  virtual void StopTimer(TTimerId timer) = 0;
};

}  // namespace bx
