#include "platform/win32/WinSystem.h"

#include "platform/CommandLine.h"
#include "platform/win32/DesktopSize.h"
#include "platform/win32/Text.h"
#include "platform/win32/WinApi.h"

namespace bx {

namespace {

class TWinSystem : public ISystem {
 public:
  // The desktop's size in physical pixels: the placement presets, the
  // origins and the preview are in the pixels the wallpaper is placed in.
  // Every other figure as this process's windows see it.
  int GetSystemMetrics(int index) override {
    if (index == SM_CXVIRTUALSCREEN || index == SM_CYVIRTUALSCREEN)
      return PhysicalSystemMetric(index);
    return ::GetSystemMetrics(index);
  }

  bool SystemParametersInfo(std::uint32_t action, std::uint32_t param, const std::string& text,
                            std::uint32_t winIni) override {
    std::wstring wide = Widen(text);
    return SystemParametersInfoW(action, param, wide.data(), winIni) != 0;
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

  TDesktopLayout DesktopLayout() override {
    TDesktopLayout layout;
    layout.Host = WallpaperHost();
    layout.Left = PhysicalSystemMetric(SM_XVIRTUALSCREEN);
    layout.Top = PhysicalSystemMetric(SM_YVIRTUALSCREEN);
    layout.Width = PhysicalSystemMetric(SM_CXVIRTUALSCREEN);
    layout.Height = PhysicalSystemMetric(SM_CYVIRTUALSCREEN);
    layout.PrimaryWidth = PhysicalSystemMetric(SM_CXSCREEN);
    layout.PrimaryHeight = PhysicalSystemMetric(SM_CYSCREEN);
    return layout;
  }

 private:
  // Wine says so through ntdll's own export; Windows' version is asked of
  // ntdll too, since GetVersionEx answers what the host's manifest allows.
  static TWallpaperHost WallpaperHost() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    if (!ntdll) return TWallpaperHost::Windows;
    if (GetProcAddress(ntdll, "wine_get_version")) return TWallpaperHost::Wine;
    using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
    auto rtlGetVersion = reinterpret_cast<TRtlGetVersion>(
        reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!rtlGetVersion || rtlGetVersion(&info) != 0) return TWallpaperHost::Windows;
    return info.dwMajorVersion >= 6 ? TWallpaperHost::Windows : TWallpaperHost::Classic;
  }
};

}  // namespace

ISystem& WinSystem() {
  static TWinSystem system;
  return system;
}

}  // namespace bx
