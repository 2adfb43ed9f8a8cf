// TSpinEdit: a one-line edit for a whole number with up and down buttons at
// its right edge. The logic (value, bounds, key filter, repeat timing) lives
// here; the Windows side is an edit window of our own class bound to it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "ui/Controls.h"

namespace bx {

enum class TSpinPart { None, Up, Down };

// The two repeating buttons. Time comes from the caller (milliseconds), so
// the repeat timing can be driven by a test clock.
class TSpinButton {
 public:
  static constexpr std::uint64_t kInitialRepeatDelay = 400;
  static constexpr std::uint64_t kRepeatInterval = 100;

  // A left press on a part; OnFocusEdit runs first.
  void Press(TSpinPart part, std::uint64_t nowMs);
  // Release of the mouse; `over` tells whether it is over the pressed part,
  // which then clicks once.
  void Release(bool over);
  // The held mouse moved: `over` tells whether it is over the pressed part.
  // Away from it the part shows up and does not repeat; back over it, it
  // shows pressed and repeats again.
  void MouseOver(bool over);
  // Mouse capture lost (another window took it): the timer stops.
  void CaptureLost();
  // Runs the repeat that is due at nowMs while the part is held and shown
  // pressed: at most one click per call, as a window timer does not pile up
  // its expiries while the thread is busy. An error of a click stops the
  // timer and is passed on.
  void Tick(std::uint64_t nowMs);
  // Milliseconds until the next repeat is due (at least 1 while the timer
  // runs), 0 when no timer runs.
  std::uint64_t TimerDelay(std::uint64_t nowMs) const;
  bool TimerRunning() const { return FTimerRunning; }
  TSpinPart Pressed() const { return FPressed; }
  // Whether the held part shows pressed (the mouse is over it).
  bool ShownDown() const { return FPressed != TSpinPart::None && FOver; }

  // The parts inside the button's Width x Height (never narrower than
  // kMinWidth): the up part the upper half, the down part the rest,
  // overlapping the up part by one pixel.
  static constexpr int kMinWidth = 15;
  TRect PartBounds(TSpinPart part) const;
  // The part under a point of the button; the down part lies above the up
  // part where they overlap.
  TSpinPart PartAt(int x, int y) const;
  // The dotted focus rectangle of a part: 3 pixels inside it, one pixel
  // right and down while it shows pressed.
  static TRect FocusRect(TRect part, bool pressed);
  // Glyph bitmap resources.
  std::string UpGlyph = "SpinUp";
  std::string DownGlyph = "SpinDown";
  // The part that shows the keyboard focus mark.
  TSpinPart FocusedPart = TSpinPart::Up;

  std::function<void()> OnUpClick;
  std::function<void()> OnDownClick;
  std::function<void()> OnFocusEdit;

  int Width = 15;
  int Height = 17;

 private:
  void Fire(TSpinPart part);
  TSpinPart FPressed = TSpinPart::None;
  bool FOver = false;
  bool FTimerRunning = false;
  std::uint64_t FNextRepeat = 0;
};

class TSpinEdit : public TControl {
 public:
  explicit TSpinEdit(std::string name, TForm* owner = nullptr);
  void ScalePixels(int to, int from) override { Button.Width = ScaledBy(Button.Width, to, from); }

  // The edit's text; a change runs OnChange.
  const std::string& Text() const { return FText; }
  void SetText(const std::string& text);

  // The text as an integer; a text that is no integer reads as MinValue.
  std::int32_t Value() const;
  // Limited to the bounds, written as decimal text.
  void SetValue(std::int32_t value);
  // Equal bounds mean no bounds.
  std::int32_t CheckValue(std::int64_t value) const;

  std::int32_t Increment = 1;
  std::int32_t MinValue = 0;
  std::int32_t MaxValue = 0;
  bool EditorEnabled = true;
  bool ReadOnly = false;
  bool AutoSelect = true;

  void UpClick();
  void DownClick();

  // A key pressed in the edit (virtual-key code): the arrows step and go on.
  // False when the key must not reach the edit: Delete while the editor is
  // disabled, which would change the text as typing would.
  bool KeyDown(int key);
  // A typed character: false when it is dropped (after a beep).
  bool KeyPress(char32_t ch);
  // Whether paste and cut may change the text.
  bool CanPasteOrCut() const { return EditorEnabled && !ReadOnly; }
  // The edit lost the focus.
  void Exit();
  // The edit got the focus: true when the whole text should be selected.
  bool Enter(bool leftButtonDown) const { return AutoSelect && !leftButtonDown; }

  // The smallest height of the edit, from its font's height, the system
  // font's height and the border height (SM_CYBORDER).
  static int MinHeight(int fontHeight, int systemFontHeight, int borderHeight);
  // Where the button goes inside an edit of this size.
  TRect ButtonBounds(bool ctl3D) const;
  // The edit's formatting rectangle, so text never runs under the buttons.
  TRect EditRect(int clientWidth, int clientHeight) const;

  TSpinButton Button;
  TNotifyEvent OnChange;
  // The locale's decimal separator, accepted by the key filter.
  char32_t DecimalSeparator = U'.';

 private:
  std::string FText = "0";
};

}  // namespace bx
