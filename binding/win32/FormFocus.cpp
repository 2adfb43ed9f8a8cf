// The form window's keyboard: the focus moving in tab order, the default
// push button that Enter presses, and the dialog manager's part of each
// message taken from the queue.
#include <algorithm>

#include "binding/win32/ControlBindings.h"
#include "binding/win32/FormWindow.h"

namespace bx {

namespace {

bool IsPushButton(const TControl& control) {
  return control.Kind() == TControlKind::Button || control.Kind() == TControlKind::BitBtn;
}

}  // namespace

TControlBinding* TFormWindow::BindingOf(HWND window) const {
  auto it = FByWindow.find(window);
  return it == FByWindow.end() ? nullptr : it->second;
}

TControlBinding* TFormWindow::BindingOf(const TControl& control) const {
  for (const auto& binding : FBindings)
    if (&binding->Control() == &control) return binding.get();
  return nullptr;
}

TControlBinding* TFormWindow::BindingOf(const std::string& name) const {
  for (const auto& binding : FBindings)
    if (binding->Control().Name() == name) return binding.get();
  return nullptr;
}

TControlBinding* TFormWindow::ControlOf(HWND window) const {
  for (; window && window != FHandle; window = GetParent(window))
    if (TControlBinding* binding = BindingOf(window)) return binding;
  return nullptr;
}

TControlBinding* TFormWindow::FocusedBinding() const { return ControlOf(GetFocus()); }

// The form's tab sequence, containers and controls that take no focus
// included: a focused control that is no tab stop still has its place.
std::vector<TControlBinding*> TFormWindow::TabOrderList() const {
  std::vector<TControlBinding*> list;
  for (TControl* control : FForm.TabOrderList())
    if (TControlBinding* binding = BindingOf(*control)) list.push_back(binding);
  return list;
}

bool TFormWindow::Focus(TControlBinding& binding) {
  const HWND window = binding.FocusWindow();
  SetFocus(window);
  return GetFocus() == window;
}

void TFormWindow::FocusFirst() {
  for (TControlBinding* binding : TabOrderList())
    if (binding->CanFocus() && Focus(*binding)) return;
}

void TFormWindow::FocusNext(bool forward) { FocusNext(forward, FocusedBinding()); }

void TFormWindow::FocusNext(bool forward, TControlBinding* current) {
  const std::vector<TControlBinding*> list = TabOrderList();
  const int count = static_cast<int>(list.size());
  if (count == 0) return;
  auto it = std::find(list.begin(), list.end(), current);
  const int start = it == list.end() ? -1 : static_cast<int>(it - list.begin());
  for (int step = 1; step <= count; ++step) {
    int index;
    if (start < 0 && !forward)
      index = count - step;
    else if (start < 0)
      index = step - 1;
    else
      index = ((start + (forward ? step : -step)) % count + count) % count;
    if (list[index] != current && list[index]->CanFocus() && Focus(*list[index])) return;
  }
}

void TFormWindow::PushButtonFocused(TControlBinding* button) {
  for (const auto& binding : FBindings) {
    if (!IsPushButton(binding->Control())) continue;
    const bool isDefault = static_cast<const TButton&>(binding->Control()).Default;
    binding->ShowDefault(button ? binding.get() == button : isDefault);
  }
}

void TFormWindow::FocusLeaving(TControlBinding& binding) {
  const HWND focus = GetFocus();
  if (!focus || (focus != binding.Handle() && !IsChild(binding.Handle(), focus))) return;
  FocusNext(true);
  if (GetFocus() == focus) SetFocus(FHandle);
}

bool TFormWindow::PreTranslate(MSG& msg) {
  if (!FHandle || (msg.hwnd != FHandle && !IsChild(FHandle, msg.hwnd))) return false;
  if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && FForm.KeyPreview) {
    const TShiftState shift = KeyboardShiftState();
    int key = static_cast<int>(msg.wParam);
    Guarded([&] { FForm.KeyDown(key, shift); });
    if (key == 0) return true;
    msg.wParam = static_cast<WPARAM>(key);
  }
  // The dialog manager works from the focus: a key sent to a control
  // without it (never the user's, whose keys go to the focus) moves it there.
  if ((msg.message == WM_KEYDOWN || msg.message == WM_CHAR) && msg.hwnd != GetFocus() &&
      IsChild(FHandle, msg.hwnd) && IsWindowVisible(msg.hwnd) && IsWindowEnabled(msg.hwnd))
    SetFocus(msg.hwnd);
  if (msg.message == WM_KEYDOWN && (msg.wParam == VK_TAB || msg.wParam == VK_LEFT ||
                                    msg.wParam == VK_RIGHT || msg.wParam == VK_UP ||
                                    msg.wParam == VK_DOWN))
    SendMessageW(FHandle, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
  return IsDialogMessageW(FHandle, &msg) != FALSE;
}

// Enter and Esc come from the dialog manager as commands: Enter presses the
// focused push button, else the default one; Esc the cancel button.
// Hidden or disabled buttons take no key.
TControlBinding* TFormWindow::KeyButton(bool cancel) const {
  TControlBinding* focused = FocusedBinding();
  if (!cancel && focused && IsPushButton(focused->Control()) && focused->CanFocus()) return focused;
  for (const auto& binding : FBindings) {
    TControl& control = binding->Control();
    if (!IsPushButton(control) || !control.Visible() || !control.Enabled()) continue;
    const TButton& button = static_cast<const TButton&>(control);
    if (cancel ? button.Cancel : button.Default) return binding.get();
  }
  return nullptr;
}

}  // namespace bx
