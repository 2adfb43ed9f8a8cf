// The background colour options dialog through its control models: its
// layout, the control rules and texts of each option, what OK and Cancel
// hand back, the palette, and the main dialog's "Background color" button.
#include <gtest/gtest.h>

#include <map>

#include "dialogs/bgcolor/BXBGColorOption.h"
#include "tests/unit/PreviewFixture.h"

namespace bx {
namespace {

constexpr TColor kCallerColor = MakeColor(1, 2, 3);
constexpr TColor kPicked = MakeColor(200, 100, 50);

class BGColorOption : public PreviewFixture {
 protected:
  struct TResult {
    std::uint8_t Option;
    TColor Color;
    TPoint Position;
    bool Returned;
  };
  // Opens the dialog with the values and lets `user` act on it while it runs.
  TResult Run(std::uint8_t option, TPoint position,
              const std::function<void(TFrmBXBGColorOption&)>& user) {
    Env.FormHost().OnShowModal = [&](TForm& form) {
      user(static_cast<TFrmBXBGColorOption&>(form));
    };
    TResult r{option, kCallerColor, position, false};
    r.Returned = ShowBGColorOptions(&Dialog(), r.Option, r.Color, r.Position);
    Env.FormHost().OnShowModal = nullptr;
    return r;
  }
  TScriptedDialogs& Picker() { return Env.Dialogs(); }
};

TEST_F(BGColorOption, LayoutAtItsPixels) {
  TFrmBXBGColorOption d(&Dialog());
  EXPECT_EQ(d.Caption(), "Background color options");
  EXPECT_EQ(d.ClientWidth(), 289);
  EXPECT_EQ(d.ClientHeight(), 261);
  EXPECT_EQ(d.BorderStyle(), TBorderStyle::bsDialog);
  EXPECT_TRUE(d.Centered);
  EXPECT_EQ(d.OwnerForm, &Dialog());
  // In the form's client pixels: the panels' places added to their controls'.
  const std::map<std::string, TRect> bounds = {
      {"PanelClient", {4, 4, 285, 221}},
      {"RadioGroupOptions", {12, 12, 149, 213}},
      {"BitBtnBackGroundColor", {156, 20, 277, 45}},
      {"LabelInfo", {156, 48, 277, 165}},
      {"SpinEditPositionX", {224, 168, 277, 190}},
      {"SpinEditPositionY", {224, 192, 277, 214}},
      {"PanelBottom", {4, 224, 285, 257}},
      {"BitBtnOk", {128, 228, 203, 253}},
      {"BitBtnCancel", {204, 228, 279, 253}},
  };
  for (const auto& [name, rect] : bounds) {
    ASSERT_NE(d.FindControl(name), nullptr) << name;
    EXPECT_EQ(d.FindControl(name)->BoundsRect(), rect) << name;
  }
  EXPECT_EQ(d.LabelPositionX.Left(), 212);
  EXPECT_EQ(d.LabelPositionY.Top(), 196);
  EXPECT_EQ(d.RadioGroupOptions.Caption(), " Get color from  ");
  EXPECT_EQ(d.RadioGroupOptions.Items(),
            (std::vector<std::string>{"Palette (Default)", "Image Center", "Image Top, Left",
                                      "Image Top, Right", "Image Bottom, Left",
                                      "Image Bottom, Right", "Image Left, Center",
                                      "Image Right, Center", "Image Top, Center",
                                      "Image Bottom, Center", "Specific position"}));
  // The item buttons lie inside the group, one per row, below its caption.
  const TRect group = d.RadioGroupOptions.BoundsRect();
  int lastTop = group.Top;
  for (const auto& button : d.RadioGroupOptions.Buttons()) {
    EXPECT_EQ(button->Parent(), &d);
    EXPECT_GT(button->Top(), lastTop);
    EXPECT_LE(button->BoundsRect().Bottom, group.Bottom);
    EXPECT_GT(button->Left(), group.Left);
    lastTop = button->Top();
  }
  EXPECT_EQ(d.RadioGroupOptions.ItemIndex(), -1);
  EXPECT_EQ(d.LabelInfo.Caption(), "Select an option");
  EXPECT_TRUE(d.LabelInfo.WordWrap);
  EXPECT_EQ(d.BitBtnBackGroundColor.Caption(), "Select color");
  EXPECT_EQ(d.LabelPositionX.FocusControl, &d.SpinEditPositionX);
  EXPECT_EQ(d.LabelPositionY.FocusControl, &d.SpinEditPositionY);
  EXPECT_EQ(d.SpinEditPositionX.Increment, 10);
  EXPECT_EQ(d.SpinEditPositionY.MinValue, d.SpinEditPositionY.MaxValue);
  EXPECT_EQ(d.PanelBottom.BevelOuter, TPanelBevel::bvLowered);
  for (TControl* c : std::initializer_list<TControl*>{&d.BitBtnOk, &d.BitBtnBackGroundColor,
                                                      &d.LabelPositionX, &d.SpinEditPositionX,
                                                      &d.LabelPositionY, &d.SpinEditPositionY})
    EXPECT_FALSE(c->Enabled()) << c->Name();
  EXPECT_TRUE(d.BitBtnCancel.Enabled());
  EXPECT_TRUE(d.BitBtnOk.Default);
  EXPECT_TRUE(d.BitBtnCancel.Cancel);
  EXPECT_EQ(d.BitBtnOk.Cursor(), TCursor::crHandPoint);
  // Radio group, X, Y, "Select color", OK, Cancel.
  EXPECT_LT(d.RadioGroupOptions.Buttons()[10]->TabOrder(), d.SpinEditPositionX.TabOrder());
  EXPECT_LT(d.SpinEditPositionX.TabOrder(), d.SpinEditPositionY.TabOrder());
  EXPECT_LT(d.SpinEditPositionY.TabOrder(), d.BitBtnBackGroundColor.TabOrder());
  EXPECT_LT(d.BitBtnBackGroundColor.TabOrder(), d.BitBtnOk.TabOrder());
  EXPECT_LT(d.BitBtnOk.TabOrder(), d.BitBtnCancel.TabOrder());
}

TEST_F(BGColorOption, EachOptionSetsItsControlsAndText) {
  TFrmBXBGColorOption d(&Dialog());
  const std::string texts[] = {
      "Select the color from the palette by pressing the \"Select color\" button.",
      "The background color will be taken from the center of the image (Width/2, Height/2).",
      "The background color will be taken from the top left corner of the image (Left+5, "
      "Top+5).",
      "The background color will be taken from the top right corner of the image (Right-5, "
      "Top+5).",
      "The background color will be taken from the bottom left corner of the image (Left+5, "
      "Bottom-5).",
      "The background color will be taken from the bottom right corner of the image (Right-5, "
      "Bottom-5).",
      "The background color will be taken from the center of the left of the image (Left+5, "
      "Height/2).",
      "The background color will be taken from the center of the right of the image (Right-5, "
      "Height/2).",
      "The background color will be taken from the center of the top of the image (Width/2, "
      "Top+5).",
      "The background color will be taken from the center of the bottom of the image "
      "(Width/2, Bottom-5).",
      "The background color will be taken from the coordinates specified below in the image "
      "(X, Y)\rThe values are truncated if they exceeds the image boundaries.",
  };
  for (int k = 0; k <= 10; ++k) {
    SCOPED_TRACE(k);
    // As the user's click on the item.
    d.RadioGroupOptions.Buttons()[k]->SetChecked(true);
    EXPECT_EQ(d.RadioGroupOptions.ItemIndex(), k);
    EXPECT_EQ(d.LabelInfo.Caption(), texts[k]);
    EXPECT_TRUE(d.BitBtnOk.Enabled());
    EXPECT_EQ(d.BitBtnBackGroundColor.Enabled(), k == 0);
    for (TControl* c : std::initializer_list<TControl*>{&d.LabelPositionX, &d.SpinEditPositionX,
                                                        &d.LabelPositionY, &d.SpinEditPositionY})
      EXPECT_EQ(c->Enabled(), k == 10) << c->Name();
    for (int other = 0; other <= 10; ++other)
      EXPECT_EQ(d.RadioGroupOptions.Buttons()[other]->Checked(), other == k);
  }
  // The palette's text follows the button's caption.
  d.BitBtnBackGroundColor.SetCaption("Palette");
  d.RadioGroupOptions.SetItemIndex(0);
  EXPECT_EQ(d.LabelInfo.Caption(),
            "Select the color from the palette by pressing the \"Palette\" button.");
  d.RadioGroupOptions.SetItemIndex(-1);
  EXPECT_EQ(d.LabelInfo.Caption(), "Select an option.");
  EXPECT_FALSE(d.BitBtnOk.Enabled());
}

TEST_F(BGColorOption, OpeningShowsTheCallersOption) {
  bool seen = false;
  TResult r = Run(3, {7, 8}, [&](TFrmBXBGColorOption& d) {
    seen = true;
    EXPECT_EQ(d.OwnerForm, &Dialog());
    EXPECT_TRUE(d.RadioGroupOptions.Buttons()[3]->Checked());
    EXPECT_TRUE(d.BitBtnOk.Enabled());
    EXPECT_FALSE(d.BitBtnBackGroundColor.Enabled());
    EXPECT_FALSE(d.SpinEditPositionX.Enabled());
    EXPECT_EQ(d.SpinEditPositionX.Value(), 7);
    EXPECT_EQ(d.SpinEditPositionY.Value(), 8);
    EXPECT_EQ(d.FColor, kCallerColor);
    d.RadioGroupOptions.SetItemIndex(5);
    d.BitBtnCancel.Click();
    EXPECT_EQ(d.ModalResult, mrCancel);
  });
  EXPECT_TRUE(seen);
  // Cancel: everything as it went in, and still true.
  EXPECT_TRUE(r.Returned);
  EXPECT_EQ(r.Option, 3);
  EXPECT_EQ(r.Position, (TPoint{7, 8}));
  EXPECT_EQ(Env.FormHost().Calls.back().Kind, TFormHostCall::Release);

  Run(0, {}, [&](TFrmBXBGColorOption& d) {
    EXPECT_TRUE(d.BitBtnBackGroundColor.Enabled());
    EXPECT_TRUE(d.BitBtnOk.Enabled());
    EXPECT_FALSE(d.LabelPositionY.Enabled());
    EXPECT_EQ(d.LabelInfo.Caption(),
              "Select the color from the palette by pressing the \"Select color\" button.");
  });
  // A stored option above 10 opens with "Specific position".
  r = Run(200, {-4, 5}, [&](TFrmBXBGColorOption& d) {
    EXPECT_EQ(d.RadioGroupOptions.ItemIndex(), 10);
    EXPECT_EQ(d.SpinEditPositionX.Value(), -4);
    EXPECT_TRUE(d.SpinEditPositionX.Enabled());
    d.ModalResult = mrCancel;  // the close box
  });
  EXPECT_EQ(r.Option, 200);
  EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(BGColorOption, OkReturnsWhatTheChosenOptionUses) {
  // Specific position: negative coordinates come back as 0, no upper limit.
  TResult r = Run(2, {7, 8}, [](TFrmBXBGColorOption& d) {
    d.RadioGroupOptions.Buttons()[10]->SetChecked(true);
    d.SpinEditPositionX.SetValue(-20);
    d.SpinEditPositionY.SetValue(30);
    d.BitBtnOk.Click();
  });
  EXPECT_EQ(r.Option, 10);
  EXPECT_EQ(r.Position, (TPoint{0, 30}));
  EXPECT_EQ(r.Color, kCallerColor);
  r = Run(10, {}, [](TFrmBXBGColorOption& d) {
    d.SpinEditPositionX.SetText("abc");
    d.SpinEditPositionY.SetValue(2147483647);
    d.BitBtnOk.Click();
  });
  EXPECT_EQ(r.Position, (TPoint{0, 2147483647}));

  // Option 4 changes only the option.
  r = Run(10, {7, 8}, [](TFrmBXBGColorOption& d) {
    d.RadioGroupOptions.SetItemIndex(4);
    d.SpinEditPositionX.SetValue(99);
    d.BitBtnOk.Click();
  });
  EXPECT_EQ(r.Option, 4);
  EXPECT_EQ(r.Position, (TPoint{7, 8}));
  EXPECT_EQ(r.Color, kCallerColor);
}

TEST_F(BGColorOption, ThePaletteColourComesBackOnlyWithThePalette) {
  Picker().ColorAnswers = {kPicked, kPicked, std::nullopt};
  constexpr std::uintptr_t kWindow = 0xB0C0;
  TResult r = Run(0, {}, [](TFrmBXBGColorOption& d) {
    d.Handle = kWindow;
    d.BitBtnBackGroundColor.Click();
    EXPECT_EQ(d.FColor, kPicked);
    d.RadioGroupOptions.SetItemIndex(1);
    d.BitBtnOk.Click();
  });
  EXPECT_EQ(r.Option, 1);
  EXPECT_EQ(r.Color, kCallerColor);
  ASSERT_EQ(Picker().ColorRequests.size(), 1u);
  EXPECT_EQ(Picker().ColorRequests[0].Color, kCallerColor);
  EXPECT_TRUE(Picker().ColorRequests[0].FullOpen);
  // The palette is modal over the options dialog.
  EXPECT_EQ(Picker().ColorRequests[0].Owner, kWindow);

  r = Run(0, {}, [](TFrmBXBGColorOption& d) {
    d.BitBtnBackGroundColor.Click();
    // Cancelled: the working colour stays.
    d.BitBtnBackGroundColor.Click();
    EXPECT_EQ(d.FColor, kPicked);
    d.BitBtnOk.Click();
  });
  EXPECT_EQ(r.Color, kPicked);
  EXPECT_EQ(Picker().ColorRequests.back().Color, kPicked);

  // Picked and then cancelled: nothing comes back.
  Picker().ColorAnswers = {MakeColor(9, 9, 9)};
  r = Run(0, {}, [](TFrmBXBGColorOption& d) {
    d.BitBtnBackGroundColor.Click();
    d.BitBtnCancel.Click();
  });
  EXPECT_EQ(r.Color, kCallerColor);
}

TEST_F(BGColorOption, MainDialogsButtonRedrawsAndEnablesAfterOkAndCancel) {
  SetColors("Background", "1 2 3");
  StoreWallpaper(WriteImage("logo.bmp", 101, 51));
  TFrmBXMain& main = Dialog();
  ASSERT_FALSE(main.BitBtnOk.Enabled());
  Env.FormHost().OnShowModal = [](TForm& form) {
    auto& d = static_cast<TFrmBXBGColorOption&>(form);
    d.RadioGroupOptions.SetItemIndex(1);
    d.BitBtnOk.Click();
  };
  main.BitBtnBackGroundColor.Click();
  EXPECT_EQ(main.FBGColorOption, 1);
  EXPECT_EQ(main.FBackgroundColor, Coded(50, 25));
  EXPECT_EQ(At(0, 0), Coded(50, 25));
  EXPECT_EQ(main.FPatternBitmap->GetPixel(0, 0), Coded(50, 25));
  EXPECT_TRUE(main.BitBtnOk.Enabled());
  EXPECT_TRUE(main.BitBtnApply.Enabled());

  // Cancel: the values stay, and still the preview is drawn and Apply enabled.
  main.BitBtnApply.Click();
  ASSERT_FALSE(main.BitBtnApply.Enabled());
  Env.FormHost().OnShowModal = [](TForm& form) {
    auto& d = static_cast<TFrmBXBGColorOption&>(form);
    d.RadioGroupOptions.SetItemIndex(0);
    d.BitBtnCancel.Click();
  };
  main.BitBtnBackGroundColor.Click();
  EXPECT_EQ(main.FBGColorOption, 1);
  EXPECT_TRUE(main.BitBtnApply.Enabled());
  EXPECT_EQ(Env.FormHost().ShowModalCount(), 2);
  EXPECT_TRUE(MessageTexts().empty());
}

}  // namespace
}  // namespace bx
