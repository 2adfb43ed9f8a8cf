// The main dialog applying its settings through the real Windows services:
// the converted bitmap file on disk, the values in Wine's registry and the
// desktop colour of the session.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "components/Picture.h"
#include "dialogs/main/BXMain.h"
#include "settings/SettingsModel.h"
#include "tests/bench/PhotoJpeg.h"
#include "tests/unit/ImageWriters.h"
#include "tests/unit/PngWebpWriters.h"
#include "tests/wine/WineTestUtil.h"

namespace bx {
namespace {

using namespace winetest;

const char* const kOwnNames[] = {"ShowHint",
                                 "WallpaperFolder",
                                 "WallpaperOrg",
                                 "WallpaperOriginPre",
                                 "WallpaperbgColorPositionX",
                                 "WallpaperbgColorPositionY",
                                 "WallpaperSaveToDefUser",
                                 "WallpaperbgColorOption",
                                 "ShowPreviewGrid"};
const char* const kDesktopNames[] = {"Wallpaper", "TileWallpaper", "WallpaperStyle",
                                     "WallPaperOriginX", "WallPaperOriginY"};

// Six flat blocks of 16 x 16 pixels, three across, two down: whole blocks of
// the encoder, so their insides decode to their own colour.
constexpr int kBlock = 16;
const TColor kBlockColors[6] = {RGB(220, 30, 40),  RGB(30, 200, 60),  RGB(40, 50, 210),
                                RGB(230, 220, 40), RGB(40, 200, 210), RGB(128, 128, 128)};

std::vector<std::uint8_t> BlocksJpeg() {
  const int width = 3 * kBlock, height = 2 * kBlock;
  std::vector<std::uint8_t> samples;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const TColor c = kBlockColors[(y / kBlock) * 3 + x / kBlock];
      samples.push_back(static_cast<std::uint8_t>(GetRValue(c)));
      samples.push_back(static_cast<std::uint8_t>(GetGValue(c)));
      samples.push_back(static_cast<std::uint8_t>(GetBValue(c)));
    }
  return test::WriteJpeg(width, height, 3, samples, 100);
}

// A 32 x 32 icon, 24 bits, all blue; its mask leaves the top right quarter
// and the bottom four rows transparent (black under the mask, as icons are made).
bool IconTransparent(int x, int y) { return (x >= 16 && y < 16) || y >= 28; }

std::vector<std::uint8_t> MaskedIcon() {
  test::TIconImageSpec image;
  image.Width = 32;
  image.Height = 32;
  image.BitCount = 24;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      image.Values.push_back(IconTransparent(x, y) ? 0 : 0x0000FF);
      image.Mask.push_back(IconTransparent(x, y) ? 1 : 0);
    }
  return test::WriteIco({image});
}

std::uint32_t Read32(const std::vector<std::uint8_t>& v, std::size_t at) {
  return v[at] | (v[at + 1] << 8) | (v[at + 2] << 16) |
         (static_cast<std::uint32_t>(v[at + 3]) << 24);
}
std::uint32_t Read16(const std::vector<std::uint8_t>& v, std::size_t at) {
  return v[at] | (v[at + 1] << 8);
}

// A 24-bit bitmap file as read from disk: its header fields and pixels.
struct TBmpFile {
  std::vector<std::uint8_t> Bytes;
  int Width() const { return static_cast<int>(Read32(Bytes, 18)); }
  int Height() const { return static_cast<int>(Read32(Bytes, 22)); }
  // Rows are stored bottom-up, each padded to 4 bytes.
  TColor At(int x, int y) const {
    const std::size_t stride = (static_cast<std::size_t>(Width()) * 3 + 3) & ~std::size_t{3};
    const std::size_t at = Read32(Bytes, 10) + (Height() - 1 - y) * stride + x * 3;
    return RGB(Bytes[at + 2], Bytes[at + 1], Bytes[at]);
  }
};

