#include "binding/win32/ImageWindow.h"

#include <cstring>

#include "binding/win32/FormWindow.h"
#include "components/PictureReduction.h"
#include "platform/win32/TopDownBitmap.h"

namespace bx {
namespace {

constexpr wchar_t kImageClass[] = L"TImage";

}  // namespace

TImageWindow::TImageWindow(TFormWindow& owner, TControl& image) : TControlBinding(owner, image) {}

TImageWindow::~TImageWindow() { FreeBitmaps(); }

void TImageWindow::Unbind() {
  TControlBinding::Unbind();
  if (FHandle && GetCapture() == FHandle) ReleaseCapture();
}

TShiftState TImageWindow::MouseShiftState(WPARAM flags) {
  TShiftState shift = 0;
  if (flags & MK_LBUTTON) shift |= ssLeft;
  if (flags & MK_RBUTTON) shift |= ssRight;
  if (flags & MK_MBUTTON) shift |= ssMiddle;
  if (flags & MK_SHIFT) shift |= ssShift;
  if (flags & MK_CONTROL) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

HWND TImageWindow::CreateWindowFor(HWND parent, int id, const RECT& bounds, DWORD style) {
  RegisterWindowClass(kImageClass, WindowProc, CS_DBLCLKS);
  return CreateWindowExW(0, kImageClass, nullptr, style, bounds.left, bounds.top,
                         bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), CodeModule(),
                         static_cast<TControlBinding*>(this));
}

void TImageWindow::UpdateKind() {
  FStale = true;
  InvalidateRect(FHandle, nullptr, FALSE);
  if (FControl.AccessibleValue() != FToldValue) {
    FToldValue = FControl.AccessibleValue();
    NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, FHandle, OBJID_CLIENT, CHILDID_SELF);
  }
}

TAccessibleText TImageWindow::AccessibleText() const {
  TAccessibleText text = TControlBinding::AccessibleText();
  text.Role = ROLE_SYSTEM_GRAPHIC;
  return text;
}

void TImageWindow::FreeBitmaps() {
  if (FScaled) DeleteObject(FScaled);
  if (FSource) DeleteObject(FSource);
  FScaled = FSource = nullptr;
  FScaledBits = FSourceBits = nullptr;
  FScaledWidth = FScaledHeight = FSourceWidth = FSourceHeight = 0;
}

namespace {

HBITMAP CreateTopDownDib(HDC reference, int width, int height, void** bits) {
  BITMAPINFO info = TopDownBitmapInfo(width, height);
  *bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(reference, &info, DIB_RGB_COLORS, bits, nullptr, 0);
  if (bitmap && !*bits) {
    DeleteObject(bitmap);
    bitmap = nullptr;
  }
  return bitmap;
}

}  // namespace

void TImageWindow::Render(HDC reference, int width, int height) {
  if (!FScaled || width != FScaledWidth || height != FScaledHeight) {
    if (FScaled) DeleteObject(FScaled);
    FScaled = CreateTopDownDib(reference, width, height, &FScaledBits);
    FScaledWidth = FScaled ? width : 0;
    FScaledHeight = FScaled ? height : 0;
  }
  if (!FScaled) return;
  // Reduced straight from what the picture is made of, when it can be.
  if (Image().Reduce(static_cast<TPixel*>(FScaledBits), width, height)) {
    FStale = false;
    return;
  }
  const TPixelBuffer& picture = Image().Picture();
  if (!picture.Empty() && picture.Width() >= width && picture.Height() >= height) {
    // The picture's pixels are laid out as a 32-bit top-down DIB.
    ReducePicture(picture, static_cast<TPixel*>(FScaledBits), width, height);
    FStale = false;
    return;
  }
  HDC target = CreateCompatibleDC(reference);
  HGDIOBJ oldTarget = SelectObject(target, FScaled);
  bool drawn = false;
  if (!picture.Empty()) {
    if (!FSource || FSourceWidth != picture.Width() || FSourceHeight != picture.Height()) {
      if (FSource) DeleteObject(FSource);
      FSource = CreateTopDownDib(reference, picture.Width(), picture.Height(), &FSourceBits);
      FSourceWidth = FSource ? picture.Width() : 0;
      FSourceHeight = FSource ? picture.Height() : 0;
    }
    if (FSource) {
      std::memcpy(FSourceBits, picture.Data(),
                  static_cast<std::size_t>(picture.Width()) * picture.Height() * sizeof(TPixel));
      GdiFlush();
      HDC source = CreateCompatibleDC(reference);
      HGDIOBJ oldSource = SelectObject(source, FSource);
      // An enlargement: halftone interpolates; it needs the brush origin
      // set again after the mode.
      SetStretchBltMode(target, HALFTONE);
      SetBrushOrgEx(target, 0, 0, nullptr);
      StretchBlt(target, 0, 0, width, height, source, 0, 0, picture.Width(), picture.Height(),
                 SRCCOPY);
      SelectObject(source, oldSource);
      DeleteDC(source);
      drawn = true;
    }
  }
  if (!drawn) {
    RECT all{0, 0, width, height};
    FillRect(target, &all, FOwner.Brush());
  }
  GdiFlush();
  SelectObject(target, oldTarget);
  DeleteDC(target);
  FStale = false;
}

void TImageWindow::Paint(HDC dc) {
  RECT client{};
  GetClientRect(FHandle, &client);
  if (client.right <= 0 || client.bottom <= 0) return;
  if (FStale || client.right != FScaledWidth || client.bottom != FScaledHeight)
    Render(dc, client.right, client.bottom);
  if (!FScaled) {
    FillRect(dc, &client, FOwner.Brush());
    return;
  }
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, FScaled);
  BitBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

LRESULT TImageWindow::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  const int x = MouseX(lParam);
  const int y = MouseY(lParam);
  TImage& image = Image();
  switch (message) {
    case WM_GETOBJECT:
      if (const LRESULT answer = AnswerAccessibility(FHandle, wParam, lParam)) return answer;
      return DefaultMessage(message, wParam, lParam);
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(FHandle, &paint);
      struct TEnd {
        HWND window;
        PAINTSTRUCT* paint;
        ~TEnd() { EndPaint(window, paint); }
      } end{FHandle, &paint};
      Paint(dc);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      FStale = true;
      InvalidateRect(FHandle, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // The left button captures the mouse, so a drag that leaves the
      // control goes on reaching it.
      SetCapture(FHandle);
      TShiftState shift = MouseShiftState(wParam);
      if (message == WM_LBUTTONDBLCLK) shift |= ssDouble;
      Dispatch([&] { image.MouseDown(TMouseButton::mbLeft, shift, x, y); });
      return 0;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: {
      TShiftState shift = MouseShiftState(wParam);
      if (message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK) shift |= ssDouble;
      const TMouseButton button = message == WM_RBUTTONDOWN || message == WM_RBUTTONDBLCLK
                                      ? TMouseButton::mbRight
                                      : TMouseButton::mbMiddle;
      Dispatch([&] { image.MouseDown(button, shift, x, y); });
      return 0;
    }
    case WM_MOUSEMOVE: {
      const TShiftState shift = MouseShiftState(wParam);
      Dispatch([&] { image.MouseMove(shift, x, y); });
      return 0;
    }
    case WM_LBUTTONUP:
      if (GetCapture() == FHandle) ReleaseCapture();
      return 0;
    default:
      return DefaultMessage(message, wParam, lParam);
  }
}

std::unique_ptr<TControlBinding> MakeImageBinding(TFormWindow& owner, TControl& control) {
  return std::make_unique<TImageWindow>(owner, control);
}

}  // namespace bx
