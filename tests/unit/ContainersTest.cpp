// Controls inside containers: bounds from a layout with a holder column,
// and the tab sequence and radio-button exclusivity counted per container.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "resources/FormLayout.h"

namespace bx {
namespace {

using K = TControlKind;

constexpr std::array kRows{
    TControlLayout{.Name = "RadioButtonLoose", .Kind = K::RadioButton, .Left = 10, .Top = 130,
                   .Width = 80, .Height = 17, .TabOrder = 0},
    TControlLayout{.Name = "PanelTop", .Kind = K::Panel, .Left = 10, .Top = 20, .Width = 200,
                   .Height = 100, .TabOrder = 1},
    TControlLayout{.Name = "RadioButtonTopA", .Kind = K::RadioButton, .Left = 5, .Top = 5,
                   .Width = 80, .Height = 17, .TabOrder = 1, .Parent = "PanelTop"},
    TControlLayout{.Name = "RadioButtonTopB", .Kind = K::RadioButton, .Left = 5, .Top = 30,
                   .Width = 80, .Height = 17, .TabOrder = 0, .Parent = "PanelTop"},
    TControlLayout{.Name = "PanelInner", .Kind = K::Panel, .Left = 100, .Top = 10, .Width = 90,
                   .Height = 50, .TabOrder = 2, .Parent = "PanelTop"},
    TControlLayout{.Name = "CheckBoxInner", .Kind = K::CheckBox, .Left = 3, .Top = 4,
                   .Width = 60, .Height = 17, .TabOrder = 0, .Parent = "PanelInner"},
    TControlLayout{.Name = "RadioButtonLoose2", .Kind = K::RadioButton, .Left = 10, .Top = 150,
                   .Width = 80, .Height = 17, .TabOrder = 2},
    TControlLayout{.Name = "RadioGroupBottom", .Kind = K::RadioGroup, .Left = 220, .Top = 20,
                   .Width = 100, .Height = 80, .TabOrder = 3},
    TControlLayout{.Name = "ButtonNoStop", .Kind = K::Button, .Left = 220, .Top = 110,
                   .Width = 75, .Height = 25},
};
constexpr TFormLayout kLayout{.Caption = "Containers", .ClientWidth = 330, .ClientHeight = 180,
                              .Controls = kRows};

class TNestedForm : public TForm {
 public:
  TRadioButton RadioButtonLoose{"RadioButtonLoose", this};
  TPanel PanelTop{"PanelTop", this};
  TRadioButton RadioButtonTopA{"RadioButtonTopA", this};
  TRadioButton RadioButtonTopB{"RadioButtonTopB", this};
  TPanel PanelInner{"PanelInner", this};
  TCheckBox CheckBoxInner{"CheckBoxInner", this};
  TRadioButton RadioButtonLoose2{"RadioButtonLoose2", this};
  TRadioGroup RadioGroupBottom{"RadioGroupBottom", this};
  TButton ButtonNoStop{"ButtonNoStop", this};

