// Labels: static text at the model's bounds, sized to the caption when the
// model gives no width or height. The form window places it just before
// its FocusControl, where the dialog manager's access key looks.
#include "binding/win32/ControlBindings.h"
#include "binding/win32/FormWindow.h"
#include "platform/win32/Text.h"

namespace bx {
namespace {

class TLabelBinding : public TControlBinding {
 public:
  using TControlBinding::TControlBinding;
  bool UsesFormColors() const override { return true; }
  bool Focusable() const override { return false; }

 protected:
  HWND CreateWindowFor(HWND parent, int id, const RECT& bounds, DWORD style) override {
    style |= Model().WordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP;
    return CreateChild(0, L"STATIC", Widen(FControl.Caption()).c_str(), style, parent, id, bounds);
  }

  void UpdateKind() override { SyncCaption(); }

  // A label of a set width on one line; one sized to its caption fits.
  int NeededWidth(HDC dc) const override {
    if (Model().WordWrap || FControl.Width() <= 0) return 0;
    return CaptionWidth(dc, Widen(FControl.Caption()));
  }

  TRect WindowBounds() const override {
    TRect bounds = FControl.BoundsRect();
    if (FControl.Width() > 0 && FControl.Height() > 0) return bounds;
    const SIZE size = CaptionSize();
    if (FControl.Width() <= 0) bounds.Right = bounds.Left + size.cx;
    if (FControl.Height() <= 0) bounds.Bottom = bounds.Top + size.cy;
    return bounds;
  }

 private:
  const TLabel& Model() const { return static_cast<const TLabel&>(FControl); }

  // The caption's extent in the form's font, the access key's "&" removed.
  SIZE CaptionSize() const {
    const std::wstring text = Widen(FControl.Caption());
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, FOwner.Font());
    RECT extent{0, 0, 0, 0};
    DrawTextW(dc, text.empty() ? L" " : text.c_str(), -1, &extent,
              DT_CALCRECT | DT_SINGLELINE | DT_LEFT | DT_EXPANDTABS);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return SIZE{text.empty() ? 0 : extent.right, extent.bottom};
  }
};

}  // namespace

std::unique_ptr<TControlBinding> MakeLabelBinding(TFormWindow& owner, TControl& control) {
  return std::make_unique<TLabelBinding>(owner, control);
}

}  // namespace bx
