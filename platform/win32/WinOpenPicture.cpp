// The file-open dialog: GetOpenFileNameW in explorer style, with a pane of
// ours beside the file list that shows the picture the request's preview
// event makes of the selected file, fitted with its proportions kept, its
// pixel size under it. Each selection is previewed once, on a worker
// thread, so that arrowing through a folder of photos never waits for a
// decode; only the latest selection's preview is shown. A file the event
// cannot show, or a cloud store's placeholder that reading would download,
// shows nothing.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "gfx/PixelBuffer.h"
#include "platform/Files.h"
#include "platform/Platform.h"
#include "platform/win32/DialogTemplate.h"
#include "platform/win32/Text.h"
#include "platform/win32/TopDownBitmap.h"
#include "platform/win32/WinCommonDialogs.h"
#include "platform/win32/WindowBase.h"

namespace bx {

namespace {

constexpr WORD kPaneId = 0x4B0;
constexpr WORD kStandardControlsId = 0x045F;  // stc32: where the dialog's own controls go
// The pane in dialog units; it keeps its size when the dialog is resized.
constexpr short kPaneWidth = 90, kPaneHeight = 110;
constexpr int kMargin = 6;

// The child template of the explorer dialog: the standard controls' place,
// and the pane to its right, in memory the dialog can take as a handle.
class TTemplate {
 public:
  TTemplate() {
    TDialogTemplate child(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | DS_3DLOOK | DS_CONTROL, 0,
                          {0, 0, kPaneWidth + 8, kPaneHeight});
    child.AddItem(WS_CHILD, kStandardControlsId, {0, 0, 1, 1}, kStaticClass);
    child.AddItem(WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, kPaneId,
                  {4, 0, 4 + kPaneWidth, kPaneHeight}, kStaticClass);
    FMemory = GlobalAlloc(GMEM_FIXED, child.Size());
    if (FMemory) std::memcpy(FMemory, child.Get(), child.Size());
  }
  ~TTemplate() {
    if (FMemory) GlobalFree(FMemory);
  }
  TTemplate(const TTemplate&) = delete;
  TTemplate& operator=(const TTemplate&) = delete;
  HINSTANCE Handle() const { return static_cast<HINSTANCE>(FMemory); }

 private:
  static constexpr WORD kStaticClass = 0x0082;
  HGLOBAL FMemory = nullptr;
};

// What the pane shows: the fitted picture and the picture's own size.
struct TShownPicture {
  TPixelBuffer Pixels;
  int Width = 0, Height = 0;
};

// A worker's preview of the selection numbered Selection, posted to the
// dialog with kPreviewMade.
struct TMadePreview {
  unsigned Selection = 0;
  bool Shown = false;
  TShownPicture Picture;
};
constexpr UINT kPreviewMade = WM_APP + 1;

class TPreviewSession {
 public:
  std::wstring InitialFile;
  decltype(TOpenFileRequest::PicturePreview) Preview;

  // The hook's messages, through the dialog thunk.
  INT_PTR DialogMessage(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    switch (message) {
      case WM_INITDIALOG:
        FDialog = dialog;
        return TRUE;
      case kPreviewMade: {
        std::unique_ptr<TMadePreview> made(reinterpret_cast<TMadePreview*>(lParam));
        if (made && made->Selection == FLatest->load()) {
          if (made->Shown) FPicture = std::move(made->Picture);
          if (HWND pane = Pane()) InvalidateRect(pane, nullptr, TRUE);
        }
        return TRUE;
      }
      case WM_DESTROY: {
        // Previews posted and not yet taken go with the dialog; later ones
        // find no dialog to post to.
        FLatest->store(0);
        for (MSG message; PeekMessageW(&message, dialog, kPreviewMade, kPreviewMade, PM_REMOVE);)
          delete reinterpret_cast<TMadePreview*>(message.lParam);
        return 0;
      }
      case WM_NOTIFY: {
        const auto* note = reinterpret_cast<const OFNOTIFYW*>(lParam);
        if (note->hdr.code == CDN_INITDONE) {
          Layout();
          Show(InitialFile);
        } else if (note->hdr.code == CDN_SELCHANGE) {
          Show(SelectedFile());
        } else if (note->hdr.code == CDN_FOLDERCHANGE) {
          Show({});
        }
        return 0;
      }
      case WM_SIZE:
        Layout();
        return 0;
      case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != kPaneId) return 0;
        Paint(item->hDC, item->rcItem);
        return TRUE;
      }
      default:
        return 0;
    }
  }

