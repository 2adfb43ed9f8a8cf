// The desktop's size in physical pixels, the pixels the wallpaper is placed
// in, whatever display scaling the host process is unaware of; and the
// work area a window of ours is kept in.
#pragma once

#include "platform/win32/WinApi.h"

namespace bx {

// What the query asks of the system; a test may hand in others.
struct TDesktopSizeCalls {
  // SetThreadDpiAwarenessContext; null where the system has none (before
  // Windows 10 version 1607).
  HANDLE(WINAPI* SetThreadDpiAwarenessContext)(HANDLE) = nullptr;
  int(WINAPI* GetSystemMetrics)(int) = nullptr;
  // GetDeviceCaps of the screen.
  int (*ScreenCaps)(int) = nullptr;
};
TDesktopSizeCalls SystemDesktopSizeCalls();

// GetDeviceCaps of the screen; 0 when the screen's context cannot be had.
int ScreenCaps(int index);

// A size or place of the desktop (SM_CXVIRTUALSCREEN, SM_CYVIRTUALSCREEN, ...)
// in physical pixels: asked as a thread aware of each monitor's scaling
// where the system offers it, else scaled by the screen's physical size
// against the size the system reports to this process.
int PhysicalSystemMetric(int index, const TDesktopSizeCalls& calls = SystemDesktopSizeCalls());

// The work area of the monitor that holds most of `window` (the nearest
// one), the primary monitor's for none.
RECT WorkAreaOf(HWND window);

// The top left corner nearest to `at` at which a window of `size` lies
// inside `area`; its top left corner when it is larger than the area.
POINT KeptInside(POINT at, SIZE size, const RECT& area);

}  // namespace bx
