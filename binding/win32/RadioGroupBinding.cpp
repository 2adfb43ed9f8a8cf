// Radio groups: the captioned frame. Its item buttons are radio button
// controls of the form, bound as any radio button, so the keyboard moves
// between them and a click selects the item.
#include "binding/win32/ControlBindings.h"
#include "binding/win32/FormWindow.h"
#include "platform/win32/Text.h"

namespace bx {
namespace {

class TRadioGroupBinding : public TControlBinding {
 public:
  using TControlBinding::TControlBinding;
  bool UsesFormColors() const override { return true; }
  bool Focusable() const override { return false; }

 protected:
  HWND CreateWindowFor(HWND parent, int id, const RECT& bounds, DWORD style) override {
    return CreateChild(0, L"BUTTON", Widen(FControl.Caption()).c_str(), style | BS_GROUPBOX, parent,
                       id, bounds);
  }
  void UpdateKind() override { SyncCaption(); }
};

}  // namespace

std::unique_ptr<TControlBinding> MakeRadioGroupBinding(TFormWindow& owner, TControl& control) {
  return std::make_unique<TRadioGroupBinding>(owner, control);
}

}  // namespace bx
