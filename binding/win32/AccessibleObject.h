// What a screen reader asks a window of ours for: the platform's standard
// accessible object of the window, with its name, role and value told by
// the control the window shows (a picture, a spin edit and its buttons).
#pragma once

#include <functional>
#include <string>

#include "platform/win32/WinApi.h"

namespace bx {

struct TAccessibleText {
  std::wstring Name;
  LONG Role = ROLE_SYSTEM_CLIENT;
  std::wstring Value;  // empty: the standard object's
};

// The answer to WM_GETOBJECT: for the window's client object, an object
// that tells `describe()`; 0 for any other, so that the system answers it.
LRESULT AnswerGetObject(HWND window, WPARAM wParam, LPARAM lParam,
                        std::function<TAccessibleText()> describe);

}  // namespace bx
