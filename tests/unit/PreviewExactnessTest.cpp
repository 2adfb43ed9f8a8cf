// The preview control's pixels, reduced straight from the scene, against
// the desktop-size picture composed whole and then reduced: the same, bit
// for bit, for every placement.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "PreviewFixture.h"
#include "components/PictureReduction.h"

namespace bx {
namespace {

class PreviewExactnessTest : public PreviewFixture {};

TEST_F(PreviewExactnessTest, ReducedPreviewEqualsTheWholePictureReduced) {
  SetColors("Background", "0 128 128");
  const std::string odd = WriteImage("odd.bmp", 101, 51);
  const std::string big = WriteImage("big.bmp", 1301, 997, [](int x, int y) {
    return MakeColor(x * 7 & 255, y * 3 & 255, (x ^ y) & 255);
  });
  const std::string tiny = WriteImage("tiny.bmp", 3, 5);
  StoreWallpaper(odd);
  TFrmBXMain& d = Dialog();
  ASSERT_EQ(d.ImageWallpaper.PictureWidth(), 1024);

  struct TCase {
    const char* Name;
    const std::string* Path;
    int Tile, Style, X, Y;
  };
  const std::vector<TCase> cases = {
      // Centred, at origins inside, across every edge, and beyond the desktop.
      {"centred", &odd, 0, 0, 0, 0},
      {"at an origin", &odd, 0, 0, 13, 7},
      {"across the top left", &odd, 0, 0, -50, -20},
      {"across the bottom right", &odd, 0, 0, 990, 740},
      {"beyond the desktop", &odd, 0, 0, 5000, 3000},
      {"before the desktop", &odd, 0, 0, -32767, -32767},
      {"larger than the desktop", &big, 0, 0, 0, 0},
      {"larger, moved", &big, 0, 0, -37, 11},
      // Tiles, their phase from origins of either sign, and a tiny tile.
      {"tiled", &odd, 1, 0, 0, 0},
      {"tiled at an origin", &odd, 1, 0, 5, 3},
      {"tiled at a negative origin", &odd, 1, 0, -7, -101},
      {"tiled far away", &odd, 1, 0, 32767, -32767},
      {"tiny tiles", &tiny, 1, 0, 1, 2},
      {"large tiles", &big, 1, 0, 400, 300},
      // Stretched, once and tiled.
      {"stretched", &odd, 0, 2, 0, 0},
      {"stretched at an origin", &big, 0, 2, 300, -200},
      {"stretched and tiled", &odd, 0, 3, 0, 0},
      {"stretched and tiled at an origin", &odd, 0, 3, -333, 222},
  };
  const std::pair<int, int> sizes[] = {{151, 111}, {97, 53}, {1024, 768}};
  for (const TCase& c : cases) {
    for (const bool grid : {false, true}) {
      for (const bool pattern : {false, true}) {
        SCOPED_TRACE(std::string(c.Name) + (grid ? ", grid" : "") + (pattern ? ", pattern" : ""));
        d.FPattern = pattern ? TPattern{0x81, 0x42, 0, 0x18, 0, 0xFF, 0, 0x01} : TPattern{};
        d.BuildPatternBitmap(MakeColor(200, 10, 30), d.FBackgroundColor);
        d.FShowPreviewGrid = grid;
        d.FWallpaper = *c.Path;
        d.FTileWallpaper = c.Tile;
        d.FWallpaperStyle = c.Style;
        d.FOriginPreset = 0;
        d.SpinEditOriginX.SetValue(c.X);
        d.SpinEditOriginY.SetValue(c.Y);
        d.UpdatePreview();
        ASSERT_EQ(d.FOriginX, c.X);
        for (auto [w, h] : sizes) {
          std::vector<TPixel> reduced(static_cast<std::size_t>(w) * h, 0xDEAD);
          std::vector<TPixel> whole(reduced.size(), 0xBEEF);
          ASSERT_TRUE(d.ImageWallpaper.Reduce(reduced.data(), w, h));
          ReducePicture(std::as_const(d.ImageWallpaper).Picture(), whole.data(), w, h);
          EXPECT_EQ(reduced, whole) << w << " x " << h;
        }
      }
    }
  }
}

}  // namespace
}  // namespace bx