  TNestedForm() {
    ApplyLayout(kLayout, *this);
    RadioGroupBottom.SetItems({"One", "Two"});
  }
};

TEST(Containers, BoundsTabOrderAndExclusivityFollowTheHolders) {
  TNestedForm f;
  // Bounds: each holder's place added, two levels deep; the holders linked.
  EXPECT_EQ(f.RadioButtonTopA.BoundsRect(), (TRect{15, 25, 95, 42}));
  EXPECT_EQ(f.PanelInner.BoundsRect(), (TRect{110, 30, 200, 80}));
  EXPECT_EQ(f.CheckBoxInner.BoundsRect(), (TRect{113, 34, 173, 51}));
  EXPECT_EQ(f.CheckBoxInner.ParentControl(), &f.PanelInner);
  EXPECT_EQ(f.PanelInner.ParentControl(), &f.PanelTop);
  EXPECT_EQ(f.PanelTop.ParentControl(), nullptr);
  EXPECT_EQ(f.RadioButtonLoose.BoundsRect(), (TRect{10, 130, 90, 147}));
  for (const auto& button : f.RadioGroupBottom.Buttons()) {
    EXPECT_EQ(button->ParentControl(), &f.RadioGroupBottom);
    EXPECT_GT(button->Top(), f.RadioGroupBottom.Top());
    EXPECT_LE(button->BoundsRect().Bottom, f.RadioGroupBottom.BoundsRect().Bottom);
  }

  // Tab order: per container, each container entered at its own place;
  // a control without a tab order is left out.
  std::vector<std::string> order;
  for (const TControl* c : f.TabOrderList()) order.push_back(c->Name());
  EXPECT_EQ(order, (std::vector<std::string>{
                       "RadioButtonLoose", "PanelTop", "RadioButtonTopB", "RadioButtonTopA",
                       "PanelInner", "CheckBoxInner", "RadioButtonLoose2", "RadioGroupBottom",
                       "RadioGroupBottom.0", "RadioGroupBottom.1"}));

  // Exclusivity: checking a radio button unchecks only those of its own container.
  f.RadioButtonLoose.SetChecked(true);
  f.RadioButtonTopA.SetChecked(true);
  EXPECT_TRUE(f.RadioButtonLoose.Checked());
  f.RadioButtonTopB.SetChecked(true);
  EXPECT_FALSE(f.RadioButtonTopA.Checked());
  EXPECT_TRUE(f.RadioButtonLoose.Checked());
  f.RadioGroupBottom.SetItemIndex(1);
  EXPECT_TRUE(f.RadioButtonLoose.Checked());
  EXPECT_TRUE(f.RadioButtonTopB.Checked());
  f.RadioButtonLoose2.SetChecked(true);
  EXPECT_FALSE(f.RadioButtonLoose.Checked());
  EXPECT_TRUE(f.RadioGroupBottom.Buttons()[1]->Checked());
  EXPECT_EQ(f.RadioGroupBottom.ItemIndex(), 1);
  f.RadioGroupBottom.Buttons()[0]->SetChecked(true);
  EXPECT_FALSE(f.RadioGroupBottom.Buttons()[1]->Checked());
  EXPECT_EQ(f.RadioGroupBottom.ItemIndex(), 0);
  EXPECT_TRUE(f.RadioButtonLoose2.Checked());
}

// Bounds are kept in the holder's pixels: a holder that moves carries what
// it holds on the form, and the windows of all of them are told.
TEST(Containers, AMovedHolderCarriesWhatItHolds) {
  TNestedForm f;
  std::vector<std::string> told;
  for (TControl* c : f.Controls())
    c->OnStateChanged = [&told](TControl& changed) { told.push_back(changed.Name()); };
  f.PanelTop.SetBounds(40, 60, 200, 100);
  EXPECT_EQ(f.CheckBoxInner.LocalBounds(), (TRect{3, 4, 63, 21}));
  EXPECT_EQ(f.CheckBoxInner.BoundsRect(), (TRect{143, 74, 203, 91}));
  EXPECT_EQ(f.RadioButtonLoose.BoundsRect(), (TRect{10, 130, 90, 147}));
  EXPECT_EQ(told, (std::vector<std::string>{"PanelTop", "RadioButtonTopA", "RadioButtonTopB",
                                            "PanelInner", "CheckBoxInner"}));
  // A holder that only grows moves nothing it holds.
  told.clear();
  f.PanelTop.SetBounds(40, 60, 210, 100);
  EXPECT_EQ(told, (std::vector<std::string>{"PanelTop"}));
}

// A form made at 96 pixels per inch shown at 144: every edge, the client
// area and the font one and a half times, rounded away from zero, and
// back again without drift.
TEST(Containers, AFormScalesToItsWindowsPixelsPerInch) {
  TNestedForm f;
  f.FontHeight = -11;
  f.ScaleTo(144);
  EXPECT_EQ(f.PixelsPerInch(), 144);
  EXPECT_EQ(std::pair(f.ClientWidth(), f.ClientHeight()), std::pair(495, 270));
  EXPECT_EQ(f.FontHeight, -17);
  EXPECT_EQ(f.PanelTop.LocalBounds(), (TRect{15, 30, 315, 180}));
  EXPECT_EQ(f.CheckBoxInner.LocalBounds(), (TRect{5, 6, 95, 32}));
  EXPECT_EQ(f.CheckBoxInner.BoundsRect(), (TRect{170, 51, 260, 77}));
  EXPECT_EQ(f.Scaled(151), 227);
  f.ScaleTo(96);
  EXPECT_EQ(std::pair(f.ClientWidth(), f.ClientHeight()), std::pair(330, 180));
  EXPECT_EQ(f.FontHeight, -11);
  EXPECT_EQ(f.CheckBoxInner.BoundsRect(), (TRect{113, 34, 173, 51}));
}

}  // namespace
}  // namespace bx
