#include "platform/win32/WinSystem.h"

#include "platform/CommandLine.h"
#include "platform/win32/Text.h"
#include "platform/win32/WinApi.h"

namespace bx {

namespace {

// The current user's stored "Wallpaper", empty when there is none.
std::wstring StoredWallpaper() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_QUERY_VALUE, &key) !=
      ERROR_SUCCESS)
    return {};
  std::wstring text;
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key, L"Wallpaper", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ) && size > 0) {
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key, L"Wallpaper", nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) == ERROR_SUCCESS)
      text.assign(buffer.c_str());
  }
  RegCloseKey(key);
  return text;
}

int ScreenCaps(int index) {
  HDC dc = GetDC(nullptr);
  if (!dc) return 0;
  const int value = GetDeviceCaps(dc, index);
  ReleaseDC(nullptr, dc);
  return value;
}

class TWinSystem : public ISystem {
 public:
  int GetSystemMetrics(int index) override { return ::GetSystemMetrics(index); }

  bool SystemParametersInfo(std::uint32_t action, std::uint32_t param,
                            std::uint32_t winIni) override {
    // Reloading the wallpaper passes the stored "Wallpaper" itself: newer
    // systems take a null name as "back to the default wallpaper" and would
    // overwrite the value just stored.
    if (action == SPI_SETDESKWALLPAPER) {
      std::wstring stored = StoredWallpaper();
      return SystemParametersInfoW(action, param, stored.data(), winIni) != 0;
    }
    return SystemParametersInfoW(action, param, nullptr, winIni) != 0;
  }

  bool SetSysColor(int element, std::uint32_t color) override {
    const INT elements[1] = {element};
    const COLORREF colors[1] = {color};
    return SetSysColors(1, elements, colors) != 0;
  }

  std::uint32_t GetSysColor(int index) override { return ::GetSysColor(index); }

  void Beep(std::uint32_t frequency, std::uint32_t duration) override {
    ::Beep(frequency, duration);
  }

  void MessageBeep() override { ::MessageBeep(MB_OK); }

  std::vector<std::string> CommandLineArgs() override {
    return SplitCommandLine(Narrow(GetCommandLineW()));
  }

  int DisplayColorDepth() override { return ScreenCaps(BITSPIXEL) * ScreenCaps(PLANES); }
  int LogPixelsPerInchX() override { return ScreenCaps(LOGPIXELSX); }
  int LogPixelsPerInchY() override { return ScreenCaps(LOGPIXELSY); }

  bool IsWindows95OrNT() override {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    if (!GetVersionExW(&info)) return false;
#pragma GCC diagnostic pop
    return info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS ||
           info.dwPlatformId == VER_PLATFORM_WIN32_NT;
  }

  // The end request of a Windows program: its thread's message loop ends.
  void EndProgram() override { PostQuitMessage(0); }

  std::uint64_t TickCountMs() override { return GetTickCount64(); }
};

}  // namespace

ISystem& WinSystem() {
  static TWinSystem system;
  return system;
}

}  // namespace bx
