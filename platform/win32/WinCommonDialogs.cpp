#include "platform/win32/WinCommonDialogs.h"

#include <array>

#include "platform/win32/Text.h"
#include "platform/win32/WinApi.h"
#include "platform/win32/WindowBase.h"

namespace bx {
namespace {

HWND WindowOf(std::uintptr_t handle) { return reinterpret_cast<HWND>(handle); }

// The shell's item of a file-system folder, or null.
PIDLIST_ABSOLUTE FolderItem(HWND owner, const std::string& path) {
  IShellFolder* desktop = nullptr;
  if (FAILED(SHGetDesktopFolder(&desktop))) return nullptr;
  std::wstring name = Widen(path);
  PIDLIST_RELATIVE item = nullptr;
  ULONG attributes = SFGAO_FILESYSTEM;
  if (FAILED(desktop->ParseDisplayName(owner, nullptr, name.data(), nullptr, &item, &attributes)) ||
      !(attributes & SFGAO_FILESYSTEM)) {
    CoTaskMemFree(item);
    item = nullptr;
  }
  desktop->Release();
  return reinterpret_cast<PIDLIST_ABSOLUTE>(item);
}

std::string PathOf(PCIDLIST_ABSOLUTE item) {
  wchar_t path[MAX_PATH] = {};
  return item && SHGetPathFromIDListW(item, path) ? Narrow(path) : std::string();
}

class TBrowseWindow : public IBrowseWindow {
 public:
  HWND Window = nullptr;

  void EnableOK(bool enable) override { SendMessageW(Window, BFFM_ENABLEOK, 0, enable ? 1 : 0); }

  void SetStatusText(const std::string& text, bool pathEllipsis) override {
    // The status line of the browser's template: 7, 27, 167, 39 in dialog units.
    const LONG units = GetDialogBaseUnits();
    RECT area{7 * LOWORD(units) / 4, 27 * HIWORD(units) / 8, 167 * LOWORD(units) / 4,
              39 * HIWORD(units) / 8};
    // A "W" more than the text, taken off again after fitting, leaves room
    // at the end of the line.
    std::wstring fitted = Widen(text) + L"W";
    fitted.resize(fitted.size() + 4);
    HDC dc = GetDC(Window);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(Window, WM_GETFONT, 0, 0)));
    DrawTextExW(dc, fitted.data(), -1, &area,
                (pathEllipsis ? DT_PATH_ELLIPSIS : DT_END_ELLIPSIS) | DT_MODIFYSTRING |
                    DT_NOPREFIX | DT_EXTERNALLEADING | DT_SINGLELINE | DT_CALCRECT,
                nullptr);
    SelectObject(dc, old);
    ReleaseDC(Window, dc);
    fitted.resize(wcslen(fitted.c_str()));
    if (!fitted.empty()) fitted.pop_back();
    SendMessageW(Window, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(fitted.c_str()));
  }

  bool SetSelection(const std::string& path) override {
    const PIDLIST_ABSOLUTE item = FolderItem(Window, path);
    if (!item) return false;
    SendMessageW(Window, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(item));
    CoTaskMemFree(item);
    return true;
  }

  std::string Caption() override { return Narrow(WindowText(Window)); }
  void SetCaption(const std::string& caption) override {
    SetWindowTextW(Window, Widen(caption).c_str());
  }

  void GetBounds(int& left, int& top, int& width, int& height) override {
    RECT r{};
    GetWindowRect(Window, &r);
    left = r.left;
    top = r.top;
    width = r.right - r.left;
    height = r.bottom - r.top;
  }

  void MoveTo(int left, int top) override {
    SetWindowPos(Window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
};

struct TBrowseRun {
  const TBrowseRequest& Request;
  TBrowseWindow Window;
};

int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM lParam, LPARAM data) {
  auto& run = *reinterpret_cast<TBrowseRun*>(data);
  Guarded([&] {
    switch (message) {
      case BFFM_INITIALIZED:
        run.Window.Window = window;
        if (run.Request.OnInitialized) run.Request.OnInitialized(run.Window);
        break;
      case BFFM_SELCHANGED:
        if (run.Request.OnSelectionChanged)
          run.Request.OnSelectionChanged(run.Window,
                                         PathOf(reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam)));
        break;
      default:
        break;
    }
  });
  return 0;
}

