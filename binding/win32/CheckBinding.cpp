// Check boxes and radio buttons. A click changes the model, and the model's
// change sets the window's check mark, so the user's changes and the code's
// take one path. A check box's window never checks itself; a radio button's
// does (see its binding).
#include "binding/win32/ControlBindings.h"
#include "binding/win32/FormWindow.h"
#include "platform/win32/Text.h"

namespace bx {
namespace {

class TCheckBinding : public TControlBinding {
 public:
  using TControlBinding::TControlBinding;
  bool UsesFormColors() const override { return true; }

  void Command(UINT code) override {
    if (code == BN_CLICKED || code == BN_DOUBLECLICKED) Click();
  }
  // The box, the gap the system leaves after it, and the caption.
  int NeededWidth(HDC dc) const override {
    const int caption = CaptionWidth(dc, Widen(FControl.Caption()));
    return caption > 0 ? FOwner.Form().Scaled(kBoxAndGap) + caption : 0;
  }

 protected:
  static constexpr int kBoxAndGap = 13 + 6;  // at 96 pixels per inch
  virtual DWORD ButtonStyle() const = 0;
  virtual bool Checked() const = 0;

  HWND CreateWindowFor(HWND parent, int id, const RECT& bounds, DWORD style) override {
    return CreateChild(0, L"BUTTON", Widen(FControl.Caption()).c_str(), style | ButtonStyle(),
                       parent, id, bounds);
  }

  void UpdateKind() override {
    SyncCaption();
    const WPARAM state = Checked() ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(SendMessageW(FHandle, BM_GETCHECK, 0, 0)) != state)
      SendMessageW(FHandle, BM_SETCHECK, state, 0);
  }
};

class TCheckBoxBinding : public TCheckBinding {
 public:
  using TCheckBinding::TCheckBinding;
  void Command(UINT code) override {
    // A check box's double click is two clicks, each reported as one.
    if (code == BN_CLICKED) Click();
  }
  void Click() override {
    if (!Usable()) return;
    TCheckBox& box = static_cast<TCheckBox&>(FControl);
    Dispatch([&box] { box.SetChecked(!box.Checked()); });
  }

 protected:
  DWORD ButtonStyle() const override { return BS_CHECKBOX; }
  bool Checked() const override { return static_cast<const TCheckBox&>(FControl).Checked(); }
};

class TRadioButtonBinding : public TCheckBinding {
 public:
  using TCheckBinding::TCheckBinding;
  // Windows reports BN_CLICKED also when an unchecked radio button merely
  // receives the focus (tabbing, the dialog's first focus). Only a real
  // click, by mouse or space bar, checks the window itself: that change of
  // state, not the notification, is the user's click.
  void Command(UINT code) override {
    if (code != BN_CLICKED && code != BN_DOUBLECLICKED) return;
    if (SendMessageW(FHandle, BM_GETCHECK, 0, 0) == BST_CHECKED && !Checked()) Click();
    // The window unchecked its neighbours on its own: every radio button's
    // window follows its model again.
    for (TControl* control : FOwner.Form().Controls())
      if (control->Kind() == TControlKind::RadioButton)
        if (TControlBinding* binding = FOwner.BindingOf(*control)) binding->Update();
  }
  void Click() override {
    if (!Usable()) return;
    TRadioButton& button = static_cast<TRadioButton&>(FControl);
    Dispatch([&button] { button.SetChecked(true); });
  }

 protected:
  DWORD ButtonStyle() const override { return BS_AUTORADIOBUTTON; }
  // An auto radio button that gets the focus unchecked (Tab, the dialog's
  // first focus) would check itself and report a click; a focus is no
  // choice of the user's, so the button is told not to.
  HWND CreateWindowFor(HWND parent, int id, const RECT& bounds, DWORD style) override {
    HWND window = TCheckBinding::CreateWindowFor(parent, id, bounds, style);
    if (window) SendMessageW(window, BM_SETDONTCLICK, TRUE, 0);
    return window;
  }
  bool Checked() const override { return static_cast<const TRadioButton&>(FControl).Checked(); }
};

}  // namespace

std::unique_ptr<TControlBinding> MakeCheckBoxBinding(TFormWindow& owner, TControl& control) {
  return std::make_unique<TCheckBoxBinding>(owner, control);
}

std::unique_ptr<TControlBinding> MakeRadioButtonBinding(TFormWindow& owner, TControl& control) {
  return std::make_unique<TRadioButtonBinding>(owner, control);
}

}  // namespace bx
