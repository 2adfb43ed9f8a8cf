#include "binding/win32/SpinEditWindow.h"

#include <algorithm>

#include "binding/win32/FormWindow.h"
#include "platform/win32/Text.h"

namespace bx {
namespace {

constexpr wchar_t kSpinEditClass[] = L"TSpinEdit";
constexpr wchar_t kSpinButtonClass[] = L"TSpinButton";

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
  if (ButtonWindow()) {
    KillTimer(ButtonWindow(), kRepeatTimer);
    if (GetCapture() == ButtonWindow()) {
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
  SetBaseProcedure(RegisterWindowClass(kSpinEditClass, WindowProc, 0, L"EDIT"));
  RegisterWindowClass(kSpinButtonClass, TSpinButtonWindow::WindowProc);
  style |= ES_MULTILINE | ES_AUTOHSCROLL | WS_CLIPCHILDREN;
  if (Model().ReadOnly) style |= ES_READONLY;
  FUpGlyph.Load(Model().Button.UpGlyph, 1);
  FDownGlyph.Load(Model().Button.DownGlyph, 1);
  for (TGlyph* glyph : {&FUpGlyph, &FDownGlyph})
    glyph->SetPixelsPerInch(FOwner.Form().PixelsPerInch());
  HWND edit = CreateWindowExW(WS_EX_CLIENTEDGE, kSpinEditClass, Widen(Model().Text()).c_str(),
                              style, bounds.left, bounds.top, bounds.right - bounds.left,
                              bounds.bottom - bounds.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), CodeModule(),
                              static_cast<TControlBinding*>(this));
  if (!edit) return nullptr;
  // The buttons are no tab stop and never keep the focus.
  CreateWindowExW(0, kSpinButtonClass, nullptr,
                  WS_CHILD | WS_VISIBLE | (Model().Enabled() ? 0 : WS_DISABLED), 0, 0,
                  Model().Button.Width, Model().Button.Height, edit, nullptr, CodeModule(),
                  &FButtonWindow);
  Layout();
  return edit;
}

void TSpinEditWindow::Layout() {
  if (!FHandle) return;
  RECT client{};
  GetClientRect(FHandle, &client);
  const TRect text = Model().EditRect(client.right, client.bottom);
  RECT format{text.Left, text.Top, text.Right, text.Bottom};
  DefaultMessage(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&format));
  if (ButtonWindow()) {
    const TRect place = Model().ButtonBounds(true);
    // The model's parts are laid out in the button's real size.
    Model().Button.Height = place.Height();
    RECT current{};
    GetWindowRect(ButtonWindow(), &current);
    MapWindowPoints(nullptr, FHandle, reinterpret_cast<POINT*>(&current), 2);
    if (current.left != place.Left || current.top != place.Top ||
        current.right - current.left != place.Width() || current.bottom - current.top != place.Height())
      SetWindowPos(ButtonWindow(), nullptr, place.Left, place.Top, place.Width(), place.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void TSpinEditWindow::UpdateKind() {
  TSpinEdit& model = Model();
  for (TGlyph* glyph : {&FUpGlyph, &FDownGlyph})
    glyph->SetPixelsPerInch(FOwner.Form().PixelsPerInch());
  const int minHeight = MinHeight();
  // The model learns the height the window really has.
  if (model.Height() < minHeight) {
    const TRect local = model.LocalBounds();
    model.SetBounds(local.Left, local.Top, local.Width(), minHeight);
  }
  SyncText();
  const bool readOnly = (GetWindowLongW(FHandle, GWL_STYLE) & ES_READONLY) != 0;
  if (readOnly != model.ReadOnly) DefaultMessage(EM_SETREADONLY, model.ReadOnly ? TRUE : FALSE, 0);
  if (ButtonWindow() && (IsWindowEnabled(ButtonWindow()) != FALSE) != model.Enabled()) {
    EnableWindow(ButtonWindow(), model.Enabled());
    InvalidateRect(ButtonWindow(), nullptr, FALSE);
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
    DefaultMessage(EM_SETSEL, text.size(), static_cast<LPARAM>(text.size()));
    FSettingText = false;
  }
  TSpinEdit& model = Model();
  const std::string value = Narrow(text);
  Dispatch([&model, &value] { model.SetText(value); });
}

LRESULT TSpinEditWindow::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  TSpinEdit& model = Model();
  switch (message) {
    case WM_GETOBJECT:
      if (const LRESULT answer = AnswerAccessibility(FHandle, wParam, lParam)) return answer;
      break;
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
    case WM_GETDLGCODE:
      // A one-line edit to the dialog manager, though multi-line inside.
      return DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    case WM_SETFOCUS: {
      const LRESULT result = DefaultMessage(message, wParam, lParam);
      // Entered by keyboard: select all; a click places the caret instead.
      if (model.Enter(GetKeyState(VK_LBUTTON) < 0)) DefaultMessage(EM_SETSEL, 0, -1);
      return result;
    }
    case WM_KILLFOCUS: {
      const LRESULT result = DefaultMessage(message, wParam, lParam);
      Dispatch([&model] { model.Exit(); });
      return result;
    }
    case WM_SIZE:
    case WM_SETFONT: {
      const LRESULT result = DefaultMessage(message, wParam, lParam);
      Layout();
      return result;
    }
    default:
      break;
  }
  return DefaultMessage(message, wParam, lParam);
}

// ---- The buttons ----------------------------------------------------------------

LRESULT TSpinButtonWindow::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return FEdit.ButtonMessage(message, wParam, lParam);
}

TAccessibleText TSpinEditWindow::AccessibleText() const {
  return {Widen(FControl.AccessibleName()), ROLE_SYSTEM_TEXT, Widen(Model().Text())};
}

TSpinPart TSpinEditWindow::PartAt(int x, int y) const { return Model().Button.PartAt(x, y); }

void TSpinEditWindow::ArmTimer() {
  const std::uint64_t delay = Model().Button.TimerDelay(GetTickCount64());
  if (delay == 0 || GetCapture() != ButtonWindow()) {
    KillTimer(ButtonWindow(), kRepeatTimer);
    return;
  }
  SetTimer(ButtonWindow(), kRepeatTimer,
           static_cast<UINT>(std::min<std::uint64_t>(delay, USER_TIMER_MAXIMUM)), nullptr);
}

LRESULT TSpinEditWindow::ButtonMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  TSpinButton& button = Model().Button;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(ButtonWindow(), &paint);
      struct TEnd {
        HWND window;
        PAINTSTRUCT* paint;
        ~TEnd() { EndPaint(window, paint); }
      } end{ButtonWindow(), &paint};
      PaintButton(dc);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintButton(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN: {
      const TSpinPart part = PartAt(MouseX(lParam), MouseY(lParam));
      if (part == TSpinPart::None) return 0;
      if (FHandle && GetFocus() != FHandle && IsWindowEnabled(FHandle) &&
          IsWindowVisible(FHandle))
        SetFocus(FHandle);
      SetCapture(ButtonWindow());
      Dispatch([&button, part] { button.Press(part, GetTickCount64()); });
      ArmTimer();
      InvalidateRect(ButtonWindow(), nullptr, FALSE);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (GetCapture() == ButtonWindow() && button.Pressed() != TSpinPart::None) {
        const bool over = PartAt(MouseX(lParam), MouseY(lParam)) == button.Pressed();
        if (over != button.ShownDown()) {
          Dispatch([&button, over] { button.MouseOver(over); });
          InvalidateRect(ButtonWindow(), nullptr, FALSE);
        }
      }
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == ButtonWindow()) {
        const bool over = PartAt(MouseX(lParam), MouseY(lParam)) == button.Pressed();
        KillTimer(ButtonWindow(), kRepeatTimer);
        // The capture goes first, so that a click's handler may open a box.
        FReleasing = true;
        ReleaseCapture();
        FReleasing = false;
        Dispatch([&button, over] { button.Release(over); });
        InvalidateRect(ButtonWindow(), nullptr, FALSE);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (!FReleasing && button.Pressed() != TSpinPart::None) {
        KillTimer(ButtonWindow(), kRepeatTimer);
        Dispatch([&button] { button.CaptureLost(); });
        InvalidateRect(ButtonWindow(), nullptr, FALSE);
      }
      return 0;
    case WM_TIMER:
      if (wParam == kRepeatTimer) {
        KillTimer(ButtonWindow(), kRepeatTimer);
        Dispatch([&button] { button.Tick(GetTickCount64()); });
        ArmTimer();
        InvalidateRect(ButtonWindow(), nullptr, FALSE);
      }
      return 0;
    case WM_CANCELMODE:
      if (GetCapture() == ButtonWindow()) ReleaseCapture();
      return 0;
    case WM_NCDESTROY:
      KillTimer(ButtonWindow(), kRepeatTimer);
      return FButtonWindow.DefaultMessage(message, wParam, lParam);
    case WM_GETOBJECT: {
      // The buttons are read as the edit's spin button.
      const HWND edit = FHandle;
      const LRESULT answer =
          AnswerGetObject(ButtonWindow(), wParam, lParam, [edit]() -> TAccessibleText {
            const TFormWindow* form = FormWindowFromHandle(edit);
            const TControlBinding* binding = form ? form->BindingOf(edit) : nullptr;
            if (!binding) return {};
            return {Widen(binding->Control().AccessibleName()) + L" up and down",
                    ROLE_SYSTEM_SPINBUTTON, {}};
          });
      return answer ? answer : FButtonWindow.DefaultMessage(message, wParam, lParam);
    }
    default:
      return FButtonWindow.DefaultMessage(message, wParam, lParam);
  }
}

void TSpinEditWindow::PaintButton(HDC dc) {
  RECT client{};
  GetClientRect(ButtonWindow(), &client);
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
  const bool disabled = !IsWindowEnabled(ButtonWindow()) || !Model().Enabled();
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
