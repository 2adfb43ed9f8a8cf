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
  // Mouse capture lost (another window took it): the timer stops.
  void CaptureLost();
  // Runs the repeats that are due at nowMs while the part is held. An error
  // of a click stops the timer and is passed on.
  void Tick(std::uint64_t nowMs);
  // Milliseconds until the next repeat, 0 when none is due (no timer).
  std::uint64_t TimerDelay(std::uint64_t nowMs) const;
  TSpinPart Pressed() const { return FPressed; }
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
  bool FTimerRunning = false;
  std::uint64_t FNextRepeat = 0;
};

class TSpinEdit : public TControl {
 public:
  explicit TSpinEdit(std::string name);

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

  // A key pressed in the edit (virtual-key code): the arrows step.
  void KeyDown(int key);
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
