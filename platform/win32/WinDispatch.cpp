#include "platform/win32/WinDispatch.h"

#include <atomic>
#include <map>
#include <memory>

#include "platform/CallQueue.h"
#include "platform/Errors.h"
#include "platform/win32/Text.h"
#include "platform/win32/WindowBase.h"

namespace bx {

namespace {

constexpr wchar_t kDispatchClass[] = L"TBexoraDispatch";
// Posted by a worker that queued a call.
constexpr UINT kRunCalls = WM_APP + 1;

class TWinDispatch : public IThreadDispatch, public TWindowBase<TWinDispatch> {
 public:
  // Made on the dialog's thread, before any worker can queue a call.
  TWinDispatch()
      : FQueue([this] {
          if (HWND window = FWindow.load()) PostMessageW(window, kRunCalls, 0, 0);
        }),
        FThread(GetCurrentThreadId()) {
    Open();
  }
  ~TWinDispatch() override { Close(); }

  // The window is made with the service and again, after Close, when a
  // timer or a worker needs it; it goes with Close, on the dialog's thread.
  void Open() {
    if (FHandle) return;
    RegisterWindowClass(kDispatchClass, WindowProc);
    CreateWindowExW(0, kDispatchClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, CodeModule(),
                    this);
    if (!FHandle) throw Exception("Error creating window");
    FWindow = FHandle;
  }

  // Only the window's own thread can destroy it.
  void Close() {
    if (!FHandle || GetCurrentThreadId() != FThread) return;
    FWindow = nullptr;
    for (const auto& timer : FTimers) KillTimer(FHandle, static_cast<UINT_PTR>(timer.first));
    FTimers.clear();
    DestroyWindow(FHandle);
  }

  bool Synchronize(const void* sender, const std::function<void()>& call,
                   const std::atomic<bool>* released) override {
    if (GetCurrentThreadId() == FThread) {
      Guarded(call);
      return true;
    }
    return FQueue.Synchronize(sender, call, released);
  }

  void DropCalls(const void* sender) override { FQueue.Drop(sender); }

  TTimerId StartTimer(std::uint32_t ms, std::function<void()> handler) override {
    Open();
    const TTimerId id = FNextTimer++;
    if (!SetTimer(FHandle, static_cast<UINT_PTR>(id), ms, nullptr))
      throw Exception("Not enough timers available");
    FTimers[id] = std::move(handler);
    return id;
  }

  void StopTimer(TTimerId id) override {
    if (FTimers.erase(id) && FHandle) KillTimer(FHandle, static_cast<UINT_PTR>(id));
  }

  void StartThread(std::function<void()> body) override {
    // The thread keeps the module loaded until it has ended: the host may
    // unload it as soon as the dialog is gone.
    Open();
    auto work = std::make_unique<TWork>();
    work->Body = std::move(body);
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(&ThreadEntry), &work->Module);
    HANDLE thread = CreateThread(nullptr, 0, ThreadEntry, work.get(), 0, nullptr);
    if (!thread) {
      const DWORD error = GetLastError();
      if (work->Module) FreeLibrary(work->Module);
      throw Exception(FormatText("Thread creation error: %s", std::to_string(error)));
    }
    work.release();
    CloseHandle(thread);
  }

  LRESULT WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunCalls) {
      FQueue.RunQueued([](std::exception_ptr error) {
        try {
          std::rethrow_exception(error);
        } catch (...) {
          ReportCurrentException();
        }
      });
      return 0;
    }
    if (message == WM_TIMER) {
      const auto it = FTimers.find(static_cast<TTimerId>(wParam));
      KillTimer(FHandle, wParam);
      if (it == FTimers.end()) return 0;
      std::function<void()> handler = std::move(it->second);
      FTimers.erase(it);
      Guarded([&] { handler(); });
      return 0;
    }
    return DefaultMessage(message, wParam, lParam);
  }

 private:
  struct TWork {
    std::function<void()> Body;
    HMODULE Module = nullptr;  // the reference the thread holds
  };

  static DWORD WINAPI ThreadEntry(LPVOID parameter) {
    HMODULE module = nullptr;
    {
      std::unique_ptr<TWork> work(static_cast<TWork*>(parameter));
      module = work->Module;
      try {
        work->Body();
      } catch (...) {
        // A worker has nobody to report to; it only ends.
      }
    }
    if (module) FreeLibraryAndExitThread(module, 0);
    return 0;
  }

  TCallQueue FQueue;
  DWORD FThread;  // the dialog's thread
  std::atomic<HWND> FWindow{nullptr};  // FHandle for the workers while it exists
  TTimerId FNextTimer = 1;
  std::map<TTimerId, std::function<void()>> FTimers;
};

TWinDispatch& TheDispatch() {
  static TWinDispatch dispatch;
  return dispatch;
}

}  // namespace

IThreadDispatch& WinDispatch() { return TheDispatch(); }

void CloseWinDispatch() { TheDispatch().Close(); }

}  // namespace bx
