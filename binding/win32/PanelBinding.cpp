// Panels: an owner-drawn static window filled with the form's colour and
// framed by the model's bevels. Controls inside a panel are windows of the
// form placed over it (each later control lies above the earlier ones),
// at the bounds the model gives in the form's client pixels.
#include "binding/win32/ControlBindings.h"
#include "binding/win32/FormWindow.h"

namespace bx {
namespace {

// One band of `width` pixels: top and left in one colour, bottom and right
// in the other; the rectangle shrinks by the band.
void Frame3D(HDC dc, RECT& rect, COLORREF topLeft, COLORREF bottomRight, int width) {
  for (int i = 0; i < width && rect.right - rect.left > 1 && rect.bottom - rect.top > 1; ++i) {
    const RECT top{rect.left, rect.top, rect.right - 1, rect.top + 1};
    const RECT left{rect.left, rect.top, rect.left + 1, rect.bottom - 1};
    const RECT bottom{rect.left, rect.bottom - 1, rect.right, rect.bottom};
    const RECT right{rect.right - 1, rect.top, rect.right, rect.bottom};
    HBRUSH light = CreateSolidBrush(topLeft);
    HBRUSH dark = CreateSolidBrush(bottomRight);
    FillRect(dc, &top, light);
    FillRect(dc, &left, light);
    FillRect(dc, &bottom, dark);
    FillRect(dc, &right, dark);
    DeleteObject(light);
    DeleteObject(dark);
    InflateRect(&rect, -1, -1);
  }
}

void Bevel(HDC dc, RECT& rect, TPanelBevel bevel) {
  if (bevel == TPanelBevel::bvNone) return;
  const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
  const bool raised = bevel == TPanelBevel::bvRaised;
  Frame3D(dc, rect, raised ? highlight : shadow, raised ? shadow : highlight, 1);
}

class TPanelBinding : public TControlBinding {
 public:
  using TControlBinding::TControlBinding;
  // Its text is not painted: it holds the name a screen reader reads.
  bool ShowsCaption() const override { return false; }
  bool Focusable() const override { return false; }

  bool DrawItem(const DRAWITEMSTRUCT& item) override {
    const TPanel& panel = static_cast<const TPanel&>(FControl);
    RECT rect = item.rcItem;
    FillRect(item.hDC, &rect, FOwner.Brush());
    Bevel(item.hDC, rect, panel.BevelOuter);
    InflateRect(&rect, -panel.BorderWidth, -panel.BorderWidth);
    Bevel(item.hDC, rect, panel.BevelInner);
    return true;
  }

 protected:
  HWND CreateWindowFor(HWND parent, int id, const RECT& bounds, DWORD style) override {
    return CreateChild(0, L"STATIC", nullptr, style | SS_OWNERDRAW, parent, id, bounds);
  }
};

}  // namespace

std::unique_ptr<TControlBinding> MakePanelBinding(TFormWindow& owner, TControl& control) {
  return std::make_unique<TPanelBinding>(owner, control);
}

}  // namespace bx
