#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "binding/portable/PortableEnvironment.h"
#include "components/Spin.h"
#include "ui/Form.h"

namespace bx {
namespace {

class SpinTest : public ::testing::Test {
 protected:
  SpinTest() {
    Spin.OnChange = [this](TObject&) { Changes.push_back(Spin.Text()); };
  }
  int Beeps() { return Env.System().MessageBeepCalls; }

  TPortableEnvironment Env;
  TSpinEdit Spin{"SpinEdit"};
  std::vector<std::string> Changes;
};

TEST_F(SpinTest, EqualBoundsMeanNoBounds) {
  Spin.Increment = 10;
  EXPECT_EQ(Spin.Text(), "0");
  Spin.KeyDown(kVkUp);
  EXPECT_EQ(Spin.Value(), 10);
  Spin.SetValue(0);
  Spin.KeyDown(kVkDown);
  EXPECT_EQ(Spin.Text(), "-10");
  Spin.SetValue(5);
  Spin.KeyDown(kVkDown);
  EXPECT_EQ(Spin.Value(), -5);
  EXPECT_EQ(Changes, (std::vector<std::string>{"10", "0", "-10", "5", "-5"}));
  // Writing the value already shown changes no text and raises nothing.
  Spin.SetValue(-5);
  EXPECT_EQ(Changes.size(), 5u);
  // Stepping past the 32-bit range stops at its end.
  Spin.SetValue(2147483640);
  Spin.UpClick();
  EXPECT_EQ(Spin.Text(), "2147483647");
}

TEST_F(SpinTest, TextsThatAreNoIntegerReadAsMinimum) {
  Spin.Increment = 10;
  Spin.SetText("");
  EXPECT_EQ(Spin.Value(), 0);
  Spin.UpClick();
  EXPECT_EQ(Spin.Text(), "10");
  for (const char* text : {"-", "+", "1.5", "1-2", "+-3", "12a", " 4", "99999999999", "0x10"}) {
    Spin.SetText(text);
    EXPECT_EQ(Spin.Value(), 0) << text;
  }
  Spin.MinValue = -7;
  Spin.MaxValue = 50;
  Spin.SetText("1.5");
  EXPECT_EQ(Spin.Value(), -7);
  Spin.SetText("+42");
  EXPECT_EQ(Spin.Value(), 42);
  Spin.SetText("-2147483648");
  EXPECT_EQ(Spin.Value(), -2147483647 - 1);
}

TEST_F(SpinTest, BoundsLimitWritesAndLeavingTheEdit) {
  Spin.MaxValue = 100;
  Spin.SetValue(150);
  EXPECT_EQ(Spin.Text(), "100");
  Spin.SetValue(-5);
  EXPECT_EQ(Spin.Text(), "0");
  // A typed value beyond the bounds is limited when the edit is left.
  Spin.SetText("250");
  EXPECT_EQ(Spin.Value(), 250);
  Spin.Exit();
  EXPECT_EQ(Spin.Text(), "100");
  // Without bounds leaving changes nothing, a text that is no number included.
  Spin.MaxValue = 0;
  Spin.SetText("1-2");
  Spin.Exit();
  EXPECT_EQ(Spin.Text(), "1-2");
  Spin.SetText("-900");
  Spin.Exit();
  EXPECT_EQ(Spin.Text(), "-900");
}

TEST_F(SpinTest, ReadOnlyButtonsOnlyBeep) {
  Spin.ReadOnly = true;
  Spin.UpClick();
  Spin.DownClick();
  EXPECT_EQ(Spin.Text(), "0");
  EXPECT_EQ(Beeps(), 2);
  EXPECT_FALSE(Spin.CanPasteOrCut());
  EXPECT_FALSE(Spin.KeyDown(0x2E));
  Spin.ReadOnly = false;
  EXPECT_TRUE(Spin.CanPasteOrCut());
  EXPECT_TRUE(Spin.KeyDown(0x2E));
  Spin.EditorEnabled = false;
  EXPECT_FALSE(Spin.CanPasteOrCut());
}

TEST_F(SpinTest, KeyFilter) {
  for (char32_t ch : {U'0', U'9', U'-', U'+', U'.', char32_t(8), char32_t(3), char32_t(22)})
    EXPECT_TRUE(Spin.KeyPress(ch)) << int(ch);
  EXPECT_EQ(Beeps(), 0);
  for (char32_t ch : {U'a', U' ', U',', char32_t(13), U'\u00e9'}) EXPECT_FALSE(Spin.KeyPress(ch));
  EXPECT_EQ(Beeps(), 5);
  EXPECT_EQ(Changes.size(), 0u);
  Spin.DecimalSeparator = U',';
  EXPECT_TRUE(Spin.KeyPress(U','));
  EXPECT_FALSE(Spin.KeyPress(U'.'));

  // With the editor disabled only the clipboard shortcuts pass, silently.
  const int before = Beeps();
  Spin.EditorEnabled = false;
  EXPECT_FALSE(Spin.KeyPress(U'5'));
  EXPECT_FALSE(Spin.KeyPress(U'-'));
  EXPECT_FALSE(Spin.KeyPress(char32_t(8)));
  EXPECT_TRUE(Spin.KeyPress(char32_t(3)));
  EXPECT_EQ(Beeps(), before + 3);
  EXPECT_FALSE(Spin.KeyDown(0x2E));
  // The arrows still step.
  Spin.Increment = 3;
  EXPECT_TRUE(Spin.KeyDown(kVkUp));
  EXPECT_EQ(Spin.Text(), "3");
}

TEST_F(SpinTest, EnteringSelectsUnlessClicked) {
  EXPECT_TRUE(Spin.Enter(false));
  EXPECT_FALSE(Spin.Enter(true));
  Spin.AutoSelect = false;
  EXPECT_FALSE(Spin.Enter(false));
}

TEST_F(SpinTest, ShortClickStepsOnce) {
  int focus = 0;
  Spin.Button.OnFocusEdit = [&] { ++focus; };
  Spin.Button.Press(TSpinPart::Up, 1000);
  EXPECT_EQ(focus, 1);
  Spin.Button.Tick(1399);
  EXPECT_EQ(Spin.Text(), "0");
  Spin.Button.Release(true);
  EXPECT_EQ(Spin.Text(), "1");
  EXPECT_EQ(Spin.Button.TimerDelay(1500), 0u);
  Spin.Button.Tick(5000);
  EXPECT_EQ(Spin.Text(), "1");
  // Released elsewhere: no step at all.
  Spin.Button.Press(TSpinPart::Down, 6000);
  Spin.Button.Release(false);
  Spin.Button.Tick(7000);
  EXPECT_EQ(Spin.Text(), "1");
  EXPECT_EQ(Spin.Button.FocusedPart, TSpinPart::Down);
}

TEST_F(SpinTest, HeldButtonRepeats) {
  Spin.Increment = 10;
  Spin.Button.Press(TSpinPart::Up, 0);
  EXPECT_EQ(Spin.Button.TimerDelay(0), 400u);
  Spin.Button.Tick(399);
  EXPECT_EQ(Spin.Value(), 0);
  Spin.Button.Tick(400);
  EXPECT_EQ(Spin.Value(), 10);
  EXPECT_EQ(Spin.Button.TimerDelay(400), 100u);
  Spin.Button.Tick(499);
  EXPECT_EQ(Spin.Value(), 10);
  Spin.Button.Tick(500);
  Spin.Button.Tick(600);
  EXPECT_EQ(Spin.Value(), 30);
  // A late timer runs one repeat, not a burst of the missed ones.
  Spin.Button.Tick(1050);
  EXPECT_EQ(Spin.Value(), 40);
  EXPECT_EQ(Spin.Button.TimerDelay(1050), 100u);
  // Dragged off the button it shows up and does not repeat; back over it, it does.
  Spin.Button.MouseOver(false);
  Spin.Button.Tick(1150);
  EXPECT_EQ(Spin.Value(), 40);
  Spin.Button.MouseOver(true);
  Spin.Button.Tick(1250);
  EXPECT_EQ(Spin.Value(), 50);
  // Release over the button: one more step; the timer stops.
  Spin.Button.Release(true);
  EXPECT_EQ(Spin.Value(), 60);
  Spin.Button.Tick(2000);
  EXPECT_EQ(Spin.Value(), 60);

  // Held, then released elsewhere: the repeats only.
  Spin.Button.Press(TSpinPart::Down, 3000);
  Spin.Button.Tick(3400);
  Spin.Button.Tick(3500);
  Spin.Button.Release(false);
  EXPECT_EQ(Spin.Value(), 40);
  // Capture lost: the timer stops and the release clicks nothing.
  Spin.Button.Press(TSpinPart::Down, 4000);
  Spin.Button.CaptureLost();
  Spin.Button.Tick(4400);
  Spin.Button.Release(true);
  EXPECT_EQ(Spin.Value(), 40);
}

TEST_F(SpinTest, ErrorOfARepeatStopsTheTimer) {
  int clicks = 0;
  Spin.Button.OnUpClick = [&] {
    ++clicks;
    throw std::runtime_error("click failed");
  };
  Spin.Button.Press(TSpinPart::Up, 0);
  EXPECT_THROW(Spin.Button.Tick(400), std::runtime_error);
  EXPECT_FALSE(Spin.Button.TimerRunning());
  Spin.Button.Tick(500);
  Spin.Button.Tick(900);
  EXPECT_EQ(clicks, 1);
}

TEST_F(SpinTest, Geometry) {
  // Font height 13, system font 16, border 1: 13 + 13 div 4 + 4 + 2.
  EXPECT_EQ(TSpinEdit::MinHeight(13, 16, 1), 22);
  EXPECT_EQ(TSpinEdit::MinHeight(20, 16, 2), 20 + 4 + 8 + 2);
  Spin.SetBounds(252, 20, 53, 22);
  EXPECT_EQ(Spin.ButtonBounds(true), (TRect{33, 0, 48, 17}));
  EXPECT_EQ(Spin.ButtonBounds(false), (TRect{38, 1, 53, 20}));
  EXPECT_EQ(Spin.EditRect(49, 18), (TRect{0, 0, 32, 19}));
  Spin.Button.Width = 10;  // never narrower than 15
  EXPECT_EQ(Spin.ButtonBounds(false).Width(), 15);

  TSpinButton& b = Spin.Button;
  b.Height = 17;
  EXPECT_EQ(b.PartBounds(TSpinPart::Up), (TRect{0, 0, 15, 8}));
  EXPECT_EQ(b.PartBounds(TSpinPart::Down), (TRect{0, 7, 15, 17}));
  EXPECT_EQ(b.PartAt(5, 6), TSpinPart::Up);
  EXPECT_EQ(b.PartAt(5, 7), TSpinPart::Down);
  EXPECT_EQ(b.PartAt(5, 17), TSpinPart::None);
  EXPECT_EQ(b.PartAt(15, 2), TSpinPart::None);
  EXPECT_EQ(TSpinButton::FocusRect({0, 0, 15, 8}, false), (TRect{3, 3, 12, 5}));
  EXPECT_EQ(TSpinButton::FocusRect({0, 0, 15, 8}, true), (TRect{4, 4, 13, 6}));
}

}  // namespace
}  // namespace bx
