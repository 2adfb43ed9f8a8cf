// The background colour options dialog in its real window under Wine:
// opened from the main dialog's real button, its pixels, "Image Center"
// with OK and then Apply making the image's centre the desktop colour, and
// the palette as the platform's colour dialog. Leaves a screenshot in build/.
#include <gtest/gtest.h>

#include "dialogs/main/BXMain.h"
#include "settings/RegSpecial.h"
#include "settings/SettingsModel.h"
#include "tests/wine/ThreadWindows.h"
#include "tests/wine/WineTestUtil.h"

#include <map>
#include <memory>

namespace bx {
namespace {

using namespace winetest;
using wine::ChildrenOfClass;
using wine::FindShownWindow;
using wine::WhileShown;
using wine::WindowText;

constexpr const char* kDesktop = "Control Panel\\Desktop";
constexpr const char* kColors = "Control Panel\\Colors";
constexpr int kWidth = 64, kHeight = 48;

COLORREF PixelOf(int x, int y) { return RGB(x * 3, y * 5, 77); }

// A 24-bit bottom-up BMP of kWidth x kHeight pixels.
std::vector<std::uint8_t> TestBitmap() {
  const int stride = (kWidth * 3 + 3) & ~3;
  std::vector<std::uint8_t> b(54 + static_cast<std::size_t>(stride) * kHeight, 0);
  auto put32 = [&b](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, static_cast<std::uint32_t>(b.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, kWidth);
  put32(22, kHeight);
  b[26] = 1;
  b[28] = 24;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const COLORREF c = PixelOf(x, y);
      std::uint8_t* p = &b[54 + static_cast<std::size_t>(kHeight - 1 - y) * stride + x * 3];
      p[0] = GetBValue(c);
      p[1] = GetGValue(c);
      p[2] = GetRValue(c);
    }
  return b;
}

HWND ButtonByText(HWND parent, const std::wstring& text) {
  for (HWND b : ChildrenOfClass(parent, L"Button"))
    if (WindowText(b) == text) return b;
  return nullptr;
}

class BGColorWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Platform().Registry && Platform().System && Platform().Dialogs);
    ASSERT_FALSE(Folder.Path().empty());
    Image = Folder.File("colours.bmp");
    ASSERT_TRUE(WriteWholeFile(Image, TestBitmap()));
    Saved.SetText(HKEY_CURRENT_USER, kDesktop, "Wallpaper", Image);
    for (const char* name : {"TileWallpaper", "WallpaperStyle", "WallPaperOriginX",
                             "WallPaperOriginY"})
      Saved.SetText(HKEY_CURRENT_USER, kDesktop, name, "0");
    Saved.SetText(HKEY_CURRENT_USER, kColors, "Background", "1 2 3");
    DeleteRegistryKey(kHKeyCurrentUser, kOwnKey, false);
    SavedBackground = GetSysColor(COLOR_BACKGROUND);
    Application().ClearTerminate();
    Dialog = std::make_unique<TFrmBXMain>(0);
    Window = ShowFormWindow(*Dialog);
    ASSERT_TRUE(Window);
  }
  void TearDown() override {
    if (Dialog) FormHost().Release(*Dialog);
    Dialog.reset();
    Application().ClearTerminate();
    DeleteRegistryKey(kHKeyCurrentUser, kOwnKey, false);
    const INT element = COLOR_BACKGROUND;
    SetSysColors(1, &element, &SavedBackground);
  }
  // Opens the options dialog with the real button; `act` runs on a helper
  // thread while it is shown.
  HWND OpenOptions(const std::function<void(HWND)>& act) {
    return WhileShown(
        L"Background color options",
        [&] { ClickCentre(FindControlWindow(*Dialog, "BitBtnBackGroundColor")); }, act);
  }

  TRecordingMessageBoxes Boxes;
  TPlatformScope Scope{Boxes};
  TTempFolder Folder{"bxcolour"};
  TRegistryRestorer Saved;
  std::string Image;
  COLORREF SavedBackground = 0;
  std::unique_ptr<TFrmBXMain> Dialog;
  HWND Window = nullptr;
};

