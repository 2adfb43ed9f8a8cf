#include "platform/win32/WindowBase.h"

#include <map>
#include <string>

#include "platform/Errors.h"
#include "ui/Form.h"

namespace bx {

HINSTANCE CodeModule() {
  static HINSTANCE module = [] {
    HMODULE handle = nullptr;
    GetModuleHandleExW(
        GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
        reinterpret_cast<LPCWSTR>(&CodeModule), &handle);
    return handle;
  }();
  return module;
}

WNDPROC RegisterWindowClass(const wchar_t* name, WNDPROC procedure, UINT style,
                            const wchar_t* base) {
  static std::map<std::wstring, WNDPROC> registered;
  if (auto it = registered.find(name); it != registered.end()) return it->second;
  const HINSTANCE module = CodeModule();
  // A class left behind by an earlier load of the module would point at
  // code that is gone.
  UnregisterClassW(name, module);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  WNDPROC baseProcedure = DefWindowProcW;
  if (base) {
    if (!GetClassInfoExW(nullptr, base, &wc)) throw Exception("Error creating window");
    baseProcedure = wc.lpfnWndProc;
    wc.cbSize = sizeof wc;
    // Ours clips its own children and belongs to this module alone.
    wc.style &= ~static_cast<UINT>(CS_PARENTDC | CS_GLOBALCLASS);
  } else {
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  }
  wc.style |= style;
  wc.lpfnWndProc = procedure;
  wc.hInstance = module;
  wc.lpszClassName = name;
  if (!RegisterClassExW(&wc)) throw Exception("Error creating window");
  registered.emplace(name, baseProcedure);
  return baseProcedure;
}

void ReportCurrentException() noexcept {
  try {
    throw;
  } catch (const std::exception& e) {
    Application().ShowException(e);
  } catch (...) {
    Application().ShowException(Exception("Unknown error"));
  }
}

}  // namespace bx
