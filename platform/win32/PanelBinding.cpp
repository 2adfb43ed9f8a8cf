// Panels: an owner-drawn static frame with a raised or lowered bevel in the
// form's colour. The controls it holds are the form's own windows placed
// above it, so the panel never takes a message of theirs.
#include "platform/win32/ControlBindings.h"
#include "platform/win32/FormWindow.h"

namespace bx {
namespace {

class TPanelBinding : public TControlBinding {
 public:
  using TControlBinding::TControlBinding;
  bool Focusable() const override { return false; }

  bool DrawItem(const DRAWITEMSTRUCT& item) override {
    RECT r = item.rcItem;
    FillRect(item.hDC, &r, FOwner.Brush());
    const bool lowered = static_cast<const TPanel&>(FControl).BevelOuter == TBevel::bvLowered;
    DrawEdge(item.hDC, &r, lowered ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
    return true;
  }

 protected:
  HWND CreateWindowFor(HWND parent, int id, const RECT& bounds, DWORD style) override {
    return CreateWindowExW(0, L"STATIC", L"", style | SS_OWNERDRAW, bounds.left, bounds.top,
                           bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), CodeModule(),
                           nullptr);
  }
};

}  // namespace

std::unique_ptr<TControlBinding> MakePanelBinding(TFormWindow& owner, TControl& control) {
  return std::make_unique<TPanelBinding>(owner, control);
}

}  // namespace bx
