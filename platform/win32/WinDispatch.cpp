#include "platform/win32/WinDispatch.h"

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

class TWinDispatch : public IDispatch, public TWindowBase<TWinDispatch> {
 public:
  // Made on the dialog's thread, before any worker can queue a call.
  TWinDispatch()
      : FQueue([this] { PostMessageW(FWindow, kRunCalls, 0, 0); }),
        FThread(GetCurrentThreadId()) {
    RegisterWindowClass(kDispatchClass, WindowProc);
    CreateWindowExW(0, kDispatchClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, CodeModule(),
                    this);
    if (!FHandle) throw Exception("Error creating window");
    FWindow = FHandle;
  }
  ~TWinDispatch() override {
    if (FHandle) DestroyWindow(FHandle);
  }

  bool Synchronize(const void* sender, const std::function<void()>& call) override {
    if (GetCurrentThreadId() == FThread) {
      Guarded(call);
      return true;
    }
    return FQueue.Synchronize(sender, call);
  }

  void DropCalls(const void* sender) override { FQueue.Drop(sender); }

  TTimerId StartTimer(std::uint32_t ms, std::function<void()> handler) override {
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
  HWND FWindow = nullptr;  // FHandle for the workers, set before any of them starts
  TTimerId FNextTimer = 1;
  std::map<TTimerId, std::function<void()>> FTimers;
};

}  // namespace

IDispatch& WinDispatch() {
  static TWinDispatch dispatch;
  return dispatch;
}

}  // namespace bx
