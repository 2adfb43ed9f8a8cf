#include "ui/Controls.h"

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

TRect TControl::FormBoundsRect() const {
  TRect bounds = FBounds;
  for (const TControl* c = FParentControl; c; c = c->FParentControl) {
    bounds.Left += c->Left();
    bounds.Right += c->Left();
    bounds.Top += c->Top();
    bounds.Bottom += c->Top();
  }
  return bounds;
}

bool TControl::Focused() const { return FParent && FParent->ActiveControl() == this; }

void TControl::SetFocus() {
  if (FParent) FParent->SetActiveControl(this);
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
