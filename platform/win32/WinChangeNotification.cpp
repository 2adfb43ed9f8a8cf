#include "platform/win32/WinChangeNotification.h"

#include "platform/win32/Text.h"
#include "platform/win32/WinApi.h"
#include "platform/win32/WinFiles.h"

namespace bx {

namespace {

class TWinFolderWatch : public IFolderWatch {
 public:
  TWinFolderWatch(HANDLE change, HANDLE wake) : FChange(change), FWake(wake) {}
  ~TWinFolderWatch() override {
    FindCloseChangeNotification(FChange);
    CloseHandle(FWake);
  }
  TWinFolderWatch(const TWinFolderWatch&) = delete;
  TWinFolderWatch& operator=(const TWinFolderWatch&) = delete;

  TWatchResult Wait() override {
    const HANDLE handles[2] = {FChange, FWake};
    for (;;) {
      switch (WaitForMultipleObjects(2, handles, FALSE, INFINITE)) {
        case WAIT_OBJECT_0: return TWatchResult::Changed;
        case WAIT_OBJECT_0 + 1: return TWatchResult::Woken;
        case WAIT_FAILED: FLastError = GetLastError(); return TWatchResult::Failed;
        default: break;  // an abandoned or unexpected result: wait again
      }
    }
  }

  bool Rearm() override {
    if (FindNextChangeNotification(FChange)) return true;
    FLastError = GetLastError();
    return false;
  }

  void Wake() override { SetEvent(FWake); }
  std::uint32_t LastError() const override { return FLastError; }

 private:
  HANDLE FChange;
  HANDLE FWake;
  DWORD FLastError = 0;
};

class TWinChangeNotification : public IChangeNotification {
 public:
  std::unique_ptr<IFolderWatch> WatchFolder(const std::string& folder, bool subtree,
                                      std::uint32_t filter, std::uint32_t& error) override {
    error = 0;
    HANDLE change =
        FindFirstChangeNotificationW(WidePath(folder).c_str(), subtree ? TRUE : FALSE, filter);
    if (change == INVALID_HANDLE_VALUE) {
      error = GetLastError();
      return nullptr;
    }
    HANDLE wake = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!wake) {
      error = GetLastError();
      FindCloseChangeNotification(change);
      return nullptr;
    }
    return std::make_unique<TWinFolderWatch>(change, wake);
  }

  // As the system words it, without the line end and full stop it ends with.
  std::string ErrorText(std::uint32_t code) override {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring text = length && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() <= L' ' || text.back() == L'.')) text.pop_back();
    return Narrow(text);
  }
};

}  // namespace

IChangeNotification& WinChangeNotification() {
  static TWinChangeNotification notification;
  return notification;
}

}  // namespace bx
