// Helpers of the Wine suite: find the windows a modal run shows, from a
// second thread, and act on them while the test's thread is inside the run.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace bx::wine {

inline std::wstring WindowText(HWND window) {
  wchar_t text[512] = {};
  GetWindowTextW(window, text, 511);
  return text;
}

// The visible top-level window of a thread (or, with thread 0, of a process)
// whose caption is `caption`; null when there is none.
struct TWindowSearch {
  DWORD Thread, Process;
  const std::wstring* Caption;
  HWND Found;
};

inline BOOL CALLBACK MatchShownWindow(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<TWindowSearch*>(p);
  DWORD process = 0;
  const DWORD thread = GetWindowThreadProcessId(w, &process);
  if ((s->Thread && thread != s->Thread) || (s->Process && process != s->Process)) return TRUE;
  if (!IsWindowVisible(w) || WindowText(w) != *s->Caption) return TRUE;
  s->Found = w;
  return FALSE;
}

inline HWND FindShownWindow(DWORD threadId, DWORD processId, const std::wstring& caption) {
  TWindowSearch search{threadId, processId, &caption, nullptr};
  EnumWindows(MatchShownWindow, reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

inline BOOL CALLBACK CloseShownWindow(HWND w, LPARAM) {
  if (IsWindowVisible(w)) PostMessageW(w, WM_CLOSE, 0, 0);
  return TRUE;
}

// Runs `run` on this thread (a call that shows a modal window and returns
// when it closes). Meanwhile a helper thread waits for the visible window
// captioned `caption` of this thread and calls `act` on it once. If that
// window does not appear, or the run does not end after `act`, within
// timeoutMs, the helper closes every visible window of this thread, so that
// the run returns and the test fails instead of hanging; a run that still
// does not end stops the suite. Returns the window found (null when none was).
inline HWND WhileShown(const std::wstring& caption, const std::function<void()>& run,
                       const std::function<void(HWND)>& act, DWORD timeoutMs = 20000) {
  const DWORD thread = GetCurrentThreadId();
  std::atomic<bool> done{false};
  std::atomic<HWND> found{nullptr};
  std::thread helper([&] {
    ULONGLONG deadline = GetTickCount64() + timeoutMs;
    int forced = 0;
    while (!done) {
      if (!found) {
        if (HWND w = FindShownWindow(thread, 0, caption)) {
          found = w;
          act(w);
          deadline = GetTickCount64() + timeoutMs;
        }
      }
      if (!done && GetTickCount64() > deadline) {
        if (++forced > 3) {
          std::fprintf(stderr, "The modal run of \"%ls\" does not end\n", caption.c_str());
          std::fflush(stderr);
          ExitProcess(3);
        }
        EnumThreadWindows(thread, CloseShownWindow, 0);
        deadline = GetTickCount64() + 2000;
      }
      Sleep(50);
    }
  });
  run();
  done = true;
  helper.join();
  return found;
}

// The child windows of class `cls` (case does not matter), left to right.
struct TClassSearch {
  const std::wstring* Class;
  std::vector<HWND> Found;
};

inline BOOL CALLBACK MatchClass(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<TClassSearch*>(p);
  wchar_t name[64] = {};
  GetClassNameW(w, name, 63);
  if (lstrcmpiW(name, s->Class->c_str()) == 0) s->Found.push_back(w);
  return TRUE;
}

inline std::vector<HWND> ChildrenOfClass(HWND parent, const std::wstring& cls) {
  TClassSearch search{&cls, {}};
  EnumChildWindows(parent, MatchClass, reinterpret_cast<LPARAM>(&search));
  std::sort(search.Found.begin(), search.Found.end(), [](HWND a, HWND b) {
    RECT ra, rb;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.left < rb.left;
  });
  return search.Found;
}

}  // namespace bx::wine
