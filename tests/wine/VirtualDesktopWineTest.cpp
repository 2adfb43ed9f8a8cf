// Wine's own desktop, in a virtual desktop of its own (virtual_desktop_test.sh
// makes one): each placement applied, with and without an origin, to
// pictures of odd and of even sizes, and the desktop then taken from the
// screen equals the full-screen preview of the same settings, pixel for
// pixel. Elsewhere the desktop is the host's, and the test is skipped.
#include <gtest/gtest.h>

#include <memory>

#include "dialogs/main/BXMain.h"
#include "settings/BitmapFile.h"
#include "settings/SettingsModel.h"
#include "tests/wine/WineTestUtil.h"

namespace bx {
namespace {

using namespace winetest;

// The desktop this thread runs in is one that Wine's registry sizes.
bool InVirtualDesktop() {
  wchar_t name[256] = {};
  DWORD needed = 0;
  if (!GetUserObjectInformationW(GetThreadDesktop(GetCurrentThreadId()), UOI_NAME, name,
                                 sizeof name, &needed))
    return false;
  return ReadRegValue(HKEY_CURRENT_USER, "Software\\Wine\\Explorer\\Desktops", Narrow(name))
      .has_value();
}

// A picture whose every pixel differs from its neighbours', so that a
// misplacement by one pixel shows.
TPixelBuffer Numbered(int width, int height) {
  TPixelBuffer picture(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      picture.Scanline(y)[x] = static_cast<TPixel>((x * 5 % 256) << 16 | (y * 3 % 256) << 8 | 200);
  return picture;
}

class VirtualDesktopWineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!InVirtualDesktop()) GTEST_SKIP() << "not in a virtual desktop of Wine's";
    Application().ClearTerminate();
    Application().ShowHint = false;
    PreviewBusy = false;
    for (const char* name : {"Wallpaper", "TileWallpaper", "WallpaperStyle", "WallPaperOriginX",
                             "WallPaperOriginY", "Pattern"})
      Registry.Keep(HKEY_CURRENT_USER, Raw(kDesktopKey), name);
    Registry.Remove(HKEY_CURRENT_USER, Raw(kDesktopKey), "Pattern");
    Registry.SetText(HKEY_CURRENT_USER, Raw(kColorsKey), "Background", "0 96 160");
    Registry.SetText(HKEY_CURRENT_USER, Raw(kShellFoldersKey), "AppData", AppData.Path());
    Registry.Keep(HKEY_CURRENT_USER, Raw(kOwnKey), "ShowPreviewGrid");
    Registry.Keep(HKEY_CURRENT_USER, Raw(kOwnKey), "WallpaperFolder");
    Registry.SetDword(HKEY_CURRENT_USER, Raw(kOwnKey), "ShowPreviewGrid", 0);
    Registry.SetText(HKEY_CURRENT_USER, Raw(kOwnKey), "WallpaperFolder", Pictures.Path());
    FOldBackground = GetSysColor(COLOR_BACKGROUND);
  }
  void TearDown() override {
    Close();
    Registry.Restore();
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, nullptr, 0);
    const INT element = COLOR_BACKGROUND;
    SetSysColors(1, &element, &FOldBackground);
  }
  void Open() {
    Close();
    Dialog = std::make_unique<TFrmBXMain>(0);
    Window = ShowFormWindow(*Dialog);
    ASSERT_TRUE(Window);
  }
  void Close() {
    if (Dialog) FormHost().Release(*Dialog);
    Dialog.reset();
    Window = nullptr;
    Application().ClearTerminate();
    Pump(50);
  }
  RECT Screen() const {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }

  TTempFolder AppData{"bxdesktop-appdata"};
  TTempFolder Pictures{"bxdesktop-pictures"};
  TRegistryRestorer Registry;
  std::unique_ptr<TFrmBXMain> Dialog;
  HWND Window = nullptr;

 private:
  COLORREF FOldBackground = 0;
};

