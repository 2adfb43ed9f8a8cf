#include "platform/win32/WinDispatch.h"

#include <map>
#include <utility>

#include "platform/Errors.h"
#include "platform/win32/WinApi.h"
#include "platform/win32/WindowBase.h"

namespace bx {
namespace {

constexpr wchar_t kDispatchClass[] = L"TBexoraDispatch";
// wParam: 0; lParam: the call.
constexpr UINT kCallMessage = WM_APP + 1;

class TWinDispatch : public IDispatch, public TWindowBase<TWinDispatch> {
 public:
  TWinDispatch() : FThread(GetCurrentThreadId()) {
    RegisterWindowClass(kDispatchClass, WindowProc);
    CreateWindowExW(0, kDispatchClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                    CodeModule(), this);
    if (!FHandle) throw Exception("Error creating window");
  }
  ~TWinDispatch() override {
    if (FHandle) DestroyWindow(FHandle);
  }
  TWinDispatch(const TWinDispatch&) = delete;
  TWinDispatch& operator=(const TWinDispatch&) = delete;

  void Synchronize(const std::function<void()>& call) override {
    if (GetCurrentThreadId() == FThread) {
      call();
      return;
    }
    // The dialog's thread handles a sent message whenever it looks at its
    // queue, also inside another modal loop (a message box).
    SendMessageW(FHandle, kCallMessage, 0, reinterpret_cast<LPARAM>(&call));
  }

  TTimerId StartTimer(std::uint32_t ms, std::function<void()> elapsed) override {
    TTimerId id = ++FLastTimer;
    if (id == 0) id = ++FLastTimer;
    if (!SetTimer(FHandle, id, ms < USER_TIMER_MINIMUM ? USER_TIMER_MINIMUM : ms, nullptr))
      throw Exception("Not enough timers available");
    FTimers[id] = std::move(elapsed);
    return id;
  }

  void StopTimer(TTimerId timer) override {
    if (FTimers.erase(timer)) KillTimer(FHandle, timer);
  }

  LRESULT WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case kCallMessage:
        Guarded([&] { (*reinterpret_cast<const std::function<void()>*>(lParam))(); });
        return 0;
      case WM_TIMER: {
        // One-shot: the timer goes before its handler runs, which may start another.
        const auto it = FTimers.find(static_cast<TTimerId>(wParam));
        KillTimer(FHandle, wParam);
        if (it == FTimers.end()) return 0;
        std::function<void()> elapsed = std::move(it->second);
        FTimers.erase(it);
        elapsed();
        return 0;
      }
      default:
        return DefaultMessage(message, wParam, lParam);
    }
  }

 private:
  DWORD FThread;
  TTimerId FLastTimer = 0;
  std::map<TTimerId, std::function<void()>> FTimers;
};

}  // namespace

IDispatch& WinDispatch() {
  static TWinDispatch dispatch;
  return dispatch;
}

}  // namespace bx
