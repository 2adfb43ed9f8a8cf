#include "platform/win32/SpinEditWindow.h"

#include <windowsx.h>

#include <algorithm>

#include "platform/Errors.h"
#include "platform/win32/FormWindow.h"
#include "platform/win32/Text.h"

namespace bx {
namespace {

constexpr wchar_t kSpinEditClass[] = L"TSpinEdit";
constexpr wchar_t kSpinButtonClass[] = L"TSpinButton";

WNDPROC gEditProc = nullptr;

void RegisterSpinClasses(WNDPROC editProc, WNDPROC buttonProc) {
  static bool registered = false;
  if (registered) return;
  HINSTANCE module = CodeModule();
  UnregisterClassW(kSpinEditClass, module);
  UnregisterClassW(kSpinButtonClass, module);
  WNDCLASSEXW edit{};
  edit.cbSize = sizeof edit;
  if (!GetClassInfoExW(nullptr, L"EDIT", &edit)) throw Exception("Error creating window");
  gEditProc = edit.lpfnWndProc;
  edit.cbSize = sizeof edit;
  edit.lpfnWndProc = editProc;
  edit.hInstance = module;
  edit.lpszClassName = kSpinEditClass;
  // The edit clips its button; a parent's device context would not.
  edit.style &= ~static_cast<UINT>(CS_PARENTDC | CS_GLOBALCLASS);
  if (!RegisterClassExW(&edit)) throw Exception("Error creating window");
  WNDCLASSEXW button{};
  button.cbSize = sizeof button;
  button.lpfnWndProc = buttonProc;
  button.hInstance = module;
  button.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  button.lpszClassName = kSpinButtonClass;
  if (!RegisterClassExW(&button)) throw Exception("Error creating window");
  registered = true;
}

int SystemFontHeight() {
  HDC dc = GetDC(nullptr);
  HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return metrics.tmHeight;
}

// A plain arrow for a button whose glyph resource is missing.
void DrawArrow(HDC dc, const RECT& area, bool up, bool disabled) {
  const int width = area.right - area.left;
  const int height = area.bottom - area.top;
  int size = std::min(width - 6, 2 * (height - 4) - 1);
  if (size < 3) size = 3;
  if (size % 2 == 0) --size;
  const int rows = (size + 1) / 2;
  const int left = area.left + (width - size) / 2;
  const int top = area.top + (height - rows) / 2;
  HBRUSH brush = GetSysColorBrush(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
  for (int row = 0; row < rows; ++row) {
    // Row 0 is the tip for the up arrow, the base for the down arrow.
    const int inset = up ? rows - 1 - row : row;
    RECT line{left + inset, top + row, left + size - inset, top + row + 1};
    FillRect(dc, &line, brush);
  }
}

}  // namespace

TSpinEditWindow::TSpinEditWindow(TFormWindow& owner, TControl& edit) : TControlBinding(owner, edit) {}

TSpinEditWindow::~TSpinEditWindow() = default;

void TSpinEditWindow::Unbind() {
  TControlBinding::Unbind();
  if (FButton) {
    KillTimer(FButton, kRepeatTimer);
    if (GetCapture() == FButton) {
      FReleasing = true;
      ReleaseCapture();
      FReleasing = false;
    }
  }
}

int TSpinEditWindow::MinHeight() const {
  static const int systemFontHeight = SystemFontHeight();
  return TSpinEdit::MinHeight(FOwner.FontPixelHeight(), systemFontHeight,
                              GetSystemMetrics(SM_CYBORDER));
}

TRect TSpinEditWindow::WindowBounds() const {
  TRect bounds = FControl.BoundsRect();
  bounds.Bottom = bounds.Top + std::max(bounds.Height(), MinHeight());
  return bounds;
}

HWND TSpinEditWindow::CreateWindowFor(HWND parent, int id, const RECT& bounds, DWORD style) {
  RegisterSpinClasses(EditProc, ButtonProc);
  style |= ES_MULTILINE | ES_AUTOHSCROLL | WS_CLIPCHILDREN;
  if (Model().ReadOnly) style |= ES_READONLY;
  FUpGlyph.Load(Model().Button.UpGlyph, 1);
  FDownGlyph.Load(Model().Button.DownGlyph, 1);
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, kSpinEditClass, Widen(Model().Text()).c_str(),
                              style, bounds.left, bounds.top, bounds.right - bounds.left,
                              bounds.bottom - bounds.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), CodeModule(),
                              this);
  if (!edit) return nullptr;
  // The buttons are no tab stop and never keep the focus.
  CreateWindowExW(0, kSpinButtonClass, nullptr,
                  WS_CHILD | WS_VISIBLE | (Model().Enabled() ? 0 : WS_DISABLED), 0, 0,
                  Model().Button.Width, Model().Button.Height, edit, nullptr, CodeModule(), this);
  Layout();
  return edit;
}