 private:
  HWND Pane() const { return GetDlgItem(FDialog, kPaneId); }

  // The pane at the right edge, from the top down to the bottom margin.
  void Layout() {
    HWND pane = Pane();
    if (!pane) return;
    RECT client{}, bounds{};
    GetClientRect(FDialog, &client);
    GetWindowRect(pane, &bounds);
    const int width = bounds.right - bounds.left;
    const int height = std::max(0, static_cast<int>(client.bottom) - 2 * kMargin);
    SetWindowPos(pane, nullptr, client.right - width - kMargin, kMargin, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(pane, nullptr, TRUE);
  }

  std::wstring SelectedFile() const {
    std::vector<wchar_t> path(32768, L'\0');
    const LRESULT n = SendMessageW(GetParent(FDialog), CDM_GETFILEPATH,
                                   static_cast<WPARAM>(path.size()),
                                   reinterpret_cast<LPARAM>(path.data()));
    return n > 0 ? std::wstring(path.data()) : std::wstring();
  }

  // The pane's text line under the picture, in the dialog's font.
  int TextHeight(HDC dc) const {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(FDialog, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, oldFont);
    return metrics.tmHeight + 4;
  }

  void Show(const std::wstring& file) {
    // The same selection told again is not decoded again.
    if (file == FShown && FSelection != 0) return;
    FPicture.reset();
    FShown = file;
    FSelection = ++FSelections;
    FLatest->store(FSelection);
    HWND pane = Pane();
    if (!file.empty() && pane) {
      const std::string path = Narrow(file);
      const DWORD attributes = GetFileAttributesW(file.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
          !IsCloudPlaceholder(attributes)) {
        RECT area{};
        GetClientRect(pane, &area);
        int textHeight = 0;
        if (HDC dc = GetDC(pane)) {
          textHeight = TextHeight(dc);
          ReleaseDC(pane, dc);
        }
        StartPreview(path, area.right - area.left, area.bottom - area.top - textHeight);
      }
    }
    if (pane) InvalidateRect(pane, nullptr, TRUE);
  }

  // Makes the preview on a worker thread, which posts it to the dialog; a
  // worker whose selection is no longer the latest when it starts does
  // nothing.
  void StartPreview(const std::string& path, int width, int height) {
    auto work = [preview = Preview, path, width, height, background = GetSysColor(COLOR_BTNFACE),
                 selection = FSelection, latest = FLatest, dialog = FDialog] {
      auto made = std::make_unique<TMadePreview>();
      made->Selection = selection;
      if (latest->load() == selection) {
        try {
          made->Shown = preview(path, width, height, background, made->Picture.Pixels,
                                made->Picture.Width, made->Picture.Height);
        } catch (...) {
          // Not a picture this applet can show: the pane stays empty.
        }
      }
      if (latest->load() == selection &&
          PostMessageW(dialog, kPreviewMade, 0, reinterpret_cast<LPARAM>(made.get())))
        made.release();
    };
    IThreadDispatch* dispatch = Platform().Dispatch;
    try {
      if (dispatch) return dispatch->StartThread(work);
    } catch (...) {
      // No thread to be had: made here and now.
    }
    work();
  }

  void Paint(HDC dc, const RECT& area) {
    FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));
    if (!FPicture) return;
    const TPixelBuffer& pixels = FPicture->Pixels;
    const int w = pixels.Width(), h = pixels.Height();
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(FDialog, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    const int textHeight = TextHeight(dc);
    // Fitted into the pane above the size line, never enlarged beyond the
    // picture's own size.
    const int boxWidth = area.right - area.left, boxHeight = area.bottom - area.top - textHeight;
    if (boxWidth > 0 && boxHeight > 0 && w > 0 && h > 0) {
      const double scale = std::min({static_cast<double>(FPicture->Width) / w,
                                     static_cast<double>(boxWidth) / w,
                                     static_cast<double>(boxHeight) / h});
      const int dw = std::max(1, static_cast<int>(w * scale + 0.5));
      const int dh = std::max(1, static_cast<int>(h * scale + 0.5));
      const int x = area.left + (boxWidth - dw) / 2, y = area.top + (boxHeight - dh) / 2;
      BITMAPINFO info = TopDownBitmapInfo(w, h);
      SetStretchBltMode(dc, HALFTONE);
      SetBrushOrgEx(dc, 0, 0, nullptr);
      StretchDIBits(dc, x, y, dw, dh, 0, 0, w, h, pixels.Data(), &info, DIB_RGB_COLORS, SRCCOPY);
      RECT line{area.left, area.bottom - textHeight, area.right, area.bottom};
      const std::wstring size =
          std::to_wstring(FPicture->Width) + L" \u00D7 " + std::to_wstring(FPicture->Height);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
      DrawTextW(dc, size.c_str(), -1, &line, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    SelectObject(dc, oldFont);
  }

  HWND FDialog = nullptr;
  std::wstring FShown;
  std::optional<TShownPicture> FPicture;
  unsigned FSelections = 0;  // selections told so far
  unsigned FSelection = 0;   // the one shown or being made; 0: none yet
  // The latest selection, shared with the workers; 0 once the dialog went.
  std::shared_ptr<std::atomic<unsigned>> FLatest = std::make_shared<std::atomic<unsigned>>(0);
};

}  // namespace

bool WinOpenFile(const TOpenFileRequest& request, std::string& fileName) {
  std::wstring filter;
  for (const auto& [description, masks] : request.Filter)
    filter += Widen(description) + L'\0' + Widen(masks) + L'\0';
  filter += L'\0';
  const std::wstring title = Widen(request.Title);
  const std::wstring folder = Widen(request.InitialDir);
  TTemplate pane;
  TPreviewSession session;
  session.Preview = request.PicturePreview;

  for (std::wstring initial = Widen(request.FileName);;) {
    std::vector<wchar_t> file(32768, L'\0');
    initial.copy(file.data(), std::min(initial.size(), file.size() - 1));
    session.InitialFile = initial;
    OPENFILENAMEW info{};
    info.lStructSize = sizeof info;
    info.hwndOwner = reinterpret_cast<HWND>(request.Owner);
    info.lpstrFilter = filter.size() > 1 ? filter.c_str() : nullptr;
    info.nFilterIndex = static_cast<DWORD>(request.FilterIndex);
    info.lpstrFile = file.data();
    info.nMaxFile = static_cast<DWORD>(file.size());
    info.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    info.lpstrTitle = title.empty() ? nullptr : title.c_str();
    // The host's working folder is not the dialog's to change.
    info.Flags = request.Flags | OFN_EXPLORER | OFN_NOCHANGEDIR;
    info.FlagsEx = request.FlagsEx;
    if (session.Preview && pane.Handle()) {
      info.Flags |= OFN_ENABLEHOOK | OFN_ENABLETEMPLATEHANDLE;
      info.hInstance = pane.Handle();
      info.lpfnHook = TDialogThunk<TPreviewSession>::HookProc<OPENFILENAMEW>;
      info.lCustData = reinterpret_cast<LPARAM>(&session);
    }
    if (GetOpenFileNameW(&info)) {
      fileName = Narrow(file.data());
      return true;
    }
    // A stored name the dialog refuses must not keep it from opening.
    if (CommDlgExtendedError() != FNERR_INVALIDFILENAME || initial.empty()) return false;
    initial.clear();
  }
}

}  // namespace bx