// Checks the headers of a bottom-up 24-bit file of the given size.
void ExpectBmpHeader(const TBmpFile& bmp, int width, int height) {
  ASSERT_GE(bmp.Bytes.size(), 54u);
  EXPECT_EQ(bmp.Bytes[0], 'B');
  EXPECT_EQ(bmp.Bytes[1], 'M');
  EXPECT_EQ(Read32(bmp.Bytes, 2), bmp.Bytes.size()) << "file size in the header";
  EXPECT_EQ(Read32(bmp.Bytes, 14), 40u) << "info header size";
  ASSERT_EQ(bmp.Width(), width);
  ASSERT_EQ(bmp.Height(), height);
  EXPECT_EQ(Read16(bmp.Bytes, 26), 1u) << "planes";
  EXPECT_EQ(Read16(bmp.Bytes, 28), 24u) << "bits per pixel";
  EXPECT_EQ(Read32(bmp.Bytes, 30), 0u) << "uncompressed";
  const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
  ASSERT_EQ(bmp.Bytes.size(), Read32(bmp.Bytes, 10) + stride * height) << "pixel data size";
}

bool Near(TColor a, TColor b, unsigned tolerance) {
  auto close = [tolerance](unsigned p, unsigned q) { return (p > q ? p - q : q - p) <= tolerance; };
  return close(GetRValue(a), GetRValue(b)) && close(GetGValue(a), GetGValue(b)) &&
         close(GetBValue(a), GetBValue(b));
}

std::string ColorText(TColor c) {
  char text[16];
  std::snprintf(text, sizeof text, "%u %u %u", GetRValue(c), GetGValue(c), GetBValue(c));
  return text;
}

class ApplyWineTest : public ::testing::Test {
 protected:
  ApplyWineTest() {
    Application().ClearTerminate();
    Application().ShowHint = false;
    PreviewBusy = false;
    FOldBackground = GetSysColor(COLOR_BACKGROUND);
    // Every value the apply writes is put back afterwards.
    for (const char* name : kDesktopNames) {
      Registry.Keep(HKEY_CURRENT_USER, Raw(kDesktopKey), name);
      Registry.Keep(HKEY_USERS, kDefaultUserDesktopKey, name);
    }
    Registry.Keep(HKEY_CURRENT_USER, Raw(kColorsKey), "Background");
    Registry.Keep(HKEY_USERS, kDefaultUserColorsKey, "Background");
    for (const char* name : kOwnNames) Registry.Remove(HKEY_CURRENT_USER, Raw(kOwnKey), name);
    // A plain starting desktop, so that loading meets nothing of earlier
    // runs: tiled, which Wine's desktop shows itself, so that Apply converts
    // the image rather than composing the desktop.
    Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "Wallpaper", "");
    Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "TileWallpaper", "1");
    for (const char* name : {"WallpaperStyle", "WallPaperOriginX", "WallPaperOriginY"})
      Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), name, "0");
    Registry.SetText(HKEY_CURRENT_USER, Raw(kShellFoldersKey), "AppData", AppData.Path());
    Registry.SetText(HKEY_USERS, Raw(kDefaultUserShellFoldersKey), "AppData",
                     DefaultAppData.Path());
    Registry.SetText(HKEY_CURRENT_USER, Raw(kOwnKey), "WallpaperFolder", Pictures.Path());
  }
  ~ApplyWineTest() override {
    Dialog.reset();
    Registry.Restore();
    // The session's desktop follows the restored values again.
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, nullptr, 0);
    const INT element = COLOR_BACKGROUND;
    SetSysColors(1, &element, &FOldBackground);
    Application().ShowHint = false;
  }

  TFrmBXMain& Open() {
    Dialog = std::make_unique<TFrmBXMain>();
    EXPECT_EQ(Boxes.Texts, std::vector<std::string>{});
    EXPECT_EQ(Dialog->FAppDataFolder, AppData.Path() + "\\");
    EXPECT_EQ(Dialog->FDefaultUserAppDataFolder, DefaultAppData.Path() + "\\");
    return *Dialog;
  }
  // The image as the list or the file dialog leaves the choice.
  TFrmBXMain& Choose(const std::string& path) {
    TFrmBXMain& d = Dialog ? *Dialog : Open();
    d.FWallpaper = path;
    d.FWallpaperOrg = path;
    return d;
  }
  std::string Converted() const { return AppData.File(kConvertedFileName); }
  std::string DefaultConverted() const { return DefaultAppData.File(kConvertedFileName); }

  std::optional<TRegValue> Desktop(const std::string& name) {
    return ReadRegValue(HKEY_CURRENT_USER, Raw(kDesktopKey), name);
  }
  std::optional<TRegValue> Own(const std::string& name) {
    return ReadRegValue(HKEY_CURRENT_USER, Raw(kOwnKey), name);
  }
  TBmpFile ReadBmp(const std::string& path) {
    std::optional<std::vector<std::uint8_t>> bytes = ReadWholeFile(path);
    EXPECT_TRUE(bytes) << path;
    return {bytes ? *bytes : std::vector<std::uint8_t>{}};
  }

  // Folders first: the restorer puts their old "AppData" values back
  // before they go. A user's folder name need not be plain ASCII.
  TTempFolder AppData{"bxappdata-\u00fc"};
  TTempFolder DefaultAppData{"bxdefault"};
  TTempFolder Pictures{"bxpictures"};
  TRegistryRestorer Registry;
  TRecordingMessageBoxes Boxes;
  TPlatformScope Scope{Boxes};
  std::unique_ptr<TFrmBXMain> Dialog;

 private:
  COLORREF FOldBackground = 0;
};

