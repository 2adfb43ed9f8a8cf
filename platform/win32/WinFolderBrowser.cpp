// The folder browser: SHBrowseForFolderW, its callback turned into the
// requester's events, and the browse window's OK button, status line,
// caption, selection and place as the requester asks for them.
#include <memory>
#include <vector>

#include "platform/FileNames.h"
#include "platform/win32/DesktopSize.h"
#include "platform/win32/Text.h"
#include "platform/win32/WinCommonDialogs.h"
#include "platform/win32/WinFiles.h"
#include "platform/win32/WindowBase.h"

namespace bx {

namespace {

// Posted to the browse window after a selection change: our OK state once
// more, after whatever the window itself did with OK meanwhile (Wine's
// browser sets its own state after the callback).
constexpr UINT kReapplyOk = WM_APP + 0x5A1;
// Posted after a selection was asked for: under Wine the tree may not yet
// take it while the window is being initialised, so it is asked again
// until the selection has arrived (a few times at most).
constexpr UINT kReselect = WM_APP + 0x5A2;
constexpr int kReselectTries = 20;
constexpr UINT_PTR kSubclassId = 0xB0F;
// The browse window's status line (BIF_STATUSTEXT), in Windows' and Wine's.
constexpr int kStatusId = 0x3743;

struct TPidlFree {
  void operator()(const void* item) const { CoTaskMemFree(const_cast<void*>(item)); }
};
using TPidl = std::unique_ptr<ITEMIDLIST, TPidlFree>;

std::string PathOf(LPCITEMIDLIST item) {
  if (!item) return {};
  std::vector<wchar_t> buffer(32768, L'\0');
  if (SHGetPathFromIDListEx(item, buffer.data(), static_cast<DWORD>(buffer.size()),
                            GPFIDL_DEFAULT))
    return Narrow(buffer.data());
  buffer.assign(MAX_PATH, L'\0');
  return SHGetPathFromIDListW(item, buffer.data()) ? Narrow(buffer.data()) : std::string();
}

bool IsDriveRoot(const std::string& path) {
  return (path.size() == 2 || (path.size() == 3 && path[2] == '\\')) && path[1] == ':';
}

bool SameFolder(std::string a, std::string b) {
  for (std::string* p : {&a, &b})
    if (p->size() > 3 && p->back() == '\\') p->pop_back();
  return SameFileName(a, b);
}

// The shell's item for an existing folder (or a drive root), when the
// shell takes it for a file-system object.
TPidl Resolve(HWND owner, std::string path) {
  if (path.size() >= 2 && path.compare(path.size() - 2, 2, "\\.") == 0) path.pop_back();
  // The shell parses a folder's name without the closing "\" (a drive root keeps it).
  if (path.size() > 3 && path.back() == '\\') path.pop_back();
  if (path.empty() || (!IsDriveRoot(path) && !WinFiles().DirectoryExists(path))) return nullptr;
  IShellFolder* desktop = nullptr;
  if (FAILED(SHGetDesktopFolder(&desktop)) || !desktop) return nullptr;
  std::wstring wide = Widen(path);
  LPITEMIDLIST item = nullptr;
  ULONG attributes = SFGAO_FILESYSTEM;
  const HRESULT hr = desktop->ParseDisplayName(owner, nullptr, wide.data(), nullptr, &item,
                                               &attributes);
  desktop->Release();
  TPidl result(item);
  if (FAILED(hr) || !(attributes & SFGAO_FILESYSTEM)) return nullptr;
  return result;
}

class TBrowseSession : public IFolderBrowseWindow {
 public:
  TBrowseSession(const TFolderBrowseRequest& request, const TFolderBrowseEvents& events)
      : FRequest(request), FEvents(events), FLastResult(request.LastResult) {}

  void EnableOK(bool value) override {
    FOk = value;
    FOkSet = true;
    if (FWindow) SendMessageW(FWindow, BFFM_ENABLEOK, 0, value ? TRUE : FALSE);
  }

