#include "platform/win32/DesktopSize.h"

namespace bx {

namespace {

// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE.
const HANDLE kPerMonitorAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));

bool Vertical(int index) {
  return index == SM_CYVIRTUALSCREEN || index == SM_YVIRTUALSCREEN || index == SM_CYSCREEN;
}

}  // namespace

int ScreenCaps(int index) {
  HDC dc = GetDC(nullptr);
  if (!dc) return 0;
  const int value = GetDeviceCaps(dc, index);
  ReleaseDC(nullptr, dc);
  return value;
}

TDesktopSizeCalls SystemDesktopSizeCalls() {
  TDesktopSizeCalls calls;
  if (HMODULE user32 = GetModuleHandleW(L"user32.dll"))
    calls.SetThreadDpiAwarenessContext = reinterpret_cast<HANDLE(WINAPI*)(HANDLE)>(
        reinterpret_cast<void*>(GetProcAddress(user32, "SetThreadDpiAwarenessContext")));
  calls.GetSystemMetrics = ::GetSystemMetrics;
  calls.ScreenCaps = ScreenCaps;
  return calls;
}

int PhysicalSystemMetric(int index, const TDesktopSizeCalls& calls) {
  if (calls.SetThreadDpiAwarenessContext) {
    if (HANDLE previous = calls.SetThreadDpiAwarenessContext(kPerMonitorAware)) {
      const int value = calls.GetSystemMetrics(index);
      calls.SetThreadDpiAwarenessContext(previous);
      return value;
    }
  }
  // Earlier systems scale only what they report to an unaware process.
  const int value = calls.GetSystemMetrics(index);
  const int logical = calls.ScreenCaps(Vertical(index) ? VERTRES : HORZRES);
  const int physical = calls.ScreenCaps(Vertical(index) ? DESKTOPVERTRES : DESKTOPHORZRES);
  if (logical <= 0 || physical <= 0 || logical == physical) return value;
  return MulDiv(value, physical, logical);
}

RECT WorkAreaOf(HWND window) {
  HMONITOR monitor = MonitorFromWindow(window, window ? MONITOR_DEFAULTTONEAREST
                                                      : MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (monitor && GetMonitorInfoW(monitor, &info)) return info.rcWork;
  RECT work{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

POINT KeptInside(POINT at, SIZE size, const RECT& area) {
  if (at.x + size.cx > area.right) at.x = area.right - size.cx;
  if (at.y + size.cy > area.bottom) at.y = area.bottom - size.cy;
  if (at.x < area.left) at.x = area.left;
  if (at.y < area.top) at.y = area.top;
  return at;
}

}  // namespace bx