void TSpinEditWindow::Layout() {
  if (!FHandle) return;
  RECT client{};
  GetClientRect(FHandle, &client);
  const TRect text = Model().EditRect(client.right, client.bottom);
  RECT format{text.Left, text.Top, text.Right, text.Bottom};
  CallEdit(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&format));
  if (FButton) {
    const TRect place = Model().ButtonBounds(true);
    // The model's parts are laid out in the button's real size.
    Model().Button.Height = place.Height();
    RECT current{};
    GetWindowRect(FButton, &current);
    MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&current), 2);
    if (current.left != place.Left || current.top != place.Top ||
        current.right - current.left != place.Width() || current.bottom - current.top != place.Height())
      SetWindowPos(FButton, nullptr, place.Left, place.Top, place.Width(), place.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TSpinEditWindow::UpdateKind() {
  TSpinEdit& model = Model();
  const int minHeight = MinHeight();
  // The model learns the height the window really has.
  if (model.Height() < minHeight) model.SetBounds(model.Left(), model.Top(), model.Width(), minHeight);
  SyncText();
  const bool readOnly = (GetWindowLongW(FHandle, GWL_STYLE) & ES_READONLY) != 0;
  if (readOnly != model.ReadOnly) CallEdit(EM_SETREADONLY, model.ReadOnly ? TRUE : FALSE, 0);
  if (FButton && (IsWindowEnabled(FButton) != FALSE) != model.Enabled()) {
    EnableWindow(FButton, model.Enabled());
    InvalidateRect(FButton, nullptr, FALSE);
  }
  Layout();
}

void TSpinEditWindow::SyncText() {
  const std::wstring wanted = Widen(Model().Text());
  if (WindowText(FHandle) == wanted) return;
  FSettingText = true;
  SetWindowTextW(FHandle, wanted.c_str());
  FSettingText = false;
}

void TSpinEditWindow::Command(UINT code) {
  if (code != EN_CHANGE || FSettingText || !FHandle) return;
  std::wstring text = WindowText(FHandle);
  // One line only: a line break pasted into the multi-line edit is dropped.
  if (text.find_first_of(L"\r\n") != std::wstring::npos) {
    text.erase(std::remove_if(text.begin(), text.end(),
                              [](wchar_t c) { return c == L'\r' || c == L'\n'; }),
               text.end());
    FSettingText = true;
    SetWindowTextW(FHandle, text.c_str());
    CallEdit(EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
    FSettingText = false;
  }
  TSpinEdit& model = Model();
  const std::string value = Narrow(text);
  Dispatch([&model, &value] { model.SetText(value); });
}

LRESULT TSpinEditWindow::CallEdit(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcW(gEditProc, FHandle, message, wParam, lParam);
}

LRESULT CALLBACK TSpinEditWindow::EditProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
  auto* self = reinterpret_cast<TSpinEditWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<TSpinEditWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->FHandle = window;
  }
  if (!self) return CallWindowProcW(gEditProc, window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->FHandle = nullptr;
    return CallWindowProcW(gEditProc, window, message, wParam, lParam);
  }
  try {
    return self->EditMessage(message, wParam, lParam);
  } catch (...) {
    ReportCurrentException(self->FOwner.Form());
  }
  return 0;
}

LRESULT TSpinEditWindow::EditMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  TSpinEdit& model = Model();
  switch (message) {
    case WM_KEYDOWN: {
      // The arrows step; the key then goes on to the edit unless the model
      // holds it back.
      bool passOn = true;
      const int key = static_cast<int>(wParam);
      Dispatch([&] { passOn = model.KeyDown(key); });
      if (!passOn) return 0;
      break;
    }
    case WM_CHAR: {
      // Ctrl+Enter would break the one line of a multi-line edit.
      if (wParam == L'\n') return 0;
      bool accepted = false;
      const char32_t ch = static_cast<char32_t>(wParam);
      Dispatch([&] { accepted = model.KeyPress(ch); });
      if (!accepted) return 0;
      break;
    }
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
      if (!model.CanPasteOrCut()) return 0;
      break;
    case WM_SETFOCUS: {
      const LRESULT result = CallEdit(message, wParam, lParam);
      // Entered by keyboard: select all; a click places the caret instead.
      if (model.Enter(GetKeyState(VK_LBUTTON) < 0)) CallEdit(EM_SETSEL, 0, -1);
      return result;
    }
    case WM_KILLFOCUS: {
      const LRESULT result = CallEdit(message, wParam, lParam);
      Dispatch([&model] { model.Exit(); });
      return result;
    }
    case WM_SIZE:
    case WM_SETFONT: {
      const LRESULT result = CallEdit(message, wParam, lParam);
      Layout();
      return result;
    }
    default:
      break;
  }
  return CallEdit(message, wParam, lParam);
}

