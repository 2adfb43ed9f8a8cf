// The main dialog's layout, creation and commands, driven through its
// control models on the portable platform.
#include <gtest/gtest.h>

#include <set>

#include "components/GifImage.h"
#include "resources/BXMainLayout.h"
#include "tests/unit/DialogFixture.h"

namespace bx {
namespace {

using BXMain = DialogFixture;

TEST_F(BXMain, ControlsFollowTheLayoutInCreationOrder) {
  TFrmBXMain& dialog = Dialog();
  const TFormLayout& layout = BXMainLayout();
  ASSERT_EQ(dialog.Controls().size(), layout.Controls.size());
  ASSERT_EQ(dialog.Controls().size(), 31u);
  std::set<std::string> names;
  for (std::size_t i = 0; i < layout.Controls.size(); ++i) {
    const TControlLayout& entry = layout.Controls[i];
    const TControl& control = *dialog.Controls()[i];
    SCOPED_TRACE(control.Name());
    names.insert(control.Name());
    EXPECT_EQ(control.Name(), entry.Name);
    EXPECT_EQ(control.Kind(), entry.Kind);
    EXPECT_EQ(control.Parent(), &dialog);
    EXPECT_EQ(control.Caption(), entry.Caption);
    EXPECT_EQ(control.BoundsRect(), (TRect{entry.Left, entry.Top, entry.Left + entry.Width,
                                           entry.Top + entry.Height}));
    EXPECT_EQ(control.TabOrder(), entry.TabOrder);
    EXPECT_EQ(control.HelpContext(), entry.HelpContext);
    EXPECT_EQ(control.Hint(), entry.Hint);
    EXPECT_EQ(control.Tag(), entry.Tag);
    EXPECT_EQ(control.Cursor(), entry.Cursor);
  }
  EXPECT_EQ(names.size(), 31u);
  // Tab orders 0 to 25 without 24, each once.
  std::set<int> tabs;
  for (const TControl* c : dialog.Controls())
    if (c->TabOrder() >= 0) EXPECT_TRUE(tabs.insert(c->TabOrder()).second) << c->Name();
  EXPECT_EQ(tabs.size(), 25u);
  EXPECT_EQ(*tabs.rbegin(), 25);
  EXPECT_EQ(tabs.count(24), 0u);
}

TEST_F(BXMain, DesignedPropertiesOfWindowAndControls) {
  System().SetSysColor(kColorBtnFace, MakeColor(1, 2, 3));
  TFrmBXMain& d = Dialog();
  EXPECT_EQ(d.Caption(), "Control Panel - Bexora");
  EXPECT_EQ(d.ClientWidth(), 385);
  EXPECT_EQ(d.ClientHeight(), 277);
  EXPECT_EQ(d.Width(), 393);
  EXPECT_EQ(d.Height(), 304);
  EXPECT_EQ(d.FontName, "MS Sans Serif");
  EXPECT_EQ(d.FontHeight, -11);
  EXPECT_TRUE(d.KeyPreview);
  EXPECT_EQ(d.BorderStyle(), TBorderStyle::bsDialog);
  EXPECT_EQ(d.Color(), System().GetSysColor(kColorBtnFace));

  EXPECT_EQ(d.RadioButtonTile.Hint(), "Fill the desktoptop with the selected image");
  EXPECT_EQ(d.SpinEditOriginY.Hint(), d.SpinEditOriginX.Hint());
  EXPECT_EQ(d.SpinEditOriginY.HelpContext(), 6);
  EXPECT_EQ(d.BitBtnOriginTL.HelpContext(), 6);
  EXPECT_EQ(d.BitBtnOriginC.Tag(), 5);
  EXPECT_EQ(d.BitBtnOriginBR.Glyph, "ORIGINBR");
  EXPECT_EQ(d.BitBtnOk.Glyph, "OK");
  EXPECT_EQ(d.BitBtnOk.NumGlyphs, 2);
  EXPECT_EQ(d.BitBtnApply.Glyph, "APPLY");
  EXPECT_EQ(d.BitBtnCancel.NumGlyphs, 2);
  EXPECT_EQ(d.BitBtnBackGroundColor.Glyph, "BGCOLOR");
  EXPECT_TRUE(d.BitBtnOk.Default);
  EXPECT_FALSE(d.BitBtnOk.Cancel);
  EXPECT_TRUE(d.BitBtnCancel.Cancel);
  EXPECT_FALSE(d.BitBtnApply.Default);
  for (const TControl* c : d.Controls())
    if (c->Kind() == TControlKind::BitBtn) EXPECT_EQ(c->Cursor(), TCursor::crHandPoint);
  EXPECT_EQ(d.BitBtnSelectImage.Cursor(), TCursor::crHandPoint);
  EXPECT_EQ(d.BitBtnSetFolder.Cursor(), TCursor::crHandPoint);
  EXPECT_EQ(d.BitBtnTogglePreview.Cursor(), TCursor::crHandPoint);
  EXPECT_EQ(d.BitBtnToggleAutoProof.Cursor(), TCursor::crDefault);
  EXPECT_EQ(d.ImageWallpaper.Cursor(), TCursor::crCross);
  EXPECT_EQ(d.LabelOrigin.FocusControl, &d.BitBtnOriginTL);
  EXPECT_EQ(d.LabelOriginX.FocusControl, &d.SpinEditOriginX);
  EXPECT_EQ(d.LabelOriginY.FocusControl, &d.SpinEditOriginY);
  EXPECT_EQ(d.LabelImages.FocusControl, &d.ListBoxWallpapers);
  EXPECT_EQ(d.LabelDisplay.FocusControl, nullptr);
  EXPECT_TRUE(d.ListBoxWallpapers.OwnerDraw);
  EXPECT_TRUE(d.ListBoxWallpapers.Sorted);
  EXPECT_EQ(d.ListBoxWallpapers.ItemHeight, 13);
  EXPECT_EQ(d.SpinEditOriginX.Increment, 10);
  EXPECT_EQ(d.SpinEditOriginY.Increment, 10);
  EXPECT_EQ(d.SpinEditOriginX.MinValue, d.SpinEditOriginX.MaxValue);
  EXPECT_EQ(d.RadioButtonTile.Group, d.RadioButtonCenter.Group);
  EXPECT_TRUE(d.RadioButtonCenter.Checked());
  EXPECT_FALSE(d.RadioButtonTile.Checked());

  ASSERT_EQ(d.SystemMenuItems().size(), 3u);
  EXPECT_EQ(d.SystemMenuItems()[0].Id, 666u);
  EXPECT_EQ(d.SystemMenuItems()[0].Text, "&About ...\tShift+F1");
  EXPECT_EQ(d.SystemMenuItems()[1].Id, 667u);
  EXPECT_EQ(d.SystemMenuItems()[1].Text, "&Toggle hints\tCtrl+F1");
  EXPECT_EQ(d.SystemMenuItems()[2].Id, 668u);
  EXPECT_EQ(d.SystemMenuItems()[2].Text, "C&lear registry ...");
  ASSERT_NE(d.FPatternBitmap, nullptr);
  EXPECT_EQ(d.FPatternBitmap->Width(), 8);
  ASSERT_NE(d.FImageBitmap, nullptr);
  EXPECT_TRUE(MessageTexts().empty());
}

TEST(BXMainUnit, GifImagesAreNeverAnimated) {
  const TGIFImage gif;
  EXPECT_EQ(gif.DrawOptions() & goAnimate, 0u);
  EXPECT_EQ(gif.DrawOptions(), TGIFDrawOptions{goTransparent | goDither});
}

TEST_F(BXMain, EnablingOfOkAndApply) {
  // Stored settings whose loading runs the controls' reactions.
  SetDesktop("TileWallpaper", "1");
  SetDesktop("WallpaperStyle", "2");
  SetDesktop("WallPaperOriginX", "40");
  SetOwn("WallpaperSaveToDefUser", 1);
  SetOwn("ShowPreviewGrid", 1);
  TFrmBXMain& d = Dialog();
  ASSERT_TRUE(d.RadioButtonTile.Checked());
  EXPECT_FALSE(d.BitBtnOk.Enabled());
  EXPECT_FALSE(d.BitBtnApply.Enabled());
  EXPECT_TRUE(d.BitBtnCancel.Visible());
  EXPECT_FALSE(d.FAutoProof);

  d.CheckBoxSaveToDefUser.SetChecked(false);
  EXPECT_FALSE(d.FSaveToDefUser);
  d.CheckBoxShowPreviewGrid.SetChecked(false);
  EXPECT_FALSE(d.BitBtnOk.Enabled());
  EXPECT_FALSE(d.BitBtnApply.Enabled());
  EXPECT_TRUE(System().SysParamCalls.empty());

  d.RadioButtonCenter.SetChecked(true);
  EXPECT_TRUE(d.BitBtnOk.Enabled());
  EXPECT_TRUE(d.BitBtnApply.Enabled());

  d.BitBtnApply.Click();
  EXPECT_TRUE(d.BitBtnOk.Enabled());
  EXPECT_FALSE(d.BitBtnApply.Enabled());
  EXPECT_EQ(System().SysParamCalls.size(), 1u);
  EXPECT_FALSE(Application().Terminated());
  EXPECT_EQ(Desktop("TileWallpaper"), "0");
  EXPECT_EQ(Desktop("WallpaperStyle"), "2");

  d.CheckBoxSaveToDefUser.SetChecked(true);
  EXPECT_FALSE(d.BitBtnApply.Enabled());
  d.CheckBoxStretch.SetChecked(false);
  EXPECT_TRUE(d.BitBtnApply.Enabled());
  EXPECT_TRUE(d.BitBtnOk.Enabled());
}

TEST_F(BXMain, OkAppliesAndEndsCancelEndsWithoutApplying) {
  TFrmBXMain& d = Dialog();
  d.BitBtnCancel.Click();
  EXPECT_TRUE(Application().Terminated());
  EXPECT_TRUE(System().SysParamCalls.empty());
  EXPECT_FALSE(Desktop("TileWallpaper").has_value());

  Application().ClearTerminate();
  d.RadioButtonTile.SetChecked(true);
  d.BitBtnOk.Click();
  EXPECT_TRUE(Application().Terminated());
  EXPECT_EQ(Desktop("TileWallpaper"), "1");
  EXPECT_EQ(System().SysParamCalls.size(), 1u);
}

TEST_F(BXMain, FailedApplyKeepsTheDialogOpen) {
  TFrmBXMain& d = Dialog();
  d.RadioButtonTile.SetChecked(true);
  Registry().SetFailSetValue(kHKeyCurrentUser, kDesktopKey);
  d.Dispatch([&] { d.BitBtnOk.Click(); });
  EXPECT_FALSE(Application().Terminated());
  d.Dispatch([&] { d.BitBtnApply.Click(); });
  EXPECT_TRUE(d.BitBtnApply.Enabled());
  ASSERT_EQ(MessageTexts().size(), 2u);
  EXPECT_EQ(MessageTexts()[0], "Failed to set data for 'Wallpaper'");
  EXPECT_TRUE(System().SysParamCalls.empty());
}

TEST_F(BXMain, AutoProofHidesCancelAndAppliesOnEachToggle) {
  TFrmBXMain& d = Dialog();
  int previewToggles = 0;
  d.BitBtnTogglePreview.OnClick = [&](TObject&) { ++previewToggles; };

  d.BitBtnToggleAutoProof.Click();
  EXPECT_TRUE(d.FAutoProof);
  EXPECT_FALSE(d.BitBtnCancel.Visible());
  EXPECT_EQ(System().SysParamCalls.size(), 1u);
  EXPECT_EQ(previewToggles, 0);
  EXPECT_FALSE(d.BitBtnOk.Enabled());

  // While auto proof is on, a change applies at once.
  d.RadioButtonTile.SetChecked(true);
  EXPECT_EQ(Desktop("TileWallpaper"), "1");
  const std::size_t applied = System().SysParamCalls.size();
  EXPECT_GE(applied, 2u);

  // Wider than the normal form: the full-screen preview is left first.
  d.SetBounds(0, 0, 1024, 768);
  d.BitBtnToggleAutoProof.Click();
  EXPECT_FALSE(d.FAutoProof);
  EXPECT_TRUE(d.BitBtnCancel.Visible());
  EXPECT_EQ(previewToggles, 1);
  EXPECT_EQ(System().SysParamCalls.size(), applied + 1);
}

TEST_F(BXMain, ToggleHintsStoresAtOnceAndSurvivesCancel) {
  TFrmBXMain& d = Dialog();
  ASSERT_FALSE(d.ShowHint());
  int key = kVkF1;
  d.KeyDown(key, ssCtrl);
  EXPECT_EQ(key, 0);
  EXPECT_TRUE(d.ShowHint());
  EXPECT_TRUE(Application().ShowHint);
  EXPECT_EQ(Own("ShowHint"), 1u);

  d.SysCommand(667);
  EXPECT_FALSE(d.ShowHint());
  EXPECT_FALSE(Application().ShowHint);
  EXPECT_EQ(Own("ShowHint"), 0u);
  EXPECT_FALSE(d.BitBtnOk.Enabled());
  EXPECT_FALSE(d.BitBtnApply.Enabled());

  d.SysCommand(667);
  d.BitBtnCancel.Click();
  EXPECT_EQ(Own("ShowHint"), 1u);
  Form.reset();
  Application().ShowHint = false;
  EXPECT_TRUE(Dialog().ShowHint());
  EXPECT_TRUE(Application().ShowHint);
  EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(BXMain, OnlyShiftOrCtrlAloneWithF1AreCommands) {
  TFrmBXMain& d = Dialog();
  for (TShiftState shift : {TShiftState{0}, TShiftState{ssAlt}, TShiftState{ssShift | ssCtrl},
                            TShiftState{ssShift | ssLeft}, TShiftState{ssCtrl | ssAlt}}) {
    int key = kVkF1;
    d.KeyDown(key, shift);
    EXPECT_EQ(key, kVkF1) << shift;
  }
  int other = 'A';
  d.KeyDown(other, ssShift);
  EXPECT_EQ(other, 'A');
  EXPECT_TRUE(MessageTexts().empty());
  EXPECT_FALSE(d.ShowHint());
  EXPECT_FALSE(Own("ShowHint").has_value());

  int key = kVkF1;
  d.KeyDown(key, ssShift);
  EXPECT_EQ(key, 0);
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_EQ(MessageTexts()[0], "There are no version information to display!");
  EXPECT_EQ(MessageBoxes().Messages[0].Type, TMsgDlgType::mtInformation);
  EXPECT_EQ(MessageBoxes().Messages[0].Buttons, TMsgDlgButtons{TMsgDlgBtn::mbOK});

  d.SysCommand(666);
  EXPECT_EQ(MessageTexts().size(), 2u);
  // Neighbouring and masked identifiers are no commands of the dialog.
  for (unsigned id : {665u, 669u, 0x290u, 0xF060u}) d.SysCommand(id);
  EXPECT_EQ(MessageTexts().size(), 2u);
  EXPECT_FALSE(d.ShowHint());

  bool callHelp = true;
  EXPECT_TRUE(d.Help(1, 5, callHelp));
  EXPECT_FALSE(callHelp);
}

TEST_F(BXMain, AboutTakesTheModuleFromTheSecondParameter) {
  Files().WriteTextFile("C:\\Apps\\Bexora.cpl", "module");
  Files().WriteTextFile("C:\\x\\a,b", "module");
  Files().CreateDirectory("C:\\Folder.cpl");
  TFrmBXMain& d = Dialog();
  struct Case {
    std::vector<std::string> args;
    std::string shown;  // empty: the message
  };
  const Case cases[] = {
      {{"rundll32.exe", "shell32.dll,Control_RunDLL", "C:\\Apps\\Bexora.cpl,Bexora"},
       "C:\\Apps\\Bexora.cpl"},
      {{"control.exe", "x", "C:\\x\\a,b,c"}, "C:\\x\\a,b"},
      {{"control.exe", "x", "C:\\Apps\\Bexora.cpl"}, ""},
      {{"control.exe", "x", "C:\\Missing.cpl,Bexora"}, ""},
      {{"control.exe", "x", "C:\\Folder.cpl,Bexora"}, ""},
      {{"control.exe", "C:\\Apps\\Bexora.cpl,Bexora"}, ""},
      {{}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.back());
    System().Args = c.args;
    AboutRequests.clear();
    MessageBoxes().Messages.clear();
    d.SysCommand(666);
    if (c.shown.empty()) {
      EXPECT_TRUE(AboutRequests.empty());
      EXPECT_EQ(MessageTexts(),
                std::vector<std::string>{"There are no version information to display!"});
    } else {
      ASSERT_EQ(AboutRequests.size(), 1u);
      EXPECT_EQ(AboutRequests[0].FileName, c.shown);
      EXPECT_EQ(AboutRequests[0].Owner, &d);
      EXPECT_EQ(AboutRequests[0].ExtraCaptions, std::vector<std::string>{"=(unknown)"});
      EXPECT_TRUE(AboutRequests[0].English);
      EXPECT_TRUE(MessageTexts().empty());
    }
  }
}

TEST_F(BXMain, ApplicationDataFolders) {
  struct Case {
    std::optional<std::string> stored;
    std::string folder;
  };
  const Case cases[] = {
      {"C:\\Data", "C:\\Data\\"},
      {"C:\\Data\\", "C:\\Data\\"},
      {std::nullopt, kWindows},
      // Empty, the converted file would land in the host's current folder.
      {"", kWindows},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored.value_or("(missing)"));
    Form.reset();
    for (auto [root, key] : {std::pair{kHKeyCurrentUser, kShellFoldersKey},
                             std::pair{kHKeyUsers, kDefaultUserShellFoldersKey}}) {
      if (c.stored)
        Registry().SetStringValue(root, key, "AppData", *c.stored);
      else
        RemoveValue(root, key, "AppData");
    }
    TFrmBXMain& d = Dialog();
    EXPECT_EQ(d.FAppDataFolder, c.folder);
    EXPECT_EQ(d.FDefaultUserAppDataFolder, c.folder);
  }
  EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(BXMain, UnreadableFolderValueIsShownAndTheDialogStillWorks) {
  Registry().SetDwordValue(kHKeyCurrentUser, kShellFoldersKey, "AppData", 7);
  SetDesktop("TileWallpaper", "1");
  TFrmBXMain& d = Dialog();
  EXPECT_EQ(MessageTexts(), std::vector<std::string>{"Invalid data type for 'AppData'"});
  EXPECT_EQ(d.FAppDataFolder, kWindows);
  EXPECT_EQ(d.FDefaultUserAppDataFolder, kDefaultAppData);
  EXPECT_EQ(d.SystemMenuItems().size(), 3u);
  ASSERT_NE(d.FImageBitmap, nullptr);
  EXPECT_TRUE(d.RadioButtonTile.Checked());
  EXPECT_FALSE(d.BitBtnOk.Enabled());
}

}  // namespace
}  // namespace bx
