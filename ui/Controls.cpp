#include "ui/Controls.h"

#include "platform/Platform.h"
#include "ui/Form.h"

namespace bx {

TControl::TControl(TControlKind kind, std::string name, TForm* owner)
    : FKind(kind), FName(std::move(name)) {
  if (owner) owner->AddControl(*this);
}

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

int ScaledBy(int value, int to, int from) {
  const long long product = static_cast<long long>(value) * to;
  const long long half = from / 2;
  return static_cast<int>(product >= 0 ? (product + half) / from : (product - half) / from);
}

namespace {

// A caption as it reads: "&&" is one "&", a lone "&" marks the access key.
std::string WithoutAccessKey(const std::string& caption) {
  std::string text;
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '&') ++i;  // the next one stands for itself
    if (i < caption.size()) text += caption[i];
  }
  return text;
}

}  // namespace

std::string TControl::AccessibleName() const {
  if (!FAccessibleName.empty()) return FAccessibleName;
  if (!FCaption.empty()) return WithoutAccessKey(FCaption);
  if (FParent)
    for (const TControl* control : FParent->Controls())
      if (const auto* label = dynamic_cast<const TLabel*>(control);
          label && label->FocusControl == this && !label->Caption().empty())
        return WithoutAccessKey(label->Caption());
  return FHint.substr(0, FHint.find('|'));
}

void TControl::SetAccessibleValue(const std::string& value) {
  if (FAccessibleValue == value) return;
  FAccessibleValue = value;
  Changed();
}

void TControl::SetBounds(int left, int top, int width, int height) {
  TRect bounds{left, top, left + width, top + height};
  if (FBounds == bounds) return;
  const bool moved = bounds.Left != FBounds.Left || bounds.Top != FBounds.Top;
  FBounds = bounds;
  Changed();
  if (moved) HolderMoved();
}

TRect TControl::BoundsRect() const {
  TRect bounds = FBounds;
  for (const TControl* holder = FParentControl; holder; holder = holder->FParentControl) {
    bounds.Left += holder->FBounds.Left;
    bounds.Right += holder->FBounds.Left;
    bounds.Top += holder->FBounds.Top;
    bounds.Bottom += holder->FBounds.Top;
  }
  return bounds;
}

void TControl::SetParentControl(TControl* value) {
  if (FParentControl == value) return;
  FParentControl = value;
  Changed();
}

void TControl::HolderMoved() {
  if (!FParent) return;
  for (TControl* held : FParent->Controls())
    if (held->FParentControl == this) {
      held->Changed();
      held->HolderMoved();
    }
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
      if (other->SameGroup(*this)) other->SetChecked(false);
    }
  }
  if (OnClick) OnClick(*this);
}

void TListBox::SystemColorsChanged() {
  ISystem* system = Platform().System;
  if (!system) return;
  if (SystemColor >= 0) Color = system->GetSysColor(SystemColor);
  if (SystemFontColor >= 0) FontColor = system->GetSysColor(SystemFontColor);
  Changed();
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

namespace {
// The caption's line above the first item, and the frame below the last.
constexpr int kCaptionSpace = 14;
constexpr int kBottomSpace = 4;
constexpr int kItemIndent = 8;
}  // namespace

TRadioGroup::TRadioGroup(std::string name, TForm* owner)
    : TControl(TControlKind::RadioGroup, std::move(name), owner) {}

void TRadioGroup::SetItems(std::vector<std::string> items) {
  FItems = std::move(items);
  FButtons.clear();
  FItemIndex = -1;
  const int count = static_cast<int>(FItems.size());
  const int rowHeight = count > 0 ? (Height() - kCaptionSpace - kBottomSpace) / count : 0;
  for (int i = 0; i < count; ++i) {
    auto button = std::make_unique<TRadioButton>(Name() + "." + std::to_string(i));
    button->SetCaption(FItems[i]);
    button->SetParentControl(this);
    button->SetTabOrder(0);  // all at the group's place, in their order
    button->SetBounds(kItemIndent, kCaptionSpace + i * rowHeight, Width() - 2 * kItemIndent,
                      rowHeight);
    button->OnClick = [this, i](TObject&) { ButtonChanged(i); };
    if (Parent()) Parent()->AddControl(*button);
    FButtons.push_back(std::move(button));
  }
}

void TRadioGroup::SetItemIndex(int value) {
  if (value < 0 || value >= static_cast<int>(FButtons.size())) value = -1;
  if (value == FItemIndex) return;
  if (value >= 0) {
    // The button's click comes back through ButtonChanged.
    FButtons[value]->SetChecked(true);
    return;
  }
  FItemIndex = -1;
  for (auto& button : FButtons) button->SetChecked(false);
  if (OnClick) OnClick(*this);
}

void TRadioGroup::ButtonChanged(int index) {
  if (index == FItemIndex) return;
  FItemIndex = index;
  if (OnClick) OnClick(*this);
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
