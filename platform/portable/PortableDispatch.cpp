#include "platform/portable/PortableDispatch.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/ErrorReport.h"

namespace bx {

namespace {

void Report(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::exception& e) {
    ReportError(e);
  } catch (...) {
    // Only the project's own exceptions carry a text to show.
  }
}

}  // namespace

TManualDispatch::TManualDispatch() : FQueue(nullptr), FThread(std::this_thread::get_id()) {}

TManualDispatch::~TManualDispatch() {
  // A thread still running here would outlive the object it reports to:
  // a fault of the test, made loud rather than a use after free.
  if (!WaitForThreads(std::chrono::seconds(10))) {
    std::fputs("TManualDispatch: a worker thread did not end\n", stderr);
    std::abort();
  }
}

bool TManualDispatch::Synchronize(const void* sender, const std::function<void()>& call,
                                  const std::atomic<bool>* released) {
  if (std::this_thread::get_id() == FThread) {
    try {
      call();
    } catch (...) {
      Report(std::current_exception());
    }
    return true;
  }
  return FQueue.Synchronize(sender, call, released);
}

void TManualDispatch::DropCalls(const void* sender) { FQueue.Drop(sender); }

TTimerId TManualDispatch::StartTimer(std::uint32_t ms, std::function<void()> handler) {
  const TTimerId id = FNextTimer++;
  FTimers[id] = {FNow + ms, std::move(handler)};
  return id;
}

void TManualDispatch::StopTimer(TTimerId id) { FTimers.erase(id); }

void TManualDispatch::StartThread(std::function<void()> body) {
  {
    std::lock_guard<std::mutex> lock(FThreadMutex);
    ++FThreads;
  }
  ++FThreadsStarted;
  try {
    std::thread([this, body = std::move(body)]() mutable {
      body();
      body = nullptr;  // what it holds goes before the count says the thread ended
      std::lock_guard<std::mutex> lock(FThreadMutex);
      --FThreads;
      FThreadEnded.notify_all();
    }).detach();
  } catch (...) {
    std::lock_guard<std::mutex> lock(FThreadMutex);
    --FThreads;
    throw;
  }
}

int TManualDispatch::ProcessCalls() {
  return FQueue.RunQueued(Report);
}

bool TManualDispatch::WaitForCall(std::chrono::milliseconds timeout) {
  return FQueue.WaitForCall(timeout);
}

void TManualDispatch::Advance(std::uint64_t ms) {
  const std::uint64_t target = FNow + ms;
  for (;;) {
    auto next = FTimers.end();
    for (auto it = FTimers.begin(); it != FTimers.end(); ++it)
      if (it->second.Due <= target && (next == FTimers.end() || it->second.Due < next->second.Due))
        next = it;
    if (next == FTimers.end()) break;
    FNow = next->second.Due;
    std::function<void()> handler = std::move(next->second.Handler);
    FTimers.erase(next);
    try {
      handler();
    } catch (...) {
      Report(std::current_exception());
    }
  }
  FNow = target;
}

bool TManualDispatch::WaitForThreads(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(FThreadMutex);
  return FThreadEnded.wait_for(lock, timeout, [this] { return FThreads == 0; });
}

int TManualDispatch::RunningThreads() {
  std::lock_guard<std::mutex> lock(FThreadMutex);
  return FThreads;
}

}  // namespace bx
