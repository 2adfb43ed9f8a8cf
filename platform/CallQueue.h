// The calls worker threads hand to the dialog's thread: each worker waits
// until its call has run there or was dropped. Both builds' dispatch
// services keep their calls here and differ only in how they wake the
// dialog's thread.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>

namespace bx {

class TCallQueue {
 public:
  // `wake` runs on the worker's thread after it queued a call.
  explicit TCallQueue(std::function<void()> wake) : FWake(std::move(wake)) {}
  TCallQueue(const TCallQueue&) = delete;
  TCallQueue& operator=(const TCallQueue&) = delete;

  // Worker: queues the call and waits; true when it ran, false when
  // dropped or when `released` is set as it is queued.
  bool Synchronize(const void* sender, const std::function<void()>& call,
                   const std::atomic<bool>* released = nullptr);
  // Dialog's thread: runs the queued calls, also those queued meanwhile,
  // and answers how many ran. An error of a call goes to `failed`.
  int RunQueued(const std::function<void(std::exception_ptr)>& failed);
  // Dialog's thread: drops the waiting calls of `sender`.
  void Drop(const void* sender);
  // Waits until a call is queued or the time is up; true when one waits.
  bool WaitForCall(std::chrono::milliseconds timeout);

 private:
  struct TPending {
    const void* Sender;
    const std::function<void()>* Call;
    bool Done = false;
    bool Ran = false;
  };

  std::function<void()> FWake;
  std::mutex FMutex;
  std::condition_variable FQueued;
  std::condition_variable FFinished;
  std::deque<TPending*> FPending;
};

}  // namespace bx