  // Fitted to the status line with the line's own font and width: with a
  // "W" to spare, shortened in place, the spare character dropped again.
  void SetStatusText(const std::string& text, bool pathEllipsis) override {
    if (!FWindow) return;
    std::wstring fitted = Widen(text) + L"W";
    std::vector<wchar_t> buffer(fitted.begin(), fitted.end());
    buffer.resize(buffer.size() + 8, L'\0');
    HWND status = GetDlgItem(FWindow, kStatusId);
    // Where the classic browser lays its status line, in the window's own
    // dialog units, when the line cannot be found.
    RECT area{7, 27, 167, 39};
    if (status)
      GetClientRect(status, &area);
    else
      MapDialogRect(FWindow, &area);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(status ? status : FWindow, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : GetStockObject(SYSTEM_FONT));
    DrawTextExW(dc, buffer.data(), -1, &area,
                (pathEllipsis ? DT_PATH_ELLIPSIS : DT_END_ELLIPSIS) | DT_MODIFYSTRING |
                    DT_NOPREFIX | DT_EXTERNALLEADING | DT_SINGLELINE,
                nullptr);
    SelectObject(dc, old);
    DeleteDC(dc);
    std::wstring shown(buffer.data());
    if (!shown.empty()) shown.pop_back();
    SendMessageW(FWindow, BFFM_SETSTATUSTEXTW, 0, reinterpret_cast<LPARAM>(shown.c_str()));
  }

  std::string Caption() override {
    if (!FWindow) return {};
    wchar_t caption[257] = {};
    GetWindowTextW(FWindow, caption, 257);
    return Narrow(caption);
  }

  void SetCaption(const std::string& value) override {
    if (FWindow) SetWindowTextW(FWindow, Widen(value).c_str());
  }

  // The item chosen last time stands for its own path, once.
  void Select(const std::string& path) override {
    if (!FWindow || path.empty()) return;
    std::shared_ptr<const void> last = std::move(FLastResult);
    TPidl resolved;
    LPCITEMIDLIST item = nullptr;
    if (last && PathOf(static_cast<LPCITEMIDLIST>(last.get())) == path) {
      item = static_cast<LPCITEMIDLIST>(last.get());
    } else {
      resolved = Resolve(Owner(), path);
      item = resolved.get();
    }
    if (!item) return;
    FWanted = path;
    FReselectTries = kReselectTries;
    SendMessageW(FWindow, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(item));
    if (!FWanted.empty()) PostMessageW(FWindow, kReselect, 0, 0);
  }

