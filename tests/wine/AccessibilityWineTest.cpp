// The three dialogs as a screen reader reads them, through the platform's
// accessibility interfaces, and as a user sees their captions: every
// visible control is named, and no caption is wider than its control in
// the control's own font.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dialogs/about/QSAboutVersion.h"
#include "dialogs/bgcolor/BXBGColorOption.h"
#include "dialogs/main/BXMain.h"
#include "tests/wine/WineTestUtil.h"

namespace bx {
namespace {

using namespace winetest;

struct TRead {
  std::wstring Name;
  LONG Role = 0;
  std::wstring Value;
};

TRead ReadAccessible(HWND window) {
  TRead read;
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                        reinterpret_cast<void**>(&object))) ||
      !object)
    return read;
  VARIANT self;
  VariantInit(&self);
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  auto text = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    BSTR value = nullptr;
    std::wstring result;
    if ((object->*get)(self, &value) == S_OK && value) result = value;
    SysFreeString(value);
    return result;
  };
  read.Name = text(&IAccessible::get_accName);
  read.Value = text(&IAccessible::get_accValue);
  VARIANT role;
  VariantInit(&role);
  if (object->get_accRole(self, &role) == S_OK && role.vt == VT_I4) read.Role = role.lVal;
  object->Release();
  return read;
}

// The three dialogs, each in its window, the options and the about box
// owned by the main one.
class DialogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Platform().Registry && Platform().System);
    UseAppletResources();
    Application().ClearTerminate();
    Main = std::make_unique<TFrmBXMain>(0);
    Options = std::make_unique<TFrmBXBGColorOption>(Main.get());
    About = std::make_unique<TFrmQSVersionAbout>(Main.get());
    for (TForm* form : Forms()) ASSERT_TRUE(ShowFormWindow(*form)) << form->Caption();
  }
  void TearDown() override {
    for (TForm* form : {static_cast<TForm*>(About.get()), static_cast<TForm*>(Options.get()),
                        static_cast<TForm*>(Main.get())})
      FormHost().Release(*form);
    About.reset();
    Options.reset();
    Main.reset();
    Application().ClearTerminate();
    SetResourceModule(nullptr);
  }
  std::vector<TForm*> Forms() const { return {Main.get(), Options.get(), About.get()}; }
  // Each dialog alone on the screen, to look at: "main-dialog-96ppi.bmp"
  // and the like in the build folder.
  void SaveScreenshots(int ppi) {
    const char* names[] = {"main-dialog", "bgcolor-options", "about-box"};
    for (std::size_t i = 0; i < Forms().size(); ++i) {
      for (TForm* form : Forms())
        ShowWindow(reinterpret_cast<HWND>(form->Handle), form == Forms()[i] ? SW_SHOW : SW_HIDE);
      Pump(100);
      SaveBitmap(CaptureWindow(reinterpret_cast<HWND>(Forms()[i]->Handle)),
                 "..\\" + std::string(names[i]) + "-" + std::to_string(ppi) + "ppi.bmp");
    }
  }
  // The visible controls that show something: a label without text shows nothing.
  static std::vector<TControl*> Shown(const TForm& form) {
    std::vector<TControl*> shown;
    for (TControl* control : form.Controls())
      if (IsWindowVisible(FindControlWindow(form, control->Name())) &&
          !(control->Kind() == TControlKind::Label && control->Caption().empty()))
        shown.push_back(control);
    return shown;
  }

  TRecordingMessageBoxes Boxes;
  TPlatformScope Scope{Boxes};
  std::unique_ptr<TFrmBXMain> Main;
  std::unique_ptr<TFrmBXBGColorOption> Options;
  std::unique_ptr<TFrmQSVersionAbout> About;
};

TEST_F(DialogsTest, AScreenReaderNamesEveryControl) {
  for (const TForm* form : Forms())
    for (const TControl* control : Shown(*form)) {
      HWND window = FindControlWindow(*form, control->Name());
      EXPECT_FALSE(ReadAccessible(window).Name.empty()) << control->Name();
      // The spin edits' buttons are windows of their own.
      if (control->Kind() == TControlKind::SpinEdit) {
        const TRead buttons = ReadAccessible(GetWindow(window, GW_CHILD));
        EXPECT_EQ(buttons.Name, Widen(control->AccessibleName()) + L" up and down");
        EXPECT_EQ(buttons.Role, ROLE_SYSTEM_SPINBUTTON);
      }
    }

  const TRead preview = ReadAccessible(FindControlWindow(*Main, "ImageWallpaper"));
  EXPECT_EQ(preview.Name, L"Preview of the resulting wallpaper");
  EXPECT_EQ(preview.Role, ROLE_SYSTEM_GRAPHIC);
  EXPECT_EQ(preview.Value, Widen(Main->ImageWallpaper.AccessibleValue()));
  EXPECT_FALSE(preview.Value.empty());
  const TRead topLeft = ReadAccessible(FindControlWindow(*Main, "BitBtnOriginTL"));
  EXPECT_EQ(topLeft.Name, L"Top left");
  EXPECT_EQ(topLeft.Role, ROLE_SYSTEM_PUSHBUTTON);
  const TRead originX = ReadAccessible(FindControlWindow(*Main, "SpinEditOriginX"));
  EXPECT_EQ(originX.Name, L"X");
  EXPECT_EQ(originX.Value, Widen(Main->SpinEditOriginX.Text()));
  EXPECT_EQ(ReadAccessible(FindControlWindow(*Main, "ListBoxWallpapers")).Name, L"Wallpapers:");
}

