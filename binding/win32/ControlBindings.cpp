#include "binding/win32/ControlBindings.h"

#include "binding/win32/FormWindow.h"
#include "platform/Errors.h"
#include "platform/win32/Text.h"

namespace bx {

TControlBinding::TControlBinding(TFormWindow& owner, TControl& control)
    : FOwner(owner), FControl(control) {}

TControlBinding::~TControlBinding() { TControlBinding::Unbind(); }

void TControlBinding::Create(HWND parent, int id) {
  FId = id;
  FBounds = WindowBounds();
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
  if (FControl.Visible()) style |= WS_VISIBLE;
  if (!FControl.Enabled()) style |= WS_DISABLED;
  const RECT bounds{FBounds.Left, FBounds.Top, FBounds.Right, FBounds.Bottom};
  FHandle = CreateWindowFor(parent, id, bounds, style);
  if (!FHandle) throw Exception("Error creating window");
  SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), FALSE);
  FControl.OnStateChanged = [this](TControl&) { Update(); };
  Update();
}

void TControlBinding::Unbind() { FControl.OnStateChanged = nullptr; }

void TControlBinding::Update() {
  if (!FHandle) return;
  // A change made while the window follows an earlier one is taken up by
  // the same pass instead of nesting.
  if (FInUpdate) {
    FUpdatePending = true;
    return;
  }
  struct TInUpdate {
    bool& flag;
    ~TInUpdate() { flag = false; }
  } guard{FInUpdate};
  FInUpdate = true;
  do {
    FUpdatePending = false;
    const bool enabled = FControl.Enabled();
    if ((IsWindowEnabled(FHandle) != FALSE) != enabled) {
      // A disabled window cannot keep the focus; give it to the next control.
      if (!enabled) FOwner.FocusLeaving(*this);
      EnableWindow(FHandle, enabled);
    }
    const bool visible = FControl.Visible();
    if (((GetWindowLongW(FHandle, GWL_STYLE) & WS_VISIBLE) != 0) != visible) {
      if (!visible) FOwner.FocusLeaving(*this);
      ShowWindow(FHandle, visible ? SW_SHOWNA : SW_HIDE);
    }
    const TRect bounds = WindowBounds();
    if (!(bounds == FBounds)) {
      FBounds = bounds;
      SetWindowPos(FHandle, nullptr, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(),
                   SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!ShowsCaption()) SyncCaption();
    UpdateKind();
  } while (FUpdatePending);
}

bool TControlBinding::CanFocus() const {
  if (!Focusable() || !FHandle || !FControl.Visible() || !FControl.Enabled()) return false;
  const HWND focus = FocusWindow();
  return IsWindowEnabled(focus) && (GetWindowLongW(FHandle, GWL_STYLE) & WS_VISIBLE) != 0;
}

HWND TControlBinding::CreateChild(DWORD exStyle, const wchar_t* windowClass, const wchar_t* text,
                                  DWORD style, HWND parent, int id, const RECT& bounds) {
  return CreateWindowExW(exStyle, windowClass, text, style, bounds.left, bounds.top,
                         bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), CodeModule(), nullptr);
}

void TControlBinding::SyncCaption() {
  const std::string& caption = FControl.Caption();
  const std::wstring wanted =
      Widen(caption.empty() && !ShowsCaption() ? FControl.AccessibleName() : caption);
  const int length = GetWindowTextLengthW(FHandle);
  std::wstring current(static_cast<std::size_t>(length) + 1, L'\0');
  current.resize(static_cast<std::size_t>(GetWindowTextW(FHandle, current.data(), length + 1)));
  if (current == wanted) return;
  SetWindowTextW(FHandle, wanted.c_str());
  FOwner.FitCaption(*this);
}

HFONT TControlBinding::Font() const { return FFont ? FFont : FOwner.Font(); }

void TControlBinding::SetFont(HFONT font) {
  FFont = font;
  if (FHandle) SendMessageW(FHandle, WM_SETFONT, reinterpret_cast<WPARAM>(Font()), TRUE);
}

int TControlBinding::CaptionWidth(HDC dc, const std::wstring& caption) {
  if (caption.empty()) return 0;
  RECT extent{0, 0, 0, 0};
  DrawTextW(dc, caption.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  return extent.right;
}

TAccessibleText TControlBinding::AccessibleText() const {
  return {Widen(FControl.AccessibleName()), ROLE_SYSTEM_CLIENT, Widen(FControl.AccessibleValue())};
}

LRESULT TControlBinding::AnswerAccessibility(HWND window, WPARAM wParam, LPARAM lParam) {
  return AnswerGetObject(window, wParam, lParam, [window]() -> TAccessibleText {
    const TFormWindow* form = FormWindowFromHandle(window);
    const TControlBinding* binding = form ? form->BindingOf(window) : nullptr;
    return binding ? binding->AccessibleText() : TAccessibleText{};
  });
}

void TControlBinding::Dispatch(const std::function<void()>& action) const { Guarded(action); }

std::unique_ptr<TControlBinding> MakeControlBinding(TFormWindow& owner, TControl& control) {
  switch (control.Kind()) {
    case TControlKind::Label: return MakeLabelBinding(owner, control);
    case TControlKind::Button: return MakeButtonBinding(owner, control);
    case TControlKind::BitBtn: return MakeBitBtnBinding(owner, control);
    case TControlKind::CheckBox: return MakeCheckBoxBinding(owner, control);
    case TControlKind::RadioButton: return MakeRadioButtonBinding(owner, control);
    case TControlKind::ListBox: return MakeListBoxBinding(owner, control);
    case TControlKind::Image: return MakeImageBinding(owner, control);
    case TControlKind::SpinEdit: return MakeSpinEditBinding(owner, control);
    case TControlKind::Panel: return MakePanelBinding(owner, control);
    case TControlKind::RadioGroup: return MakeRadioGroupBinding(owner, control);
    case TControlKind::ListView: return MakeListViewBinding(owner, control);
  }
  throw Exception("Error creating window");
}

TShiftState KeyboardShiftState() {
  TShiftState shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

}  // namespace bx
