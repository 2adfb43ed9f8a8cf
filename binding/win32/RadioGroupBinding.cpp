// Radio groups: the captioned frame. Its item buttons are radio button
// controls of the form, bound as any radio button, so the keyboard moves
// between them and a click selects the item. The frame's window fills its
// inside with the form's colour: the system's group box leaves it to what
// lies below, and the panel below is clipped where the frame is.
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
    HWND frame = CreateChild(0, L"BUTTON", Widen(FControl.Caption()).c_str(), style | BS_GROUPBOX,
                             parent, id, bounds);
    if (frame) SetWindowSubclass(frame, FrameProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    return frame;
  }
  void UpdateKind() override { SyncCaption(); }

 private:
  static constexpr UINT_PTR kSubclassId = 1;
  static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR, DWORD_PTR data) {
    if (message == WM_ERASEBKGND) {
      const auto* self = reinterpret_cast<const TRadioGroupBinding*>(data);
      RECT inside{};
      GetClientRect(window, &inside);
      FillRect(reinterpret_cast<HDC>(wParam), &inside, self->FOwner.Brush());
      return 1;
    }
    if (message == WM_NCDESTROY) RemoveWindowSubclass(window, FrameProc, kSubclassId);
    return DefSubclassProc(window, message, wParam, lParam);
  }
};

}  // namespace

std::unique_ptr<TControlBinding> MakeRadioGroupBinding(TFormWindow& owner, TControl& control) {
  return std::make_unique<TRadioGroupBinding>(owner, control);
}

}  // namespace bx