TEST_F(ApplyWineTest, JpegIsConvertedToTheUsersBitmapFileOnce) {
  const std::string photo = Pictures.File("photo-\u00e4\u20ac.jpg");
  ASSERT_TRUE(WriteWholeFile(photo, BlocksJpeg()));
  TFrmBXMain& d = Choose(photo);
  d.FBackgroundColor = RGB(12, 34, 56);
  d.FTileWallpaper = 0;
  d.FWallpaperStyle = 3;
  ASSERT_NE(GetSysColor(COLOR_BACKGROUND), d.FBackgroundColor) << "the apply must change it";

  d.ApplySettings();
  EXPECT_EQ(d.FWallpaper, Converted());
  EXPECT_EQ(d.FWallpaperOrg, photo);
  EXPECT_FALSE(FileExistsOnDisk(DefaultConverted())) << "not asked for the default user";

  // The file: a plain 24-bit bitmap of the picture's size, holding what the
  // picture loader decodes, and that decode is the JPEG's colours.
  const TBmpFile bmp = ReadBmp(Converted());
  ExpectBmpHeader(bmp, 3 * kBlock, 2 * kBlock);
  if (HasFatalFailure()) return;
  TPicture picture;
  picture.LoadFromFile(photo);
  TPixelBuffer decoded(picture.Width(), picture.Height());
  decoded.Fill(d.FBackgroundColor);
  picture.Draw(decoded, 0, 0);
  int differing = 0;
  for (int y = 0; y < bmp.Height(); ++y)
    for (int x = 0; x < bmp.Width(); ++x)
      if (bmp.At(x, y) != decoded.GetPixel(x, y)) ++differing;
  EXPECT_EQ(differing, 0) << "pixels unlike the decoded picture";
  for (int block = 0; block < 6; ++block) {
    const int left = (block % 3) * kBlock, top = (block / 3) * kBlock;
    for (int y = top + 4; y < top + kBlock - 4; ++y)
      for (int x = left + 4; x < left + kBlock - 4; ++x)
        ASSERT_TRUE(Near(bmp.At(x, y), kBlockColors[block], 6))
            << "block " << block << " at " << x << ", " << y << ": " << ColorText(bmp.At(x, y));
  }

  // Windows itself reads the file as a bitmap of that size.
  HANDLE loaded = LoadImageW(nullptr, Widen(Converted()).c_str(), IMAGE_BITMAP, 0, 0,
                             LR_LOADFROMFILE | LR_CREATEDIBSECTION);
  ASSERT_TRUE(loaded);
  DIBSECTION section{};
  ASSERT_EQ(GetObjectW(loaded, sizeof section, &section), static_cast<int>(sizeof section));
  EXPECT_EQ(section.dsBm.bmWidth, 3 * kBlock);
  EXPECT_EQ(section.dsBm.bmHeight, 2 * kBlock);
  EXPECT_EQ(section.dsBm.bmBitsPixel, 24);
  DeleteObject(loaded);

  // The registry names the converted file and keeps the chosen picture.
  std::optional<TRegValue> wallpaper = Desktop("Wallpaper");
  ASSERT_TRUE(wallpaper);
  EXPECT_EQ(wallpaper->Type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(wallpaper->Text(), Converted());
  std::optional<TRegValue> org = Own("WallpaperOrg");
  ASSERT_TRUE(org);
  EXPECT_EQ(org->Type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(org->Text(), photo);
  std::optional<TRegValue> style = Desktop("WallpaperStyle");
  ASSERT_TRUE(style);
  EXPECT_EQ(style->Type, static_cast<DWORD>(REG_SZ)) << "desktop numbers are text";
  EXPECT_EQ(style->Text(), "3");
  std::optional<TRegValue> preset = Own("WallpaperOriginPre");
  ASSERT_TRUE(preset);
  EXPECT_EQ(preset->Type, static_cast<DWORD>(REG_DWORD)) << "own numbers are numbers";
  std::optional<TRegValue> background =
      ReadRegValue(HKEY_CURRENT_USER, Raw(kColorsKey), "Background");
  ASSERT_TRUE(background);
  EXPECT_EQ(background->Text(), "12 34 56");

  // The session's desktop colour changed at once.
  EXPECT_EQ(GetSysColor(COLOR_BACKGROUND), d.FBackgroundColor);

  // A second apply with the same choice converts nothing.
  const ULONGLONG written = LastWriteTime(Converted());
  ASSERT_NE(written, 0u);
  Sleep(50);
  d.ApplySettings();
  EXPECT_EQ(d.FWallpaper, Converted());
  EXPECT_EQ(LastWriteTime(Converted()), written) << "the file was written again";
  EXPECT_EQ(ReadBmp(Converted()).Bytes, bmp.Bytes);
  ASSERT_TRUE(Desktop("Wallpaper"));
  EXPECT_EQ(Desktop("Wallpaper")->Text(), Converted());

  // Choosing the picture again converts it anew.
  Choose(photo);
  d.ApplySettings();
  EXPECT_NE(LastWriteTime(Converted()), written);
  EXPECT_EQ(Boxes.Texts, std::vector<std::string>{});
}

TEST_F(ApplyWineTest, IconConvertsWithItsTransparentPartsInTheBackgroundColour) {
  ASSERT_EQ(GetSystemMetrics(SM_CXICON), 32);
  ASSERT_EQ(GetSystemMetrics(SM_CYICON), 32);
  const std::string iconPath = Pictures.File("mark.ico");
  const std::vector<std::uint8_t> icon = MaskedIcon();
  ASSERT_TRUE(WriteWholeFile(iconPath, icon));
  TFrmBXMain& d = Choose(iconPath);
  d.FBackgroundColor = RGB(10, 200, 30);
  d.ApplySettings();
  ASSERT_EQ(d.FWallpaper, Converted());

  const TBmpFile bmp = ReadBmp(Converted());
  ExpectBmpHeader(bmp, 32, 32);
  if (HasFatalFailure()) return;
  int wrong = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const TColor expected = IconTransparent(x, y) ? RGB(10, 200, 30) : RGB(0, 0, 255);
      if (bmp.At(x, y) != expected && ++wrong <= 5)
        ADD_FAILURE() << "pixel " << x << ", " << y << ": " << ColorText(bmp.At(x, y));
    }
  EXPECT_EQ(wrong, 0);

  // The same as GDI draws the icon over the background colour.
  const std::uint32_t imageOffset = Read32(icon, 18), imageSize = Read32(icon, 14);
  HICON handle = CreateIconFromResourceEx(const_cast<BYTE*>(icon.data() + imageOffset),
                                          imageSize, TRUE, 0x00030000, 32, 32, LR_DEFAULTCOLOR);
  ASSERT_TRUE(handle);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = 32;
  info.bmiHeader.biHeight = -32;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP target = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, target);
  HBRUSH brush = CreateSolidBrush(RGB(10, 200, 30));
  const RECT all{0, 0, 32, 32};
  FillRect(dc, &all, brush);
  DrawIconEx(dc, 0, 0, handle, 32, 32, 0, nullptr, DI_NORMAL);
  GdiFlush();
  int unlikeGdi = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x)
      if (bmp.At(x, y) != PixelToColor(static_cast<const std::uint32_t*>(bits)[y * 32 + x]))
        ++unlikeGdi;
  EXPECT_EQ(unlikeGdi, 0) << "pixels unlike GDI's drawing of the icon";
  SelectObject(dc, old);
  DeleteObject(brush);
  DeleteObject(target);
  DeleteDC(dc);
  DestroyIcon(handle);
}