// ---- The buttons ----------------------------------------------------------------

LRESULT CALLBACK TSpinEditWindow::ButtonProc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  auto* self = reinterpret_cast<TSpinEditWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<TSpinEditWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->FButton = window;
  }
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    KillTimer(window, kRepeatTimer);
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->FButton = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  try {
    return self->ButtonMessage(message, wParam, lParam);
  } catch (...) {
    ReportCurrentException(self->FOwner.Form());
  }
  return 0;
}

TSpinPart TSpinEditWindow::PartAt(int x, int y) const { return Model().Button.PartAt(x, y); }

void TSpinEditWindow::ArmTimer() {
  const std::uint64_t delay = Model().Button.TimerDelay(GetTickCount64());
  if (delay == 0 || GetCapture() != FButton) {
    KillTimer(FButton, kRepeatTimer);
    return;
  }
  SetTimer(FButton, kRepeatTimer,
           static_cast<UINT>(std::min<std::uint64_t>(delay, USER_TIMER_MAXIMUM)), nullptr);
}

LRESULT TSpinEditWindow::ButtonMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  TSpinButton& button = Model().Button;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(FButton, &paint);
      struct TEnd {
        HWND window;
        PAINTSTRUCT* paint;
        ~TEnd() { EndPaint(window, paint); }
      } end{FButton, &paint};
      PaintButton(dc);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintButton(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN: {
      const TSpinPart part = PartAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (part == TSpinPart::None) return 0;
      if (FHandle && GetFocus() != FHandle && IsWindowEnabled(FHandle) &&
          IsWindowVisible(FHandle))
        SetFocus(FHandle);
      SetCapture(FButton);
      Dispatch([&button, part] { button.Press(part, GetTickCount64()); });
      ArmTimer();
      InvalidateRect(FButton, nullptr, FALSE);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (GetCapture() == FButton && button.Pressed() != TSpinPart::None) {
        const bool over = PartAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)) == button.Pressed();
        if (over != button.ShownDown()) {
          Dispatch([&button, over] { button.MouseOver(over); });
          InvalidateRect(FButton, nullptr, FALSE);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == FButton) {
        const bool over = PartAt(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)) == button.Pressed();
        KillTimer(FButton, kRepeatTimer);
        // The capture goes first, so that a click's handler may open a box.
        FReleasing = true;
        ReleaseCapture();
        FReleasing = false;
        Dispatch([&button, over] { button.Release(over); });
        InvalidateRect(FButton, nullptr, FALSE);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (!FReleasing && button.Pressed() != TSpinPart::None) {
        KillTimer(FButton, kRepeatTimer);
        Dispatch([&button] { button.CaptureLost(); });
        InvalidateRect(FButton, nullptr, FALSE);
      }
      return 0;
    case WM_TIMER:
      if (wParam == kRepeatTimer) {
        KillTimer(FButton, kRepeatTimer);
        Dispatch([&button] { button.Tick(GetTickCount64()); });
        ArmTimer();
        InvalidateRect(FButton, nullptr, FALSE);
      }
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == FButton) ReleaseCapture();
      return 0;
    default:
      return DefWindowProcW(FButton, message, wParam, lParam);
  }
}

void TSpinEditWindow::PaintButton(HDC dc) {
  RECT client{};
  GetClientRect(FButton, &client);
  // The down part is drawn last: it lies over the up part's last row.
  for (TSpinPart part : {TSpinPart::Up, TSpinPart::Down}) {
    const TRect bounds = Model().Button.PartBounds(part);
    const RECT area{bounds.Left, bounds.Top, std::min<LONG>(bounds.Right, client.right),
                    std::min<LONG>(bounds.Bottom, client.bottom)};
    PaintPart(dc, area, part, part == TSpinPart::Up ? FUpGlyph : FDownGlyph);
  }
}

void TSpinEditWindow::PaintPart(HDC dc, const RECT& area, TSpinPart part, const TGlyph& glyph) {
  const bool pressed = Model().Button.Pressed() == part && Model().Button.ShownDown();
  const bool disabled = !IsWindowEnabled(FButton) || !Model().Enabled();
  RECT face = area;
  DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
  const int offset = pressed ? 1 : 0;
  if (!glyph.Empty()) {
    const int x = area.left + (area.right - area.left - glyph.Width() + 1) / 2 + offset;
    const int y = area.top + (area.bottom - area.top - glyph.Height() + 1) / 2 + offset;
    glyph.Draw(dc, x, y, disabled);
  } else {
    RECT arrow = area;
    OffsetRect(&arrow, offset, offset);
    DrawArrow(dc, arrow, part == TSpinPart::Up, disabled);
  }
}

std::unique_ptr<TControlBinding> MakeSpinEditBinding(TFormWindow& owner, TControl& control) {
  return std::make_unique<TSpinEditWindow>(owner, control);
}

}  // namespace bx