// How much wider than its caption a control must be to show it whole, in
// the control's own font: the box of a check box or radio button and the
// gap after it, a push button's edges, a glyph button's glyph as well.
int CaptionRoom(HWND window, const TControl& control, int ppi) {
  auto at = [ppi](int pixels) { return (pixels * ppi + 48) / 96; };
  const std::wstring text = Widen(control.Caption());
  if (text.empty()) return 0;
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
  RECT extent{0, 0, 0, 0};
  DrawTextW(dc, text.c_str(), -1, &extent, DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  switch (control.Kind()) {
    case TControlKind::CheckBox:
    case TControlKind::RadioButton:
      return extent.right + at(13 + 4);
    case TControlKind::Button:
      return extent.right + at(6);
    case TControlKind::BitBtn:
      return extent.right + at(static_cast<const TBitBtn&>(control).Glyph.empty() ? 6 : 16 + 4 + 6);
    case TControlKind::Label:
      return static_cast<const TLabel&>(control).WordWrap ? 0 : extent.right;
    default:
      return 0;
  }
}

TEST_F(DialogsTest, EveryCaptionFitsItsControl) {
  // A caption longer than designed: its control grows into the free space
  // of its row or takes a smaller size of the face.
  Main->CheckBoxStretch.SetCaption("&Stretch all");
  Options->RadioGroupOptions.Buttons()[4]->SetCaption("Image Bottom, Left side");
  for (const TForm* form : Forms())
    for (const TControl* control : Shown(*form)) {
      HWND window = FindControlWindow(*form, control->Name());
      RECT client{};
      GetClientRect(window, &client);
      EXPECT_LE(CaptionRoom(window, *control, 96), client.right)
          << form->Caption() << ": " << control->Name();
    }
  SaveScreenshots(96);
  // Stretch grew to the next control of its row, and no further.
  const TBounds stretch = ChildBounds(FindControlWindow(*Main, "CheckBoxStretch"));
  EXPECT_GT(stretch.Width, 61);
  EXPECT_LE(stretch.Left + stretch.Width, ChildBounds(FindControlWindow(*Main, "CheckBoxShowPreviewGrid")).Left);
}

// At 144 pixels per inch: this program runs itself again with the setting,
// for the tests below.
constexpr wchar_t kScaledRun[] = L"BX_SCALED_RUN";

TEST(DisplayScaling, TheDialogsScaleAt144PixelsPerInch) {
  if (GetEnvironmentVariableW(kScaledRun, nullptr, 0)) GTEST_SKIP() << "the scaled run itself";
  const DWORD code = RunAtPixelsPerInch(144, L"DialogsAtScale.*", kScaledRun);
  EXPECT_EQ(code, 0u) << "the run at 144 pixels per inch failed";
}

class DialogsAtScale : public DialogsTest {
 protected:
  void SetUp() override {
    if (!GetEnvironmentVariableW(kScaledRun, nullptr, 0))
      GTEST_SKIP() << "run by DisplayScaling at 144 pixels per inch";
    DialogsTest::SetUp();
  }
};

TEST_F(DialogsAtScale, EveryBoundScalesAndEveryCaptionFits) {
  HDC screen = GetDC(nullptr);
  const int ppi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  ASSERT_EQ(ppi, 144) << "Wine took the per-user setting";
  // One and a half times the 96-ppi client areas (385 x 277, 289 x 261).
  const SIZE main = ClientSize(reinterpret_cast<HWND>(Main->Handle));
  EXPECT_EQ(main.cx, 578);
  EXPECT_EQ(main.cy, 416);
  const SIZE options = ClientSize(reinterpret_cast<HWND>(Options->Handle));
  EXPECT_EQ(options.cx, 434);
  EXPECT_EQ(options.cy, 392);
  // The preview's edges scaled: (4, 4) to (155, 115) become (6, 6) to (233, 173).
  EXPECT_EQ(ChildBounds(FindControlWindow(*Main, "ImageWallpaper")), (TBounds{6, 6, 227, 167}));
  for (const TForm* form : Forms())
    for (const TControl* control : Shown(*form)) {
      HWND window = FindControlWindow(*form, control->Name());
      RECT client{};
      GetClientRect(window, &client);
      EXPECT_LE(CaptionRoom(window, *control, ppi), client.right)
          << form->Caption() << ": " << control->Name();
      EXPECT_FALSE(ReadAccessible(window).Name.empty()) << control->Name();
    }
  SaveScreenshots(ppi);
}

}  // namespace
}  // namespace bx