  void Close() override {
    if (FWindow) PostMessageW(FWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
  }

  // The browse callback's messages, through the dialog thunk.
  INT_PTR DialogMessage(HWND window, UINT message, WPARAM, LPARAM lParam) {
    if (message == BFFM_INITIALIZED) {
      FWindow = window;
      SetWindowSubclass(window, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
      Place();
      if (FEvents.Initialized) FEvents.Initialized(*this);
    } else if (message == BFFM_SELCHANGED && FWindow) {
      const std::string path = PathOf(reinterpret_cast<LPCITEMIDLIST>(lParam));
      if (!FWanted.empty() && SameFolder(path, FWanted)) FWanted.clear();
      if (FEvents.SelectionChanged) FEvents.SelectionChanged(*this, path);
      if (FOkSet) PostMessageW(FWindow, kReapplyOk, 0, 0);
    }
    return 0;
  }

 private:
  HWND Owner() const { return reinterpret_cast<HWND>(FRequest.Owner); }

  // Over its owner, in the middle of the screen or at a point of the
  // owner, and never off the owner's monitor's work area.
  void Place() {
    RECT window{}, client{};
    GetWindowRect(FWindow, &window);
    GetClientRect(FWindow, &client);
    const int width = window.right - window.left, height = window.bottom - window.top;
    POINT at{window.left, window.top};
    RECT owner{};
    const bool hasOwner = Owner() && GetWindowRect(Owner(), &owner);
    switch (FRequest.Placement) {
      case TBrowsePlacement::ParentCenter:
        if (!hasOwner) return;
        at = {owner.left + (owner.right - owner.left) / 2 - width / 2,
              owner.top + (owner.bottom - owner.top) / 4};
        break;
      case TBrowsePlacement::ScreenCenter:
        at = {(GetSystemMetrics(SM_CXSCREEN) - client.right) / 2,
              (GetSystemMetrics(SM_CYSCREEN) - client.bottom) / 3};
        break;
      case TBrowsePlacement::AtPoint:
        at = {FRequest.Left, FRequest.Top};
        if (Owner()) ClientToScreen(Owner(), &at);
        break;
    }
    // The work area of the owner's monitor, as a message box of the owner
    // keeps to: with the Control Panel on a second monitor, so is this.
    at = KeptInside(at, {width, height}, WorkAreaOf(Owner()));
    SetWindowPos(FWindow, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<TBrowseSession*>(data);
    switch (message) {
      case kReapplyOk:
        SendMessageW(window, BFFM_ENABLEOK, 0, self->FOk ? TRUE : FALSE);
        return 0;
      case kReselect:
        if (!self->FWanted.empty() && self->FReselectTries-- > 0) {
          if (TPidl item = Resolve(self->Owner(), self->FWanted))
            SendMessageW(window, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(item.get()));
          if (!self->FWanted.empty()) PostMessageW(window, kReselect, 0, 0);
        }
        return 0;
      case WM_DESTROY:
        Guarded([&] {
          if (self->FEvents.Destroyed) self->FEvents.Destroyed();
        });
        break;
      case WM_NCDESTROY:
        RemoveWindowSubclass(window, SubclassProc, kSubclassId);
        self->FWindow = nullptr;
        break;
      default:
        break;
    }
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    // Whatever the window did with OK meanwhile, ours is the state it keeps.
    if (self->FOkSet && message != WM_NCDESTROY) {
      HWND ok = GetDlgItem(window, IDOK);
      if (ok && (IsWindowEnabled(ok) != FALSE) != self->FOk) EnableWindow(ok, self->FOk);
    }
    return result;
  }

  const TFolderBrowseRequest& FRequest;
  const TFolderBrowseEvents& FEvents;
  std::shared_ptr<const void> FLastResult;
  HWND FWindow = nullptr;
  bool FOk = true;
  bool FOkSet = false;
  std::string FWanted;  // a selection asked for that has not arrived yet
  int FReselectTries = 0;
};

}  // namespace

bool WinBrowseForFolder(const TFolderBrowseRequest& request, const TFolderBrowseEvents& events,
                        TFolderBrowseResult& result) {
  // The shell's browser needs COM on this thread.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  struct TComScope {
    bool Owned;
    ~TComScope() {
      if (Owned) CoUninitialize();
    }
  } comScope{SUCCEEDED(com)};

  const HWND owner = reinterpret_cast<HWND>(request.Owner);
  TPidl root;
  if (request.Root >= 0) {
    LPITEMIDLIST item = nullptr;
    if (SUCCEEDED(SHGetSpecialFolderLocation(owner, request.Root, &item))) root.reset(item);
  }
  TBrowseSession session(request, events);
  std::wstring text = Widen(request.Text);
  wchar_t displayName[MAX_PATH] = {};
  BROWSEINFOW info{};
  info.hwndOwner = owner;
  info.pidlRoot = root.get();
  info.pszDisplayName = displayName;
  info.lpszTitle = text.empty() ? nullptr : text.c_str();
  info.ulFlags = request.Flags;
  info.lpfn = TDialogThunk<TBrowseSession>::CallbackProc;
  info.lParam = reinterpret_cast<LPARAM>(&session);
  TPidl chosen(SHBrowseForFolderW(&info));
  if (!chosen) return false;
  result.Path = PathOf(chosen.get());
  result.DisplayName = Narrow(displayName);
  result.ImageIndex = info.iImage;
  result.Item = std::shared_ptr<const void>(chosen.release(), TPidlFree());
  return true;
}

}  // namespace bx
