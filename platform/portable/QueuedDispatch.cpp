#include "platform/portable/QueuedDispatch.h"

#include "ui/Form.h"

namespace bx {

TQueuedDispatch::TQueuedDispatch() : FThread(std::this_thread::get_id()) {}

void TQueuedDispatch::Synchronize(const std::function<void()>& call) {
  if (std::this_thread::get_id() == FThread) {
    call();
    return;
  }
  TCall entry{&call};
  std::unique_lock lock(FMutex);
  FCalls.push_back(&entry);
  FQueued.notify_all();
  FRan.wait(lock, [&entry] { return entry.Done; });
}

int TQueuedDispatch::ProcessCalls() {
  int count = 0;
  std::unique_lock lock(FMutex);
  while (!FCalls.empty()) {
    TCall* entry = FCalls.front();
    FCalls.pop_front();
    lock.unlock();
    try {
      (*entry->Call)();
    } catch (const std::exception& e) {
      Application().ShowException(e);
    }
    lock.lock();
    entry->Done = true;
    FRan.notify_all();
    ++count;
  }
  return count;
}

bool TQueuedDispatch::WaitForCall(std::chrono::milliseconds timeout) {
  std::unique_lock lock(FMutex);
  return FQueued.wait_for(lock, timeout, [this] { return !FCalls.empty(); });
}

TTimerId TQueuedDispatch::StartTimer(std::uint32_t ms, std::function<void()> elapsed) {
  TTimerId id = ++FLastTimer;
  if (id == 0) id = ++FLastTimer;
  FTimers[id] = {FNow + ms, std::move(elapsed)};
  return id;
}

void TQueuedDispatch::StopTimer(TTimerId timer) { FTimers.erase(timer); }

void TQueuedDispatch::Advance(std::uint64_t ms) {
  const std::uint64_t end = FNow + ms;
  for (;;) {
    // The earliest timer due by the end; a handler may start or stop others.
    auto next = FTimers.end();
    for (auto it = FTimers.begin(); it != FTimers.end(); ++it)
      if (it->second.Due <= end && (next == FTimers.end() || it->second.Due < next->second.Due))
        next = it;
    if (next == FTimers.end()) break;
    FNow = std::max(FNow, next->second.Due);
    std::function<void()> elapsed = std::move(next->second.Elapsed);
    FTimers.erase(next);
    try {
      elapsed();
    } catch (const std::exception& e) {
      Application().ShowException(e);
    }
  }
  FNow = end;
}

}  // namespace bx