TEST_F(ApplyWineTest, NoWallpaperDeletesTheConvertedFilesAndClearsTheValue) {
  const std::string photo = Pictures.File("photo.jpg");
  ASSERT_TRUE(WriteWholeFile(photo, BlocksJpeg()));
  TFrmBXMain& d = Choose(photo);
  d.FSaveToDefUser = true;
  d.ApplySettings();
  // Both users get their copy, and the default user's value names its own.
  ASSERT_TRUE(FileExistsOnDisk(Converted()));
  ASSERT_TRUE(FileExistsOnDisk(DefaultConverted()));
  EXPECT_EQ(ReadWholeFile(DefaultConverted()), ReadWholeFile(Converted()));
  std::optional<TRegValue> defaultWallpaper =
      ReadRegValue(HKEY_USERS, kDefaultUserDesktopKey, "Wallpaper");
  ASSERT_TRUE(defaultWallpaper);
  EXPECT_EQ(defaultWallpaper->Type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(defaultWallpaper->Text(), DefaultConverted());

  // "(none)": nothing to convert, both files go, both values are empty.
  d.FWallpaper.clear();
  d.ApplySettings();
  EXPECT_FALSE(FileExistsOnDisk(Converted()));
  EXPECT_FALSE(FileExistsOnDisk(DefaultConverted()));
  std::optional<TRegValue> wallpaper = Desktop("Wallpaper");
  ASSERT_TRUE(wallpaper);
  EXPECT_EQ(wallpaper->Type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(wallpaper->Text(), "");
  defaultWallpaper = ReadRegValue(HKEY_USERS, kDefaultUserDesktopKey, "Wallpaper");
  ASSERT_TRUE(defaultWallpaper);
  EXPECT_EQ(defaultWallpaper->Text(), "");
  ASSERT_TRUE(Own("WallpaperOrg"));
  EXPECT_EQ(Own("WallpaperOrg")->Text(), photo) << "the choice made before is kept";

  // A second apply without a file to delete is no error.
  d.ApplySettings();
  EXPECT_EQ(Boxes.Texts, std::vector<std::string>{});
}

// Today's Windows keeps its wallpaper as a copy without an extension, a
// JPEG inside. Opened on such a machine, the dialog shows it; applied (here
// also for a default user whose folder cannot be written) it is converted,
// remembered as the chosen picture, and the desktop is told the stored name.
TEST_F(ApplyWineTest, TodaysStoredWallpaperIsConvertedRememberedAndShown) {
  const std::string transcoded = Pictures.File("TranscodedWallpaper");
  ASSERT_TRUE(WriteWholeFile(transcoded, BlocksJpeg()));
  Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "Wallpaper", transcoded);
  Registry.SetText(HKEY_USERS, kDefaultUserDesktopKey, "Wallpaper", "C:\\logon.bmp");
  TFrmBXMain& d = Open();
  EXPECT_EQ(d.FWallpaper, transcoded);
  EXPECT_TRUE(d.FWallpaperOrg.empty());
  d.FSaveToDefUser = true;
  d.FDefaultUserAppDataFolder = DefaultAppData.File("missing") + "\\";

  for (int apply = 0; apply < 2; ++apply) {
    d.FWallpaper = transcoded;
    d.ApplySettings();
  }
  EXPECT_EQ(d.FWallpaper, Converted());
  EXPECT_EQ(d.FWallpaperOrg, transcoded);
  ASSERT_TRUE(Own("WallpaperOrg"));
  EXPECT_EQ(Own("WallpaperOrg")->Text(), transcoded);
  ExpectBmpHeader(ReadBmp(Converted()), 3 * kBlock, 2 * kBlock);
  // The default user is left as it was, and the user told once.
  ASSERT_EQ(Boxes.Texts.size(), 1u);
  EXPECT_NE(Boxes.Texts[0].find("default user"), std::string::npos) << Boxes.Texts[0];
  ASSERT_TRUE(ReadRegValue(HKEY_USERS, kDefaultUserDesktopKey, "Wallpaper"));
  EXPECT_EQ(ReadRegValue(HKEY_USERS, kDefaultUserDesktopKey, "Wallpaper")->Text(), "C:\\logon.bmp");

  wchar_t shown[MAX_PATH] = {};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, shown, 0));
  EXPECT_EQ(Narrow(shown), Converted());
}