// The full-screen preview keeps the dialog's controls over the picture,
// so that the view can be left again: their screen rectangles.
struct TControlsFound {
  HWND Image;
  std::vector<RECT> Rects;
};
BOOL CALLBACK AddControl(HWND child, LPARAM data) {
  auto& found = *reinterpret_cast<TControlsFound*>(data);
  RECT r{};
  if (child != found.Image && IsWindowVisible(child) && GetWindowRect(child, &r))
    found.Rects.push_back(r);
  return TRUE;
}
std::vector<RECT> ControlsOver(HWND form, HWND image) {
  TControlsFound found{image, {}};
  EnumChildWindows(form, AddControl, reinterpret_cast<LPARAM>(&found));
  return found.Rects;
}

// Where two captures first differ outside the masked rectangles, and how
// many pixels do.
std::string Difference(const TCapture& a, const TCapture& b, const std::vector<RECT>& masked) {
  if (a.Width != b.Width || a.Height != b.Height) return "sizes differ";
  std::size_t count = 0, first = 0;
  for (std::size_t i = 0; i < a.Pixels.size(); ++i) {
    if (a.Pixels[i] == b.Pixels[i]) continue;
    const POINT at{static_cast<LONG>(i % a.Width), static_cast<LONG>(i / a.Width)};
    bool hidden = false;
    for (const RECT& r : masked) hidden = hidden || PtInRect(&r, at);
    if (!hidden && count++ == 0) first = i;
  }
  if (!count) return "";
  char text[160];
  std::snprintf(text, sizeof text, "%zu pixels differ, first at (%d, %d): %06X shown, %06X previewed",
                count, static_cast<int>(first % a.Width), static_cast<int>(first / a.Width),
                a.Pixels[first], b.Pixels[first]);
  return text;
}

TEST_F(VirtualDesktopWineTest, TheDesktopAfterApplyIsTheFullScreenPreview) {
  struct TPlacement {
    const char* Name;
    const char* Tile;
    const char* Style;
  } placements[] = {{"centre", "0", "0"},       {"tile", "1", "0"}, {"stretch", "0", "2"},
                    {"stretched and tiled", "0", "3"}, {"fill", "0", "10"}};
  struct TPicture {
    int Width, Height;
  } pictures[] = {{64, 48}, {101, 77}};
  for (const TPicture& p : pictures) {
    const std::string path = Pictures.File("p" + std::to_string(p.Width) + ".bmp");
    SaveBitmapFile(Numbered(p.Width, p.Height), path);
    for (const TPlacement& placement : placements) {
      for (const auto& [x, y] : {std::pair{"0", "0"}, std::pair{"37", "-11"}}) {
        if (std::string(placement.Style) == "10" && std::string(x) != "0") continue;
        SCOPED_TRACE(std::string(placement.Name) + ", origin " + x + ", " + y + ", picture " +
                     std::to_string(p.Width) + " x " + std::to_string(p.Height));
        Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "Wallpaper", path);
        Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "TileWallpaper", placement.Tile);
        Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "WallpaperStyle", placement.Style);
        Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "WallPaperOriginX", x);
        Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "WallPaperOriginY", y);
        Open();
        ASSERT_EQ(Dialog->FWallpaper, path);
        Dialog->BitBtnTogglePreview.Click();
        Pump(100);
        RedrawWindow(Window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        Pump(50);
        const TCapture preview = CaptureScreen(Screen());
        const std::vector<RECT> masked =
            ControlsOver(Window, FindControlWindow(*Dialog, "ImageWallpaper"));
        Dialog->BitBtnTogglePreview.Click();
        Dialog->ApplySettings();
        Close();
        // The desktop repaints in its own process.
        TCapture shown;
        PumpUntil([&] {
          shown = CaptureScreen(Screen());
          return Difference(shown, preview, masked).empty();
        });
        const std::string difference = Difference(shown, preview, masked);
        EXPECT_EQ(difference, "");
        if (!difference.empty()) {
          SaveBitmap(shown, std::string("..\\desktop-shown.bmp"));
          SaveBitmap(preview, std::string("..\\desktop-previewed.bmp"));
        }
        // The settings are the user's still.
        EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, Raw(kDesktopKey), "WallPaperOriginX")->Text(), x);
        EXPECT_EQ(ReadRegValue(HKEY_CURRENT_USER, Raw(kDesktopKey), "TileWallpaper")->Text(),
                  placement.Tile);
      }
    }
  }
}

}  // namespace
}  // namespace bx
