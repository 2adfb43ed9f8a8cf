// The module's entry points: DllMain and the one export, CPlApplet, which
// hands each Control Panel message to the host (applet/ControlPanel.h) and
// copies its answers into the Control Panel's own records.
#include <iterator>

#include "applet/ControlPanel.h"
#include "platform/win32/Text.h"
#include "platform/win32/WinApi.h"
#include "platform/win32/WinDispatch.h"
#include "platform/win32/WindowBase.h"

#ifndef _WIN64
static_assert(sizeof(NEWCPLINFOA) == 244, "the Control Panel's ANSI record");
#endif

namespace {

HINSTANCE gModule = nullptr;
bool gStarted = false;
// The module's manifest (common controls 6) as an activation context, made
// active while a message is handled so that the dialog's windows use it.
HANDLE gActivation = INVALID_HANDLE_VALUE;
// CPlApplet calls in progress: more than one while a dialog's modal loop
// hands the Control Panel's messages on.
int gDepth = 0;

// The module start runs with the first message rather than in DllMain:
// under the loader lock, the environment check's message box, loading the
// icon, the settings' static objects and the activation context are unsafe
// (they may load further modules or wait on other threads). The Control
// Panel's first message is CPL_INIT, so this is as early as the host needs it.
void StartOnce() {
  if (gStarted) return;
  gStarted = true;
  wchar_t path[MAX_PATH * 4] = {};
  GetModuleFileNameW(gModule, path, static_cast<DWORD>(std::size(path)) - 1);
  ACTCTXW context{};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
  context.lpSource = path;
  context.hModule = gModule;
  context.lpResourceName = MAKEINTRESOURCEW(2);
  gActivation = CreateActCtxW(&context);
  HICON icon = LoadIconW(gModule, L"MAINICON");
  bx::ModuleStart(reinterpret_cast<std::uintptr_t>(icon));
}

// Copies text into a fixed ANSI field with its terminator, cut at a whole
// character when it does not fit.
void CopyAnsi(const std::string& text, char* field, std::size_t fieldSize) {
  const std::wstring wide = bx::Widen(text);
  for (std::size_t n = wide.size();; --n) {
    const int length = n == 0 ? 0
                              : WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(n),
                                                    nullptr, 0, nullptr, nullptr);
    if (length >= 0 && static_cast<std::size_t>(length) < fieldSize) {
      if (length > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(n), field, length, nullptr,
                            nullptr);
      field[length] = '\0';
      return;
    }
    if (n == 0) {
      field[0] = '\0';
      return;
    }
  }
}

void Describe(const bx::TCplDescription& description, NEWCPLINFOA& info) {
  info.dwSize = sizeof(NEWCPLINFOA);
  info.dwFlags = 0;
  info.dwHelpContext = 0;
  info.lData = 0;
  info.hIcon = reinterpret_cast<HICON>(description.Icon);
  info.szHelpFile[0] = '\0';
  CopyAnsi(description.Name, info.szName, sizeof info.szName);
  CopyAnsi(description.Info, info.szInfo, sizeof info.szInfo);
}

class TActivation {
 public:
  TActivation() {
    if (gActivation != INVALID_HANDLE_VALUE && !ActivateActCtx(gActivation, &FCookie)) FCookie = 0;
  }
  ~TActivation() {
    if (FCookie) DeactivateActCtx(0, FCookie);
  }
  TActivation(const TActivation&) = delete;
  TActivation& operator=(const TActivation&) = delete;

 private:
  ULONG_PTR FCookie = 0;
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    gModule = instance;
  } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
    if (gActivation != INVALID_HANDLE_VALUE) ReleaseActCtx(gActivation);
    gActivation = INVALID_HANDLE_VALUE;
    // A host that unloads without CPL_EXIT: classes of ours left registered
    // would point at code that is gone.
    bx::UnregisterWindowClasses();
  }
  return TRUE;
}

extern "C" LONG CALLBACK CPlApplet(HWND hwndCPl, UINT uMsg, LPARAM lParam1, LPARAM lParam2) {
  // No error may cross into the Control Panel: whatever escapes the host's
  // own handling ends here with the neutral answer.
  try {
    StartOnce();
    TActivation activation;
    if (uMsg == bx::kCplNewInquire) {
      bx::TCplDescription description;
      bx::ControlPanelMessage(reinterpret_cast<std::uintptr_t>(hwndCPl), uMsg, lParam1,
                              &description);
      if (description.Described && lParam2 != 0)
        Describe(description, *reinterpret_cast<NEWCPLINFOA*>(lParam2));
      return 0;
    }
    ++gDepth;
    LONG result = 0;
    try {
      result = bx::ControlPanelMessage(reinterpret_cast<std::uintptr_t>(hwndCPl), uMsg, lParam1,
                                       nullptr);
    } catch (...) {
      --gDepth;
      throw;
    }
    // With the dialog gone (and no message of a running one's loop still
    // inside) nothing of ours needs a window of the Control Panel's thread;
    // the host may unload the module from now on, and the last release may
    // come from the folder monitor's ending thread, which could not destroy
    // the window.
    if (--gDepth == 0 && (uMsg == bx::kCplDblClk || uMsg == bx::kCplExit)) {
      bx::CloseWinDispatch();
      if (uMsg == bx::kCplExit) bx::UnregisterWindowClasses();
    }
    return result;
  } catch (...) {
    return 0;
  }
}