// Camera photos of 24 and 61 megapixels in both builds, without an error
// box: stretched, they open held reduced to the desktop, and Wine's desktop,
// which stretches nothing, gets the composed desktop; tiled, which it shows
// itself, they are converted at their own size.
TEST_F(ApplyWineTest, CameraPhotosStretchedOpenAndApplyInBothBuilds) {
  for (const auto [width, height] : {std::pair{6000, 4000}, std::pair{9504, 6336}}) {
    SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
    const std::string photo = Pictures.File("camera-" + std::to_string(width) + ".jpg");
    ASSERT_TRUE(WriteWholeFile(photo, test::MakeLargePhotoJpeg(width, height)));
    auto fileSize = [&] {
      WIN32_FILE_ATTRIBUTE_DATA info{};
      EXPECT_TRUE(GetFileAttributesExW(Widen(Converted()).c_str(), GetFileExInfoStandard, &info));
      return (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    };
    auto bmpSize = [](std::uint64_t w, std::uint64_t h) { return 54 + ((w * 3 + 3) & ~3ull) * h; };

    Dialog.reset();
    Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "Wallpaper", photo);
    Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "WallpaperStyle", "2");
    TFrmBXMain& d = Open();
    ASSERT_EQ(d.FWallpaper, photo);
    EXPECT_EQ(d.ImageWidth(), width);
    EXPECT_EQ(d.ImageHeight(), height);
    EXPECT_LT(d.FImageBitmap->Width(), width);
    EXPECT_NO_THROW(d.ApplySettings());
    EXPECT_EQ(Boxes.Texts, std::vector<std::string>{});
    EXPECT_EQ(d.FWallpaper, photo);
    EXPECT_EQ(Desktop("Wallpaper")->Text(), Converted());
    EXPECT_EQ(fileSize(), bmpSize(d.FDesktopWidth, d.FDesktopHeight));

    d.CheckBoxStretch.SetChecked(false);
    d.RadioButtonTile.SetChecked(true);
    EXPECT_NO_THROW(d.ApplySettings());
    EXPECT_EQ(Boxes.Texts, std::vector<std::string>{});
    EXPECT_EQ(d.FWallpaper, Converted());
    EXPECT_EQ(fileSize(), bmpSize(width, height));
  }
}