// The shell's dialogs want COM on the calling thread.
class TComScope {
 public:
  TComScope() : FInitialized(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~TComScope() {
    if (FInitialized) CoUninitialize();
  }
  TComScope(const TComScope&) = delete;
  TComScope& operator=(const TComScope&) = delete;

 private:
  bool FInitialized;
};

class TWinCommonDialogs : public ICommonDialogs {
 public:
  bool PickColor(TColorDialogRequest& request) override {
    CHOOSECOLORW choose{};
    choose.lStructSize = sizeof choose;
    choose.hwndOwner = WindowOf(request.Owner);
    choose.rgbResult = request.Color;
    // The custom colours live as long as the module, as the dialog expects.
    choose.lpCustColors = FCustomColors.data();
    choose.Flags = CC_RGBINIT | (request.FullOpen ? CC_FULLOPEN : 0);
    if (!ChooseColorW(&choose)) return false;
    request.Color = choose.rgbResult;
    return true;
  }

  bool OpenFile(TOpenFileRequest& request) override {
    std::wstring filter;
    for (const TFileFilter& f : request.Filter)
      filter += Widen(f.Description) + L'\0' + Widen(f.Masks) + L'\0';
    filter += L'\0';
    std::wstring file = Widen(request.FileName);
    file.resize(std::max<std::size_t>(file.size() + 1, 32768), L'\0');
    const std::wstring title = Widen(request.Title);
    const std::wstring folder = Widen(request.InitialDir);
    OPENFILENAMEW open{};
    open.lStructSize = sizeof open;
    open.hwndOwner = WindowOf(request.Owner);
    open.lpstrFilter = request.Filter.empty() ? nullptr : filter.c_str();
    open.nFilterIndex = static_cast<DWORD>(request.FilterIndex);
    open.lpstrFile = file.data();
    open.nMaxFile = static_cast<DWORD>(file.size());
    open.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    open.lpstrTitle = title.empty() ? nullptr : title.c_str();
    open.Flags = OFN_EXPLORER | (request.HideReadOnly ? OFN_HIDEREADONLY : 0) |
                 (request.PathMustExist ? OFN_PATHMUSTEXIST : 0) |
                 (request.FileMustExist ? OFN_FILEMUSTEXIST : 0) |
                 (request.NoTestFileCreate ? OFN_NOTESTFILECREATE : 0) |
                 (request.Resizable ? OFN_ENABLESIZING : 0) |
                 (request.DontAddToRecent ? OFN_DONTADDTORECENT : 0);
    open.FlagsEx = request.NoPlacesBar ? OFN_EX_NOPLACESBAR : 0;
    // The dialog may leave the process in the folder the user browsed; the
    // host's current folder is not ours to move.
    std::wstring current(MAX_PATH * 4, L'\0');
    const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(current.size()), current.data());
    current.resize(length < current.size() ? length : 0);
    const BOOL opened = GetOpenFileNameW(&open);
    if (!current.empty()) SetCurrentDirectoryW(current.c_str());
    if (!opened) return false;
    request.FileName = Narrow(file.c_str());
    request.FilterIndex = static_cast<int>(open.nFilterIndex);
    return true;
  }

  bool BrowseForFolder(const TBrowseRequest& request, std::string& folder) override {
    TComScope com;
    const HWND owner = WindowOf(request.Owner);
    PIDLIST_ABSOLUTE root = nullptr;
    if (request.RootFolder >= 0 &&
        FAILED(SHGetSpecialFolderLocation(owner, request.RootFolder, &root)))
      root = nullptr;  // a folder that cannot be resolved: the whole tree
    wchar_t displayName[MAX_PATH] = {};
    const std::wstring text = Widen(request.Text);
    TBrowseRun run{request, {}};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = root;
    info.pszDisplayName = displayName;
    info.lpszTitle = text.empty() ? nullptr : text.c_str();
    info.ulFlags = request.Flags;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&run);
    const PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
    CoTaskMemFree(root);
    if (run.Window.Window && request.OnDestroyed) Guarded([&] { request.OnDestroyed(); });
    folder = PathOf(chosen);
    if (!chosen) return false;
    CoTaskMemFree(chosen);
    return true;
  }

 private:
  std::array<COLORREF, 16> FCustomColors{};
};

}  // namespace

ICommonDialogs& WinCommonDialogs() {
  static TWinCommonDialogs dialogs;
  return dialogs;
}

}  // namespace bx
