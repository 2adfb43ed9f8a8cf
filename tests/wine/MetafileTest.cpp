// Metafiles written with GDI, loaded and drawn through the picture loader
// with GDI's player, under the real GDI.
#include <gtest/gtest.h>

#include <vector>

#include "components/Picture.h"
#include "platform/win32/GdiMetafilePlayer.h"
#include "tests/unit/HostileFiles.h"
#include "tests/unit/ImageTestSupport.h"
#include "tests/unit/ImageWriters.h"

#include <windows.h>

namespace bx {
namespace {

constexpr TColor kWhite = 0xFFFFFF;

// An enhanced metafile one inch square whose left half is red.
std::vector<std::uint8_t> HalfRedEnhanced() {
  HDC screen = GetDC(nullptr);
  const int inchX = MulDiv(GetDeviceCaps(screen, HORZRES), 254, GetDeviceCaps(screen, HORZSIZE) * 10);
  const int inchY = MulDiv(GetDeviceCaps(screen, VERTRES), 254, GetDeviceCaps(screen, VERTSIZE) * 10);
  const RECT frame{0, 0, 2540, 2540};
  HDC dc = CreateEnhMetaFileW(screen, nullptr, &frame, nullptr);
  ReleaseDC(nullptr, screen);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  const RECT half{0, 0, inchX / 2, inchY};
  FillRect(dc, &half, red);
  HENHMETAFILE metafile = CloseEnhMetaFile(dc);
  DeleteObject(red);
  std::vector<std::uint8_t> bytes(GetEnhMetaFileBits(metafile, 0, nullptr));
  GetEnhMetaFileBits(metafile, static_cast<UINT>(bytes.size()), bytes.data());
  DeleteEnhMetaFile(metafile);
  return bytes;
}

// Windows metafile records of 1440 units square whose left half is blue;
// with or without their own window origin and extent.
std::vector<std::uint8_t> HalfBlueRecords(bool window) {
  HDC dc = CreateMetaFileW(nullptr);
  if (window) {
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, 1440, 1440, nullptr);
  }
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  const RECT half{0, 0, 720, 1440};
  FillRect(dc, &half, blue);
  HMETAFILE metafile = CloseMetaFile(dc);
  DeleteObject(blue);
  std::vector<std::uint8_t> bytes(GetMetaFileBitsEx(metafile, 0, nullptr));
  GetMetaFileBitsEx(metafile, static_cast<UINT>(bytes.size()), bytes.data());
  DeleteMetaFile(metafile);
  return bytes;
}

TPixelBuffer Drawn(TPicture& picture, TColor background) {
  TPixelBuffer target(picture.Width(), picture.Height());
  target.Fill(background);
  picture.Draw(target, 0, 0);
  return target;
}

TEST(GdiMetafile, EnhancedDrawnThroughThePictureLoader) {
  test::TImagePlatform platform(&GdiMetafilePlayer());
  platform.Files.Files["C:\\half.emf"] = HalfRedEnhanced();
  TPicture picture;
  picture.LoadFromFile("C:\\half.emf");
  ASSERT_GT(picture.Width(), 40);
  ASSERT_GT(picture.Height(), 40);
  const TPixelBuffer target = Drawn(picture, kWhite);
  const int w = target.Width(), h = target.Height();
  EXPECT_EQ(target.GetPixel(w / 4, h / 2), RGB(255, 0, 0));
  EXPECT_EQ(target.GetPixel(3 * w / 4, h / 2), kWhite);
  // Drawn again at an offset, clipped: the same picture.
  TPixelBuffer shifted(w, h);
  shifted.Fill(kWhite);
  picture.Draw(shifted, -w / 4, 0);
  EXPECT_EQ(shifted.GetPixel(1, h / 2), RGB(255, 0, 0));
  EXPECT_EQ(shifted.GetPixel(w / 2, h / 2), kWhite);
  EXPECT_EQ(shifted.GetPixel(w - 2, h / 2), kWhite);
  // Without an extension the header tells the kind.
  platform.Files.Files["C:\\half"] = platform.Files.Files["C:\\half.emf"];
  TPicture unnamed;
  unnamed.LoadFromFile("C:\\half");
  EXPECT_EQ(Drawn(unnamed, kWhite).GetPixel(w / 4, h / 2), RGB(255, 0, 0));
}

TEST(GdiMetafile, PlaceableDrawnThroughThePictureLoader) {
  test::TImagePlatform platform(&GdiMetafilePlayer());
  for (bool window : {true, false}) {
    SCOPED_TRACE(window ? "own window records" : "box only");
    platform.Files.Files["C:\\half.wmf"] = test::WritePlaceableWmf(0, 0, 1440, 1440, 1440, HalfBlueRecords(window));
    TPicture picture;
    picture.LoadFromFile("C:\\half.wmf");
    EXPECT_EQ(picture.Width(), 96);
    EXPECT_EQ(picture.Height(), 96);
    const TPixelBuffer target = Drawn(picture, kWhite);
    EXPECT_EQ(target.GetPixel(10, 10), RGB(0, 0, 255));
    EXPECT_EQ(target.GetPixel(46, 90), RGB(0, 0, 255));
    EXPECT_EQ(target.GetPixel(50, 10), kWhite);
    EXPECT_EQ(target.GetPixel(95, 95), kWhite);
  }
  // Records whose sizes do not chain are refused before GDI sees them.
  std::vector<std::uint8_t> junk = HalfBlueRecords(true);
  for (std::size_t i = 18; i < junk.size(); ++i) junk[i] = 0xEE;
  platform.Files.Files["C:\\junk.wmf"] = test::WritePlaceableWmf(0, 0, 1440, 1440, 1440, junk);
  TPicture picture;
  try {
    picture.LoadFromFile("C:\\junk.wmf");
    ADD_FAILURE() << "loaded";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Metafile is not valid");
  }
}

// A megabyte of fills over an 8192 x 4096 picture: GDI plays them at the
// smaller size their work allows, and the picture is all filled.
TEST(GdiMetafile, ManyFillsOverALargePicture) {
  test::TImagePlatform platform(&GdiMetafilePlayer());
  const TColor background = MakeColor(0, 128, 128);
  // Within the 32-bit build's bound on a picture's size too.
  platform.Files.Files["C:\\fills.wmf"] = test::ManyFillWmf(1 << 20, 4096, 2048);
  platform.Files.Files["C:\\fills.emf"] = test::ManyFillEmf(1 << 20, 4096, 2048);
  for (const char* name : {"C:\\fills.wmf", "C:\\fills.emf"}) {
    SCOPED_TRACE(name);
    TPicture picture;
    picture.LoadFromFile(name);
    ASSERT_EQ(picture.Width(), 4096);
    ASSERT_EQ(picture.Height(), 2048);
    TPixelBuffer bitmap;
    picture.Compose(bitmap, background);
    // The default brush is white; the rectangles' black pen stays at the edges.
    for (auto [x, y] : {std::pair{100, 100}, {2048, 1024}, {4000, 2000}})
      EXPECT_EQ(bitmap.GetPixel(x, y), kWhite) << x << "," << y;
  }
}

}  // namespace
}  // namespace bx
