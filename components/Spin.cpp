#include "components/Spin.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include "platform/Platform.h"
#include "ui/Form.h"

namespace bx {

namespace {

constexpr int kVkDelete = 0x2E;
constexpr char32_t kBackspace = 8;
constexpr char32_t kEnter = 13;

void Beep() {
  if (Platform().System) Platform().System->MessageBeep();
}

std::int32_t ToInt32(std::int64_t value) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

// ---- TSpinButton -------------------------------------------------------------

void TSpinButton::Press(TSpinPart part, std::uint64_t nowMs) {
  if (part == TSpinPart::None) return;
  if (OnFocusEdit) OnFocusEdit();
  FPressed = part;
  FOver = true;
  FocusedPart = part;
  FTimerRunning = true;
  FNextRepeat = nowMs + kInitialRepeatDelay;
}

void TSpinButton::Release(bool over) {
  const TSpinPart part = FPressed;
  FPressed = TSpinPart::None;
  FOver = false;
  FTimerRunning = false;
  if (part != TSpinPart::None && over) Fire(part);
}

void TSpinButton::MouseOver(bool over) {
  if (FPressed != TSpinPart::None) FOver = over;
}

void TSpinButton::CaptureLost() {
  FPressed = TSpinPart::None;
  FOver = false;
  FTimerRunning = false;
}

void TSpinButton::Tick(std::uint64_t nowMs) {
  if (!FTimerRunning || nowMs < FNextRepeat) return;
  // The next repeat counts from the one that was due; repeats missed while
  // the thread was busy are dropped rather than run in a burst.
  FNextRepeat += kRepeatInterval;
  if (FNextRepeat <= nowMs) FNextRepeat = nowMs + kRepeatInterval;
  if (!ShownDown()) return;
  try {
    Fire(FPressed);
  } catch (...) {
    FTimerRunning = false;
    throw;
  }
}

std::uint64_t TSpinButton::TimerDelay(std::uint64_t nowMs) const {
  if (!FTimerRunning) return 0;
  return FNextRepeat > nowMs ? FNextRepeat - nowMs : 1;
}

void TSpinButton::Fire(TSpinPart part) {
  if (part == TSpinPart::Up && OnUpClick) OnUpClick();
  if (part == TSpinPart::Down && OnDownClick) OnDownClick();
}

TRect TSpinButton::PartBounds(TSpinPart part) const {
  const int w = std::max(Width, kMinWidth);
  const int half = Height / 2;
  if (part == TSpinPart::Up) return {0, 0, w, half};
  if (part == TSpinPart::Down) return {0, std::max(half - 1, 0), w, Height};
  return {};
}

TSpinPart TSpinButton::PartAt(int x, int y) const {
  for (TSpinPart part : {TSpinPart::Down, TSpinPart::Up}) {
    const TRect r = PartBounds(part);
    if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return part;
  }
  return TSpinPart::None;
}

TRect TSpinButton::FocusRect(TRect part, bool pressed) {
  TRect r{part.Left + 3, part.Top + 3, part.Right - 3, part.Bottom - 3};
  if (pressed) {
    ++r.Left;
    ++r.Top;
    ++r.Right;
    ++r.Bottom;
  }
  return r;
}

// ---- TSpinEdit ---------------------------------------------------------------

TSpinEdit::TSpinEdit(std::string name, TForm* owner)
    : TControl(TControlKind::SpinEdit, std::move(name), owner) {
  Button.OnUpClick = [this] { UpClick(); };
  Button.OnDownClick = [this] { DownClick(); };
}

void TSpinEdit::SetText(const std::string& text) {
  if (FText == text) return;
  FText = text;
  Changed();
  if (OnChange) OnChange(*this);
}

std::int32_t TSpinEdit::Value() const {
  // A whole number with an optional sign and nothing else; anything else,
  // including a number beyond 32 bits, reads as the minimum.
  const char* first = FText.data();
  const char* last = FText.data() + FText.size();
  if (first != last && *first == '+') {
    ++first;
    if (first == last || *first < '0' || *first > '9') return MinValue;
  }
  std::int32_t value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return MinValue;
  return value;
}

void TSpinEdit::SetValue(std::int32_t value) { SetText(std::to_string(CheckValue(value))); }

std::int32_t TSpinEdit::CheckValue(std::int64_t value) const {
  if (MinValue != MaxValue) {
    if (value < MinValue) value = MinValue;
    if (value > MaxValue) value = MaxValue;
  }
  return ToInt32(value);
}

void TSpinEdit::UpClick() {
  if (ReadOnly) {
    Beep();
    return;
  }
  // Stepping past the 32-bit range stops at its end instead of wrapping.
  SetValue(CheckValue(static_cast<std::int64_t>(Value()) + Increment));
}

void TSpinEdit::DownClick() {
  if (ReadOnly) {
    Beep();
    return;
  }
  SetValue(CheckValue(static_cast<std::int64_t>(Value()) - Increment));
}

bool TSpinEdit::KeyDown(int key) {
  if (key == kVkUp) UpClick();
  if (key == kVkDown) DownClick();
  if (key == kVkDelete && (!EditorEnabled || ReadOnly)) return false;
  return true;
}

bool TSpinEdit::KeyPress(char32_t ch) {
  bool valid = (ch >= U'0' && ch <= U'9') || ch == U'+' || ch == U'-' || ch == DecimalSeparator ||
               (ch < 32 && ch != kEnter);
  if (valid && !EditorEnabled && (ch >= 32 || ch == kBackspace)) valid = false;
  if (!valid) Beep();
  return valid;
}

void TSpinEdit::Exit() {
  const std::int32_t value = Value();
  if (CheckValue(value) != value) SetValue(value);
}

int TSpinEdit::MinHeight(int fontHeight, int systemFontHeight, int borderHeight) {
  return fontHeight + std::min(fontHeight, systemFontHeight) / 4 + borderHeight * 4 + 2;
}

TRect TSpinEdit::ButtonBounds(bool ctl3D) const {
  const int w = std::max(Button.Width, TSpinButton::kMinWidth);
  if (ctl3D) {
    const int left = Width() - w - 5;
    return {left, 0, left + w, Height() - 5};
  }
  const int left = Width() - w;
  return {left, 1, left + w, 1 + Height() - 3};
}

TRect TSpinEdit::EditRect(int clientWidth, int clientHeight) const {
  return {0, 0, clientWidth - std::max(Button.Width, TSpinButton::kMinWidth) - 2,
          clientHeight + 1};
}

}  // namespace bx