// A 100-megapixel photo placed at its own size opens in both builds held as
// a band of the rows the desktop shows, and its composed desktop applies
// without an error box.
TEST_F(ApplyWineTest, AHundredMegapixelPhotoAtItsOwnSizeOpensAndAppliesInBothBuilds) {
  const std::string photo = Pictures.File("camera-11648.jpg");
  ASSERT_TRUE(WriteWholeFile(photo, test::MakeLargePhotoJpeg(11648, 8736)));
  Dialog.reset();
  Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "Wallpaper", photo);
  Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "WallpaperStyle", "0");
  Registry.SetText(HKEY_CURRENT_USER, Raw(kDesktopKey), "TileWallpaper", "0");
  TFrmBXMain& d = Open();
  ASSERT_EQ(d.FWallpaper, photo);
  EXPECT_EQ(d.ImageWidth(), 11648);
  EXPECT_EQ(d.ImageHeight(), 8736);
  EXPECT_EQ(d.FImageBitmap->Width(), 11648);
  EXPECT_LT(d.FImageBitmap->Height(), 8736);
  d.SpinEditOriginX.SetValue(-100);
  d.SpinEditOriginY.SetValue(-8000);
  EXPECT_NO_THROW(d.ApplySettings());
  EXPECT_EQ(Boxes.Texts, std::vector<std::string>{});
  EXPECT_EQ(d.FWallpaper, photo);
  EXPECT_EQ(Desktop("Wallpaper")->Text(), Converted());
  WIN32_FILE_ATTRIBUTE_DATA info{};
  ASSERT_TRUE(GetFileAttributesExW(Widen(Converted()).c_str(), GetFileExInfoStandard, &info));
  EXPECT_EQ(info.nFileSizeLow, 54 + ((d.FDesktopWidth * 3u + 3) & ~3u) * d.FDesktopHeight);
}

