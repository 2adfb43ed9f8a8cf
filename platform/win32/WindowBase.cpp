#include "platform/win32/WindowBase.h"

#include <iterator>
#include <map>
#include <string>

#include "platform/ErrorReport.h"
#include "platform/Errors.h"

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

namespace {
HINSTANCE gResourceModule = nullptr;
}  // namespace

HINSTANCE ResourceModule() { return gResourceModule ? gResourceModule : CodeModule(); }

void SetResourceModule(HINSTANCE module) { gResourceModule = module; }

namespace {

// The classes of ours registered in this load of the module, with the
// procedures of the system's classes they build on.
std::map<std::wstring, WNDPROC>& Registered() {
  static std::map<std::wstring, WNDPROC> registered;
  return registered;
}

}  // namespace

void UnregisterWindowClasses() {
  std::map<std::wstring, WNDPROC>& registered = Registered();
  for (auto it = registered.begin(); it != registered.end();)
    it = UnregisterClassW(it->first.c_str(), CodeModule()) ? registered.erase(it) : std::next(it);
}

WNDPROC RegisterWindowClass(const wchar_t* name, WNDPROC procedure, UINT style,
                            const wchar_t* base) {
  std::map<std::wstring, WNDPROC>& registered = Registered();
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
    ReportError(e);
  } catch (...) {
    ReportError(Exception("Unknown error"));
  }
}

}  // namespace bx
