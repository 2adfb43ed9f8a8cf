// Storing and applying the settings: the conversion to a bitmap file, the
// registry writes of both users and the desktop calls.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include <jpeglib.h>

#include "settings/BitmapFile.h"
#include "settings/RegSpecial.h"
#include "settings/ReloadWallpaper.h"
#include "tests/unit/DialogFixture.h"

namespace bx {
namespace {

constexpr const char* kPictures = "C:\\Pictures\\";

std::vector<std::uint8_t> SolidJpeg(int width, int height, std::uint8_t r, std::uint8_t g,
                                    std::uint8_t b) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr jerr{};
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
  for (int x = 0; x < width; ++x) {
    row[x * 3] = r;
    row[x * 3 + 1] = g;
    row[x * 3 + 2] = b;
  }
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::vector<std::uint8_t> out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

void Put32(std::vector<std::uint8_t>& v, std::uint32_t x) {
  for (int i = 0; i < 4; ++i) v.push_back(static_cast<std::uint8_t>(x >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& v, std::uint32_t x) {
  v.push_back(static_cast<std::uint8_t>(x));
  v.push_back(static_cast<std::uint8_t>(x >> 8));
}

// A 24-bit icon of 2 x 2 pixels, all red; its AND mask makes the top right
// pixel transparent.
std::vector<std::uint8_t> IconWithTransparentCorner() {
  const int w = 2, h = 2;
  std::vector<std::uint8_t> image;
  Put32(image, 40);
  Put32(image, w);
  Put32(image, h * 2);
  Put16(image, 1);
  Put16(image, 24);
  Put32(image, 0);
  Put32(image, 0);
  for (int i = 0; i < 4; ++i) Put32(image, 0);
  for (int row = 0; row < h; ++row) {  // colour rows, bottom-up, each padded to 4 bytes
    for (int x = 0; x < w; ++x) {
      image.push_back(0);
      image.push_back(0);
      image.push_back(255);
    }
    image.insert(image.end(), 2, 0);
  }
  // Mask rows, bottom-up, 32 bits each: only the top row's right pixel is set.
  Put32(image, 0);
  image.push_back(0x40);
  image.insert(image.end(), 3, 0);

  std::vector<std::uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, 1);
  file.push_back(w);
  file.push_back(h);
  file.push_back(0);
  file.push_back(0);
  Put16(file, 1);
  Put16(file, 24);
  Put32(file, static_cast<std::uint32_t>(image.size()));
  Put32(file, 22);
  file.insert(file.end(), image.begin(), image.end());
  return file;
}

// A GIF with a screen descriptor and the trailer: a picture without a frame.
std::vector<std::uint8_t> GifWithoutFrame() {
  return {'G', 'I', 'F', '8', '9', 'a', 4, 0, 4, 0, 0, 0, 0, 0x3B};
}

std::uint32_t Read32(const std::vector<std::uint8_t>& v, std::size_t at) {
  return v[at] | (v[at + 1] << 8) | (v[at + 2] << 16) | (static_cast<std::uint32_t>(v[at + 3]) << 24);
}

// The colour of a pixel of a 24-bit bottom-up BMP file, as a COLORREF.
TColor BmpPixel(const std::vector<std::uint8_t>& file, int x, int y) {
  const std::uint32_t offset = Read32(file, 10);
  const std::uint32_t width = Read32(file, 18);
  const std::uint32_t height = Read32(file, 22);
  const std::uint32_t stride = (width * 3 + 3) & ~3u;
  const std::size_t at = offset + (height - 1 - y) * stride + x * 3;
  return MakeColor(file[at + 2], file[at + 1], file[at]);
}

bool Near(TColor a, TColor b) {
  auto close = [](unsigned p, unsigned q) { return (p > q ? p - q : q - p) <= 6; };
  return close(ColorRed(a), ColorRed(b)) && close(ColorGreen(a), ColorGreen(b)) &&
         close(ColorBlue(a), ColorBlue(b));
}

class ApplySettings : public DialogFixture {
 protected:
  ApplySettings() {
    Files().CreateDirectory(kPictures);
    Files().WriteFile(Photo(), SolidJpeg(16, 8, 0, 0, 255));
  }
  static std::string Photo() { return std::string(kPictures) + "photo.jpg"; }
  // The dialog with a chosen image, as the list or the file dialog leaves it.
  TFrmBXMain& Choose(const std::string& path) {
    TFrmBXMain& d = Dialog();
    d.FWallpaper = path;
    d.FWallpaperOrg = path;
    return d;
  }
  bool Exists(const std::string& path) { return Files().FileExists(path); }
};

TEST_F(ApplySettings, PhotoIsConvertedOnceAndNotAgain) {
  TFrmBXMain& d = Choose(Photo());
  d.ApplySettings();
  EXPECT_EQ(d.FWallpaper, ConvertedPath());
  EXPECT_EQ(d.FWallpaperOrg, Photo());
  EXPECT_EQ(Desktop("Wallpaper"), ConvertedPath());
  EXPECT_EQ(OwnText("WallpaperOrg"), Photo());
  ASSERT_TRUE(Exists(ConvertedPath()));
  EXPECT_FALSE(Exists(DefaultUserConvertedPath()));
  const std::vector<std::uint8_t> bmp = Files().ReadFile(ConvertedPath());
  ASSERT_GE(bmp.size(), 54u);
  EXPECT_EQ(Read32(bmp, 18), 16u);
  EXPECT_EQ(Read32(bmp, 22), 8u);
  EXPECT_TRUE(Near(BmpPixel(bmp, 3, 3), MakeColor(0, 0, 255)));
  EXPECT_EQ(d.FImageBitmap->Width(), 16);

  // A second apply converts nothing and deletes nothing.
  Files().WriteTextFile(ConvertedPath(), "kept");
  d.ApplySettings();
  EXPECT_EQ(d.FWallpaper, ConvertedPath());
  ASSERT_TRUE(Exists(ConvertedPath()));
  EXPECT_EQ(Files().ReadFile(ConvertedPath()), (std::vector<std::uint8_t>{'k', 'e', 'p', 't'}));
  EXPECT_EQ(System().SysParamCalls.size(), 2u);
}

TEST_F(ApplySettings, BitmapIsUsedAsItIsAndOldConvertedFilesGo) {
  const std::string tiles = std::string(kPictures) + "tiles.BMP";
  Files().WriteFile(tiles, EncodeBitmapFile(TPixelBuffer(4, 4), tiles));
  Files().WriteTextFile(ConvertedPath(), "old");
  Files().WriteTextFile(DefaultUserConvertedPath(), "old");
  TFrmBXMain& d = Choose(tiles);
  d.ApplySettings();
  EXPECT_EQ(d.FWallpaper, tiles);
  EXPECT_EQ(Desktop("Wallpaper"), tiles);
  EXPECT_FALSE(Exists(ConvertedPath()));
  // Without "Also save to default user" that user's file is not touched.
  EXPECT_TRUE(Exists(DefaultUserConvertedPath()));
  EXPECT_FALSE(DefaultUserDesktop("Wallpaper").has_value());

  // Any case of ".bmp" is a bitmap.
  const std::string mixed = std::string(kPictures) + "tiles.bMp";
  d.FWallpaper = mixed;
  d.ApplySettings();
  EXPECT_EQ(Desktop("Wallpaper"), mixed);
  EXPECT_FALSE(Exists(ConvertedPath()));
}

TEST_F(ApplySettings, NoWallpaperDeletesBothConvertedFiles) {
  Files().WriteTextFile(ConvertedPath(), "old");
  Files().WriteTextFile(DefaultUserConvertedPath(), "old");
  TFrmBXMain& d = Choose("");
  d.CheckBoxSaveToDefUser.SetChecked(true);
  d.ApplySettings();
  EXPECT_FALSE(Exists(ConvertedPath()));
  EXPECT_FALSE(Exists(DefaultUserConvertedPath()));
  EXPECT_EQ(Desktop("Wallpaper"), "");
  EXPECT_EQ(DefaultUserDesktop("Wallpaper"), "");
  EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(ApplySettings, DefaultUserGetsItsOwnCopyFirst) {
  TFrmBXMain& d = Choose(Photo());
  d.CheckBoxSaveToDefUser.SetChecked(true);
  d.RadioButtonTile.SetChecked(true);
  d.CheckBoxStretch.SetChecked(true);
  d.SpinEditOriginX.SetValue(-30);
  d.ApplySettings();
  EXPECT_TRUE(Exists(ConvertedPath()));
  EXPECT_TRUE(Exists(DefaultUserConvertedPath()));
  EXPECT_EQ(Files().ReadFile(ConvertedPath()), Files().ReadFile(DefaultUserConvertedPath()));
  EXPECT_EQ(Desktop("Wallpaper"), ConvertedPath());
  EXPECT_EQ(DefaultUserDesktop("Wallpaper"), DefaultUserConvertedPath());
  for (const auto& [name, text] : {std::pair{"TileWallpaper", "0"},
                                   std::pair{"WallpaperStyle", "3"},
                                   std::pair{"WallPaperOriginX", "-30"},
                                   std::pair{"WallPaperOriginY", "0"}}) {
    SCOPED_TRACE(name);
    EXPECT_EQ(Desktop(name), text);
    EXPECT_EQ(DefaultUserDesktop(name), text);
    const auto raw = Registry().GetRawValue(kHKeyCurrentUser, kDesktopKey, name);
    ASSERT_TRUE(raw.has_value());
    EXPECT_EQ(raw->Type, kRegSz);
  }

  // The default user's file is written before the current user's: when the
  // second cannot be written, the first is there and nothing is stored.
  Form.reset();
  Files().DeleteFile(ConvertedPath());
  Files().DeleteFile(DefaultUserConvertedPath());
  RemoveValue(kHKeyCurrentUser, kDesktopKey, "Wallpaper");
  Registry().SetStringValue(kHKeyCurrentUser, kShellFoldersKey, "AppData", "C:\\Missing");
  TFrmBXMain& again = Choose(Photo());
  again.CheckBoxSaveToDefUser.SetChecked(true);
  again.RadioButtonTile.SetChecked(true);
  System().SysParamCalls.clear();
  again.Dispatch([&] { again.BitBtnOk.Click(); });
  EXPECT_TRUE(Exists(DefaultUserConvertedPath()));
  EXPECT_FALSE(Exists("C:\\Missing\\KVF of Mobrelin.bmp"));
  ASSERT_EQ(MessageTexts().size(), 1u);
  EXPECT_NE(MessageTexts()[0].find("C:\\Missing\\KVF of Mobrelin.bmp"), std::string::npos);
  EXPECT_EQ(again.FWallpaper, Photo());
  EXPECT_FALSE(Desktop("Wallpaper").has_value());
  EXPECT_EQ(Desktop("TileWallpaper"), "0");  // from the first dialog
  EXPECT_TRUE(System().SysParamCalls.empty());
  EXPECT_FALSE(Application().Terminated());
}

TEST_F(ApplySettings, DefaultUserSwitchedOnAfterAConversion) {
  TFrmBXMain& d = Choose(Photo());
  d.ApplySettings();
  ASSERT_EQ(d.FWallpaper, ConvertedPath());
  d.CheckBoxSaveToDefUser.SetChecked(true);
  d.ApplySettings();
  EXPECT_EQ(DefaultUserDesktop("Wallpaper"), DefaultUserConvertedPath());
  EXPECT_FALSE(Exists(DefaultUserConvertedPath()));
  EXPECT_TRUE(Exists(ConvertedPath()));

  // The converted file is recognised in any case of its letters.
  std::string other = ConvertedPath();
  for (char& c : other)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  d.FWallpaper = other;
  d.ApplySettings();
  EXPECT_TRUE(Exists(ConvertedPath()));
  EXPECT_EQ(DefaultUserDesktop("Wallpaper"), DefaultUserConvertedPath());
  EXPECT_EQ(Desktop("Wallpaper"), other);
}

TEST_F(ApplySettings, OwnPreferencesAndDesktopCalls) {
  TFrmBXMain& d = Choose(Photo());
  d.FWallpaperFolder = kPictures;
  d.FOriginPreset = 9;
  d.FBGColorPosition = {5, -7};
  d.FBGColorOption = 10;
  d.CheckBoxSaveToDefUser.SetChecked(true);
  d.CheckBoxShowPreviewGrid.SetChecked(true);
  d.SetShowHint(true);
  // After the grid's preview update, which samples the image for option 10.
  d.FBackgroundColor = MakeColor(10, 20, 30);
  d.ApplySettings();
  struct Expected {
    const char* name;
    std::uint32_t type;
  };
  for (const Expected& e : {Expected{"ShowHint", kRegDword}, {"WallpaperFolder", kRegSz},
                            {"WallpaperOrg", kRegSz}, {"WallpaperOriginPre", kRegDword},
                            {"WallpaperbgColorPositionX", kRegDword},
                            {"WallpaperbgColorPositionY", kRegDword},
                            {"WallpaperSaveToDefUser", kRegDword},
                            {"WallpaperbgColorOption", kRegDword},
                            {"ShowPreviewGrid", kRegDword}}) {
    const auto raw = Registry().GetRawValue(kHKeyCurrentUser, kOwnKey, e.name);
    ASSERT_TRUE(raw.has_value()) << e.name;
    EXPECT_EQ(raw->Type, e.type) << e.name;
  }
  EXPECT_EQ(Own("ShowHint"), 1u);
  EXPECT_EQ(OwnText("WallpaperFolder"), kPictures);
  EXPECT_EQ(Own("WallpaperOriginPre"), 9u);
  EXPECT_EQ(Own("WallpaperbgColorPositionX"), 5u);
  EXPECT_EQ(Own("WallpaperbgColorPositionY"), static_cast<std::uint32_t>(-7));
  EXPECT_EQ(Own("WallpaperSaveToDefUser"), 1u);
  EXPECT_EQ(Own("WallpaperbgColorOption"), 10u);
  EXPECT_EQ(Own("ShowPreviewGrid"), 1u);
  EXPECT_EQ(Registry().GetStringValue(kHKeyCurrentUser, kColorsKey, "Background"), "10 20 30");
  EXPECT_EQ(Registry().GetStringValue(kHKeyUsers, kDefaultUserColorsKey, "Background"),
            "10 20 30");
  // The desktop reloads the wallpaper that is stored, named: a null name
  // would be "the default wallpaper" on today's Windows.
  EXPECT_EQ(System().SysParamCalls, (std::vector<TSysParamCall>{
                                        {kSpiSetDeskWallpaper, 0, ConvertedPath(), kSpifUpdateIniFile}}));
  EXPECT_EQ(System().SysColorCalls,
            (std::vector<TSysColorCall>{{kColorBackground, MakeColor(10, 20, 30)}}));
  // The name is the one stored, read through the registry layer.
  SetDesktop("Wallpaper", "C:\\Windows\\stored.bmp");
  System().SysParamCalls.clear();
  ReloadWallpaper();
  EXPECT_EQ(System().SysParamCalls,
            (std::vector<TSysParamCall>{
                {kSpiSetDeskWallpaper, 0, "C:\\Windows\\stored.bmp", kSpifUpdateIniFile}}));

  // The desktop is told only after every value was stored.
  System().SysParamCalls.clear();
  System().SysColorCalls.clear();
  Registry().SetFailSetValue(kHKeyCurrentUser, kOwnKey);
  EXPECT_THROW(d.ApplySettings(), std::exception);
  EXPECT_TRUE(System().SysParamCalls.empty());
  EXPECT_TRUE(System().SysColorCalls.empty());
}

// Today's Windows stores its own copy of the user's picture without an
// extension; another program may store any picture. Applied, each is
// converted, and "WallpaperOrg" keeps the picture for the next opening.
TEST_F(ApplySettings, AWallpaperStoredElsewhereIsConvertedAndRemembered) {
  const std::string transcoded = "C:\\Users\\me\\Themes\\TranscodedWallpaper";
  Files().CreateDirectory("C:\\Users\\me\\Themes\\");
  Files().WriteFile(transcoded, SolidJpeg(16, 8, 0, 0, 255));
  for (const std::string& stored : {transcoded, Photo()}) {
    SCOPED_TRACE(stored);
    Form.reset();
    SetDesktop("Wallpaper", stored);
    RemoveValue(kHKeyCurrentUser, kOwnKey, "WallpaperOrg");
    TFrmBXMain& d = Dialog();
    EXPECT_EQ(d.FWallpaper, stored);
    EXPECT_TRUE(d.FWallpaperOrg.empty());
    d.RadioButtonTile.SetChecked(true);
    d.Dispatch([&] { d.BitBtnApply.Click(); });
    EXPECT_EQ(MessageTexts(), std::vector<std::string>{});
    EXPECT_EQ(Desktop("Wallpaper"), ConvertedPath());
    EXPECT_EQ(d.FWallpaperOrg, stored);
    EXPECT_EQ(OwnText("WallpaperOrg"), stored);
    EXPECT_TRUE(Near(BmpPixel(Files().ReadFile(ConvertedPath()), 3, 3), MakeColor(0, 0, 255)));
  }
}

// A standard user cannot write the default user's bitmap: that user's part
// is left out, the user told once, and the current user's settings apply.
TEST_F(ApplySettings, DefaultUserWithoutRightsIsSkippedAndToldOnce) {
  Registry().SetStringValue(kHKeyUsers, kDefaultUserShellFoldersKey, "AppData", "C:\\NoRights");
  TFrmBXMain& d = Choose(Photo());
  d.CheckBoxSaveToDefUser.SetChecked(true);
  d.RadioButtonTile.SetChecked(true);
  for (int apply = 0; apply < 2; ++apply) {
    SCOPED_TRACE(apply);
    d.FWallpaper = Photo();
    d.Dispatch([&] { d.BitBtnApply.Click(); });
    EXPECT_FALSE(d.BitBtnApply.Enabled()) << "the apply went through";
    EXPECT_EQ(d.FWallpaper, ConvertedPath());
    EXPECT_EQ(Desktop("Wallpaper"), ConvertedPath());
    EXPECT_EQ(Desktop("TileWallpaper"), "1");
    EXPECT_EQ(Own("WallpaperSaveToDefUser"), 1u);
    EXPECT_FALSE(DefaultUserDesktop("Wallpaper").has_value());
    EXPECT_FALSE(DefaultUserDesktop("TileWallpaper").has_value());
    EXPECT_EQ(System().SysParamCalls.size(), static_cast<std::size_t>(apply + 1));
  }
  const auto& shown = MessageBoxes().Messages;
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].Type, TMsgDlgType::mtInformation);
  EXPECT_EQ(shown[0].Buttons, TMsgDlgButtons{TMsgDlgBtn::mbOK});
  EXPECT_NE(shown[0].Text.find("default user"), std::string::npos) << shown[0].Text;
  EXPECT_NE(shown[0].Text.find("C:\\NoRights\\KVF of Mobrelin.bmp"), std::string::npos);
}

// An old converted file goes only once "Wallpaper" names another file.
TEST_F(ApplySettings, ConvertedFilesGoOnlyAfterTheWallpaperNamesAnother) {
  const std::string tiles = std::string(kPictures) + "tiles.bmp";
  Files().WriteFile(tiles, EncodeBitmapFile(TPixelBuffer(4, 4), tiles));
  Files().WriteTextFile(ConvertedPath(), "old");
  Files().WriteTextFile(DefaultUserConvertedPath(), "old");
  SetDesktop("Wallpaper", ConvertedPath());
  Registry().SetStringValue(kHKeyUsers, kDefaultUserDesktopKey, "Wallpaper",
                            DefaultUserConvertedPath());
  Registry().SetReadOnly(kHKeyUsers, kDefaultUserDesktopKey);
  Registry().SetFailSetValue(kHKeyCurrentUser, kDesktopKey);
  TFrmBXMain& d = Choose(tiles);
  d.CheckBoxSaveToDefUser.SetChecked(true);
  EXPECT_THROW(d.ApplySettings(), std::exception);
  EXPECT_EQ(Desktop("Wallpaper"), ConvertedPath());
  EXPECT_TRUE(Exists(ConvertedPath()));
  EXPECT_TRUE(Exists(DefaultUserConvertedPath()));

  // Stored now for the current user; the default user's value could not be
  // changed and still names its file, which stays.
  Registry().SetFailSetValue(kHKeyCurrentUser, kDesktopKey, false);
  d.ApplySettings();
  EXPECT_EQ(Desktop("Wallpaper"), tiles);
  EXPECT_FALSE(Exists(ConvertedPath()));
  EXPECT_EQ(DefaultUserDesktop("Wallpaper"), DefaultUserConvertedPath());
  EXPECT_TRUE(Exists(DefaultUserConvertedPath()));
}

TEST_F(ApplySettings, IconTransparencyTakesTheBackgroundColour) {
  const std::string icon = std::string(kPictures) + "mark.ico";
  Files().WriteFile(icon, IconWithTransparentCorner());
  TFrmBXMain& d = Choose(icon);
  d.FBackgroundColor = MakeColor(10, 200, 30);
  d.ApplySettings();
  ASSERT_EQ(d.FWallpaper, ConvertedPath());
  // Icons are drawn at the system's icon size: the corner covers a quarter.
  const std::vector<std::uint8_t> bmp = Files().ReadFile(ConvertedPath());
  const int w = static_cast<int>(Read32(bmp, 18)), h = static_cast<int>(Read32(bmp, 22));
  ASSERT_GE(w, 2);
  ASSERT_GE(h, 2);
  EXPECT_EQ(BmpPixel(bmp, w - 1, 0), MakeColor(10, 200, 30));
  EXPECT_EQ(BmpPixel(bmp, w / 2, h / 2 - 1), MakeColor(10, 200, 30));
  EXPECT_EQ(BmpPixel(bmp, 0, 0), MakeColor(255, 0, 0));
  EXPECT_EQ(BmpPixel(bmp, w / 2 - 1, h / 2 - 1), MakeColor(255, 0, 0));
  EXPECT_EQ(BmpPixel(bmp, 0, h - 1), MakeColor(255, 0, 0));
  EXPECT_EQ(BmpPixel(bmp, w - 1, h - 1), MakeColor(255, 0, 0));
}

TEST_F(ApplySettings, EmptyPictureIsAppliedUnconverted) {
  const std::string gif = std::string(kPictures) + "blank.gif";
  Files().WriteFile(gif, GifWithoutFrame());
  Files().WriteTextFile(ConvertedPath(), "old");
  TFrmBXMain& d = Choose(gif);
  d.ApplySettings();
  EXPECT_EQ(d.FWallpaper, gif);
  EXPECT_EQ(Desktop("Wallpaper"), gif);
  EXPECT_FALSE(Exists(ConvertedPath()));
  EXPECT_TRUE(MessageTexts().empty());
}

TEST_F(ApplySettings, LoadErrorLeavesEverythingAsItWas) {
  SetDesktop("Wallpaper", "C:\\Windows\\old.bmp");
  Files().WriteTextFile(ConvertedPath(), "old");
  for (const std::string name : {"broken.jpg", "picture.xyz", "missing.gif"}) {
    SCOPED_TRACE(name);
    const std::string path = kPictures + name;
    if (name != "missing.gif") Files().WriteTextFile(path, "no picture at all");
    // Chosen after the change: the preview of a change would load it too.
    TFrmBXMain& d = Dialog();
    d.RadioButtonTile.SetChecked(true);
    d.FWallpaper = path;
    MessageBoxes().Messages.clear();
    d.Dispatch([&] { d.BitBtnOk.Click(); });
    ASSERT_EQ(MessageTexts().size(), 1u);
    EXPECT_FALSE(MessageTexts()[0].empty());
    EXPECT_FALSE(Application().Terminated());
    EXPECT_EQ(d.FWallpaper, path);
    EXPECT_EQ(Desktop("Wallpaper"), "C:\\Windows\\old.bmp");
    EXPECT_FALSE(Desktop("TileWallpaper").has_value());
    EXPECT_FALSE(Own("ShowHint").has_value());
    EXPECT_TRUE(Exists(ConvertedPath()));
    EXPECT_TRUE(System().SysParamCalls.empty());
    Form.reset();
  }
}

// A default user's registry that this user may not change: that user's
// part is skipped, the user is told once why, the current user's applies.
TEST_F(ApplySettings, ReadOnlyDefaultUserRegistryIsSkippedAndToldOnce) {
  struct Case {
    bool desktopReadOnly, colorsMissing;
    std::string reason;
  };
  const Case cases[] = {
      {true, false, "Failed to set data for 'Wallpaper'"},
      // Its colours alone refused: the desktop values are stored.
      {false, false, "Failed to set data for 'Background'"},
      // A missing key that cannot be made under the read-only ".DEFAULT".
      {false, true, "Failed to create key .DEFAULT\\Control Panel\\Colors"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    Form.reset();
    MessageBoxes().Messages.clear();
    Registry().SetReadOnly(kHKeyUsers, kDefaultUserDesktopKey, false);
    Registry().SetReadOnly(kHKeyUsers, kDefaultUserColorsKey, false);
    Registry().SetReadOnly(kHKeyUsers, ".DEFAULT\\Control Panel", false);
    RemoveValue(kHKeyUsers, kDefaultUserDesktopKey, "TileWallpaper");
    Registry().SetStringValue(kHKeyUsers, kDefaultUserDesktopKey, "Wallpaper", "C:\\logon.bmp");
    Registry().SetStringValue(kHKeyUsers, kDefaultUserColorsKey, "Background", "0 0 0");
    if (c.colorsMissing) {
      DeleteRegistryKey(kHKeyUsers, kDefaultUserColorsKey, false);
      Registry().SetReadOnly(kHKeyUsers, ".DEFAULT\\Control Panel");
    } else {
      Registry().SetReadOnly(kHKeyUsers, kDefaultUserColorsKey);
      if (c.desktopReadOnly) Registry().SetReadOnly(kHKeyUsers, kDefaultUserDesktopKey);
    }
    TFrmBXMain& d = Choose("");
    d.CheckBoxSaveToDefUser.SetChecked(true);
    d.RadioButtonTile.SetChecked(true);
    d.FBackgroundColor = MakeColor(1, 2, 3);
    for (int apply = 0; apply < 2; ++apply) {
      d.RadioButtonCenter.SetChecked(apply == 1);
      d.Dispatch([&] { d.BitBtnApply.Click(); });
      EXPECT_FALSE(d.BitBtnApply.Enabled()) << "the apply went through";
    }
    if (c.desktopReadOnly) {
      EXPECT_EQ(DefaultUserDesktop("Wallpaper"), "C:\\logon.bmp");
      EXPECT_FALSE(DefaultUserDesktop("TileWallpaper").has_value());
    } else {
      EXPECT_EQ(DefaultUserDesktop("Wallpaper"), "");
      EXPECT_EQ(DefaultUserDesktop("TileWallpaper"), "0");
    }
    if (c.colorsMissing)
      EXPECT_FALSE(Registry().KeyExists(kHKeyUsers, kDefaultUserColorsKey));
    else
      EXPECT_EQ(Registry().GetStringValue(kHKeyUsers, kDefaultUserColorsKey, "Background"),
                "0 0 0");
    EXPECT_EQ(Desktop("Wallpaper"), "");
    EXPECT_EQ(Desktop("TileWallpaper"), "0");
    EXPECT_EQ(Registry().GetStringValue(kHKeyCurrentUser, kColorsKey, "Background"), "1 2 3");
    EXPECT_EQ(Own("WallpaperSaveToDefUser"), 1u);
    const auto& shown = MessageBoxes().Messages;
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].Type, TMsgDlgType::mtInformation);
    EXPECT_EQ(shown[0].Buttons, TMsgDlgButtons{TMsgDlgBtn::mbOK});
    EXPECT_EQ(shown[0].Text, "The default user could not be changed (" + c.reason +
                                 "). The settings were applied to the current user.");
  }
}

TEST(BitmapFile, TwentyFourBitBottomUpWithPaddedRows) {
  TPixelBuffer picture(3, 2);
  picture.SetPixel(0, 0, MakeColor(1, 2, 3));
  picture.SetPixel(2, 0, MakeColor(4, 5, 6));
  picture.SetPixel(0, 1, MakeColor(7, 8, 9));
  const std::vector<std::uint8_t> file = EncodeBitmapFile(picture, "x.bmp");
  const std::uint32_t stride = 12;  // 3 pixels of 3 bytes, padded to 4
  ASSERT_EQ(file.size(), 54u + stride * 2);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(Read32(file, 2), file.size());
  EXPECT_EQ(Read32(file, 10), 54u);
  EXPECT_EQ(Read32(file, 14), 40u);
  EXPECT_EQ(Read32(file, 18), 3u);
  EXPECT_EQ(Read32(file, 22), 2u);
  EXPECT_EQ(file[26] | (file[27] << 8), 1);
  EXPECT_EQ(file[28] | (file[29] << 8), 24);
  EXPECT_EQ(Read32(file, 30), 0u);
  EXPECT_EQ(Read32(file, 34), stride * 2);
  // The bottom row comes first, blue before green before red.
  EXPECT_EQ(file[54], 9);
  EXPECT_EQ(file[55], 8);
  EXPECT_EQ(file[56], 7);
  EXPECT_EQ(file[54 + stride], 3);
  EXPECT_EQ(file[54 + stride + 6], 6);
  EXPECT_EQ(file[54 + stride + 9], 0);  // padding
  EXPECT_EQ(BmpPixel(file, 2, 0), MakeColor(4, 5, 6));
}

}  // namespace
}  // namespace bx