// A PNG and a WebP with transparent, half-transparent and opaque parts,
// chosen in the list: the preview shows them over the background colour and
// Apply converts them to a bitmap of exactly the loader's decode.
TEST_F(ApplyWineTest, PngAndWebPChosenInTheListPreviewAndConvertToTheirDecode) {
  constexpr int kWidth = 40, kHeight = 24;
  std::vector<std::uint8_t> bgra;
  test::TPngSpec png;
  png.Width = kWidth;
  png.Height = kHeight;
  png.ColorType = PNG_COLOR_TYPE_RGB_ALPHA;
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const std::uint8_t alpha = x < 10 ? 0 : x < 20 ? 128 : 255;
      const std::uint8_t pixel[4] = {static_cast<std::uint8_t>(40 + y * 4), 90,
                                     static_cast<std::uint8_t>(x * 6), alpha};
      for (int c : {2, 1, 0}) png.Samples.push_back(pixel[c]);  // red, green, blue
      png.Samples.push_back(alpha);
      bgra.insert(bgra.end(), pixel, pixel + 4);
    }
  const std::pair<std::string, std::vector<std::uint8_t>> files[] = {
      {"leaf.png", test::WritePngFile(png)}, {"wave.webp", test::WriteWebP(kWidth, kHeight, bgra, true)}};
  for (const auto& [name, bytes] : files)
    ASSERT_TRUE(WriteWholeFile(Pictures.File(name), bytes));

  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    Dialog.reset();
    TFrmBXMain& d = Open();
    d.FBackgroundColor = RGB(12, 34, 56);
    const std::vector<std::string>& items = d.ListBoxWallpapers.Items();
    const auto it = std::find(items.begin(), items.end(), name);
    ASSERT_NE(it, items.end()) << "not listed";
    d.ListBoxWallpapers.SetItemIndex(static_cast<int>(it - items.begin()));
    d.ListBoxWallpapersClick(d);
    ASSERT_EQ(d.FWallpaper, Pictures.File(name));
    // Tiled from the desktop's corner: the transparent left shows the background.
    const TPixelBuffer& preview = d.ImageWallpaper.Picture();
    const int left = kWidth, top = kHeight;
    EXPECT_EQ(preview.GetPixel(left + 2, top + 2), d.FBackgroundColor);
    EXPECT_EQ(preview.GetPixel(left + 30, top + 2), RGB(30 * 6, 90, 40 + 2 * 4));

    d.ApplySettings();
    EXPECT_EQ(Boxes.Texts, std::vector<std::string>{});
    EXPECT_EQ(d.FWallpaper, Converted());
    const TBmpFile bmp = ReadBmp(Converted());
    ExpectBmpHeader(bmp, kWidth, kHeight);
    if (HasFatalFailure()) return;
    TPicture picture;
    picture.LoadFromFile(Pictures.File(name));
    TPixelBuffer decoded(kWidth, kHeight);
    decoded.Fill(d.FBackgroundColor);
    picture.Draw(decoded, 0, 0);
    int differing = 0;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x)
        if (bmp.At(x, y) != decoded.GetPixel(x, y)) ++differing;
    EXPECT_EQ(differing, 0) << "pixels unlike the decoded picture";
    // Blended over the background: transparent, half and opaque columns.
    EXPECT_EQ(bmp.At(3, 5), d.FBackgroundColor);
    EXPECT_TRUE(Near(bmp.At(15, 5), RGB((15 * 6 + 12) / 2, (90 + 34) / 2, (60 + 56) / 2), 2))
        << ColorText(bmp.At(15, 5));
    EXPECT_EQ(bmp.At(25, 5), RGB(25 * 6, 90, 60));
  }
}

}  // namespace
}  // namespace bx