TEST_F(BGColorWineTest, ImageCenterWithOkAndApplySetsTheDesktopColour) {
  TBounds outer{}, main = OuterBounds(Window);
  SIZE client{};
  std::vector<std::pair<std::wstring, TBounds>> children;
  bool owned = false;
  const HWND shown = OpenOptions([&](HWND box) {
    Sleep(300);
    outer = OuterBounds(box);
    client = ClientSize(box);
    owned = GetWindow(box, GW_OWNER) == Window;
    for (HWND b : ChildrenOfClass(box, L"Button")) children.push_back({WindowText(b), ChildBounds(b)});
    SaveBitmap(CaptureWindow(box), "..\\bgcolor-options.bmp");
    PostMessageW(ButtonByText(box, L"Image Center"), BM_CLICK, 0, 0);
    Sleep(200);
    PostMessageW(ButtonByText(box, L"OK"), BM_CLICK, 0, 0);
  });
  ASSERT_TRUE(shown);
  EXPECT_EQ(client.cx, 289);
  EXPECT_EQ(client.cy, 261);
  EXPECT_TRUE(owned);
  // Centred on the main dialog.
  EXPECT_NEAR(outer.Left + outer.Width / 2, main.Left + main.Width / 2, 2);
  EXPECT_NEAR(outer.Top + outer.Height / 2, main.Top + main.Height / 2, 2);
  std::map<std::wstring, TBounds> byText(children.begin(), children.end());
  EXPECT_EQ(byText[L" Get color from  "], (TBounds{12, 12, 137, 201}));
  EXPECT_EQ(byText[L"Select color"], (TBounds{156, 20, 121, 25}));
  EXPECT_EQ(byText[L"OK"], (TBounds{128, 228, 75, 25}));
  EXPECT_EQ(byText[L"Cancel"], (TBounds{204, 228, 75, 25}));
  EXPECT_EQ(byText.count(L"Specific position"), 1u);

  EXPECT_EQ(Dialog->FBGColorOption, 1);
  const COLORREF centre = PixelOf(kWidth / 2, kHeight / 2);
  EXPECT_EQ(Dialog->FBackgroundColor, centre);
  ASSERT_TRUE(IsWindowEnabled(FindControlWindow(*Dialog, "BitBtnApply")));
  ClickCentre(FindControlWindow(*Dialog, "BitBtnApply"));
  EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), centre);
  const auto stored = ReadRegValue(HKEY_CURRENT_USER, kColors, "Background");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->Text(), std::to_string(GetRValue(centre)) + " " +
                                std::to_string(GetGValue(centre)) + " " +
                                std::to_string(GetBValue(centre)));
  EXPECT_TRUE(Boxes.Texts.empty()) << (Boxes.Texts.empty() ? "" : Boxes.Texts[0]);
}

TEST_F(BGColorWineTest, ThePaletteIsThePlatformsColourDialog) {
  const DWORD thread = GetCurrentThreadId();
  HWND palette = nullptr, paletteOwner = nullptr;
  int paletteWidth = 0;
  bool boxEnabled = true;
  HWND options = nullptr;
  const HWND shown = OpenOptions([&](HWND box) {
    options = box;
    Sleep(200);
    PostMessageW(ButtonByText(box, L"Palette (Default)"), BM_CLICK, 0, 0);
    Sleep(200);
    // Another window is active when the button is pressed (its notification
    // alone, which moves no focus): the palette's owner must not be
    // whatever window is active then.
    HWND other = CreateWindowExW(0, L"STATIC", L"Other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(other);
    SetActiveWindow(other);
    Sleep(200);
    HWND select = ButtonByText(box, L"Select color");
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(select), BN_CLICKED),
                 reinterpret_cast<LPARAM>(select));
    for (int i = 0; i < 100 && !palette; ++i) {
      Sleep(50);
      palette = FindShownWindow(thread, 0, L"Color");
    }
    if (palette) {
      Sleep(200);
      paletteWidth = OuterBounds(palette).Width;
      paletteOwner = GetWindow(palette, GW_OWNER);
      boxEnabled = IsWindowEnabled(box) != FALSE;
      PostMessageW(palette, WM_COMMAND, IDCANCEL, 0);
    }
    Sleep(300);
    DestroyWindow(other);
    PostMessageW(ButtonByText(box, L"Cancel"), BM_CLICK, 0, 0);
  });
  ASSERT_TRUE(shown);
  ASSERT_TRUE(palette) << "no colour dialog";
  // Full open: the custom-colour part beside the basic colours.
  EXPECT_GT(paletteWidth, 400);
  // Modal over the options dialog: nothing under it can be clicked.
  EXPECT_EQ(paletteOwner, options);
  EXPECT_FALSE(boxEnabled);
  EXPECT_EQ(Dialog->FBGColorOption, 0);
  EXPECT_EQ(Dialog->FBackgroundColor, RGB(1, 2, 3));
}

}  // namespace
}  // namespace bx
