// The dispatch service of the portable build: calls from worker threads wait
// in a queue until the dialog's thread (the one that made the object, in
// tests the test's own) runs them, and timers fire as a clock that the
// tests advance passes their time.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "platform/Platform.h"

namespace bx {

class TQueuedDispatch : public IDispatch {
 public:
  TQueuedDispatch();
  void Synchronize(const std::function<void()>& call) override;
  TTimerId StartTimer(std::uint32_t ms, std::function<void()> elapsed) override;
  void StopTimer(TTimerId timer) override;

  // ---- The dialog's thread's side, for the tests
  // Runs the calls queued so far, in order; an error of one is shown by the
  // error report. Returns how many ran.
  int ProcessCalls();
  // Waits until a call is queued or the time is up; true when one is.
  bool WaitForCall(std::chrono::milliseconds timeout);
  // Moves the clock on by `ms`, firing each timer whose time comes, in the
  // order of their times; an error of one is shown by the error report.
  void Advance(std::uint64_t ms);
  std::uint64_t Now() const { return FNow; }
  std::size_t PendingTimers() const { return FTimers.size(); }

 private:
  struct TCall {
    const std::function<void()>* Call;
    bool Done = false;
  };
  struct TTimer {
    std::uint64_t Due;
    std::function<void()> Elapsed;
  };
  std::thread::id FThread;
  std::mutex FMutex;
  std::condition_variable FQueued;
  std::condition_variable FRan;
  std::deque<TCall*> FCalls;
  std::uint64_t FNow = 0;
  TTimerId FLastTimer = 0;
  std::map<TTimerId, TTimer> FTimers;
};

}  // namespace bx
