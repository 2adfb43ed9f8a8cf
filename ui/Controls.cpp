#include "ui/Controls.h"

#include "platform/Platform.h"
#include "ui/Form.h"

namespace bx {

void TControl::SetEnabled(bool value) {
  if (FEnabled == value) return;
  FEnabled = value;
  Changed();
}

void TControl::SetVisible(bool value) {
  if (FVisible == value) return;
  FVisible = value;
  Changed();
}

void TControl::SetCaption(const std::string& value) {
  if (FCaption == value) return;
  FCaption = value;
  Changed();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  TRect bounds{left, top, left + width, top + height};
  if (FBounds == bounds) return;
  FBounds = bounds;
  Changed();
}

void TCheckBox::SetChecked(bool value) {
  if (FChecked == value) return;
  FChecked = value;
  Changed();
  if (OnClick) OnClick(*this);
}

void TRadioButton::SetChecked(bool value) {
  if (FChecked == value) return;
  FChecked = value;
  Changed();
  if (!value) return;
  if (Parent()) {
    for (TControl* c : Parent()->Controls()) {
      if (c == this || c->Kind() != TControlKind::RadioButton) continue;
      auto* other = static_cast<TRadioButton*>(c);
      if (other->Group == Group) other->SetChecked(false);
    }
  }
  if (OnClick) OnClick(*this);
}

void TListBox::SetItems(std::vector<std::string> items) {
  FItems = std::move(items);
  if (FItemIndex >= static_cast<int>(FItems.size())) FItemIndex = -1;
  Changed();
}

void TListBox::SetItemIndex(int value) {
  if (value < 0 || value >= static_cast<int>(FItems.size())) value = -1;
  if (FItemIndex == value) return;
  FItemIndex = value;
  Changed();
}

}  // namespace bx

namespace bx {

void TListBox::SetTopIndex(int index) {
  FTopIndex = index < 0 ? 0 : index;
  ++FTopIndexRequests;
  Changed();
}

void TListBox::DrawItem(TCanvas& canvas, int index, const TRect& rect, TOwnerDrawState state) {
  constexpr int kColorHighlight = 13;
  constexpr int kColorHighlightText = 14;
  if (state & odSelected) {
    canvas.BrushColor = Platform().System->GetSysColor(kColorHighlight);
    canvas.FontColor = Platform().System->GetSysColor(kColorHighlightText);
  } else {
    canvas.BrushColor = Color;
    canvas.FontColor = FontColor;
  }
  if (!OnDrawItem) return;
  TCanvas* previous = FCanvas;
  FCanvas = &canvas;
  struct TRestore {
    TCanvas*& Slot;
    TCanvas* Previous;
    ~TRestore() { Slot = Previous; }
  } restore{FCanvas, previous};
  OnDrawItem(*this, index, rect, state);
}

}  // namespace bx
