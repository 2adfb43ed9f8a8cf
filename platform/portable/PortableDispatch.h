// The dispatch service of the portable build: the workers' calls wait in a
// queue until the test (standing for the dialog's message loop) runs them,
// and the timers follow a clock that the test moves on. An error of a call
// or a timer goes to the error report, as on the dialog's thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "platform/CallQueue.h"
#include "platform/Dispatch.h"

namespace bx {

class TManualDispatch : public IThreadDispatch {
 public:
  TManualDispatch();
  // Waits for the threads it started, which must have been told to end.
  ~TManualDispatch() override;
  TManualDispatch(const TManualDispatch&) = delete;
  TManualDispatch& operator=(const TManualDispatch&) = delete;

  bool Synchronize(const void* sender, const std::function<void()>& call,
                   const std::atomic<bool>* released = nullptr) override;
  void DropCalls(const void* sender) override;
  TTimerId StartTimer(std::uint32_t ms, std::function<void()> handler) override;
  void StopTimer(TTimerId id) override;
  void StartThread(std::function<void()> body) override;

  // ---- Test controls
  // Runs the calls waiting now and those queued meanwhile; how many ran.
  int ProcessCalls();
  // Waits up to `timeout` for a worker's call; true when one waits.
  bool WaitForCall(std::chrono::milliseconds timeout);
  // Moves the clock on by `ms`, firing the due timers in the order of
  // their due times.
  void Advance(std::uint64_t ms);
  std::uint64_t Now() const { return FNow; }
  int PendingTimers() const { return static_cast<int>(FTimers.size()); }
  // Waits until every thread started here has ended; false after timeout.
  bool WaitForThreads(std::chrono::milliseconds timeout);
  int RunningThreads();
  int ThreadsStarted() const { return FThreadsStarted; }

 private:
  struct TTimer {
    std::uint64_t Due;
    std::function<void()> Handler;
  };

  TCallQueue FQueue;
  std::thread::id FThread;  // the dialog's thread: the one that made the object
  std::uint64_t FNow = 0;
  TTimerId FNextTimer = 1;
  std::map<TTimerId, TTimer> FTimers;
  std::mutex FThreadMutex;
  std::condition_variable FThreadEnded;
  int FThreads = 0;
  int FThreadsStarted = 0;
};

}  // namespace bx
