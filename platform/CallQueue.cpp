#include "platform/CallQueue.h"

#include <algorithm>

namespace bx {

bool TCallQueue::Synchronize(const void* sender, const std::function<void()>& call,
                             const std::atomic<bool>* released) {
  // The record lives on this worker's stack until the dialog's thread is done with it.
  TPending pending{sender, &call};
  {
    // Under the lock Drop takes: a sender released before its Drop is
    // seen released here, or its call is queued before Drop looks.
    std::lock_guard<std::mutex> lock(FMutex);
    if (released && *released) return false;
    FPending.push_back(&pending);
  }
  FQueued.notify_all();
  if (FWake) FWake();
  std::unique_lock<std::mutex> lock(FMutex);
  FFinished.wait(lock, [&pending] { return pending.Done; });
  return pending.Ran;
}

int TCallQueue::RunQueued(const std::function<void(std::exception_ptr)>& failed) {
  int count = 0;
  for (;;) {
    TPending* pending = nullptr;
    {
      std::lock_guard<std::mutex> lock(FMutex);
      if (FPending.empty()) break;
      pending = FPending.front();
      FPending.pop_front();
    }
    std::exception_ptr error;
    try {
      (*pending->Call)();
    } catch (...) {
      error = std::current_exception();
    }
    {
      std::lock_guard<std::mutex> lock(FMutex);
      pending->Ran = true;
      pending->Done = true;
    }
    FFinished.notify_all();
    ++count;
    if (error && failed) failed(error);
  }
  return count;
}

void TCallQueue::Drop(const void* sender) {
  {
    std::lock_guard<std::mutex> lock(FMutex);
    auto dropped = std::stable_partition(FPending.begin(), FPending.end(),
                                         [sender](TPending* p) { return p->Sender != sender; });
    for (auto it = dropped; it != FPending.end(); ++it) (*it)->Done = true;
    FPending.erase(dropped, FPending.end());
  }
  FFinished.notify_all();
}

bool TCallQueue::WaitForCall(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(FMutex);
  return FQueued.wait_for(lock, timeout, [this] { return !FPending.empty(); });
}

}  // namespace bx
