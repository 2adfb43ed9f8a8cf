// The decoders as the Windows build has them: PNG icon entries through the
// cross-built libpng (whose errors jump out of its frames), a JPEG whose
// scans exceed the work its size allows, and a GIF frame far wider than its
// screen, where giflib counts pixels in a 32-bit long.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "components/GifImage.h"
#include "components/IconImage.h"
#include "components/JpegImage.h"
#include "platform/Errors.h"
#include "tests/unit/HostileFiles.h"
#include "tests/unit/ImageTestSupport.h"

#include <jerror.h>

namespace bx {
namespace {

template <class TImage>
std::string Outcome(const test::TBytes& file, TPixelBuffer& target) {
  try {
    TImage image;
    image.LoadFromData(file);
    image.Draw(target, 0, 0);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "drawn";
}

TEST(DecoderBounds, PngIconsAndHostileFilesInTheWindowsBuild) {
  test::TImagePlatform platform;
  test::TIconImageSpec png;
  png.Png = true;
  png.Width = png.Height = 32;
  for (int i = 0; i < 32 * 32; ++i) png.Values.push_back(i % 2 ? 0xFF00FF00 : 0x00000000);
  const test::TBytes icon = test::WriteIco({png});
  TPixelBuffer target(32, 32);
  target.Fill(MakeColor(0, 0, 200));
  EXPECT_EQ(Outcome<TIcon>(icon, target), "drawn");
  EXPECT_EQ(target.GetPixel(0, 0), MakeColor(0, 0, 200));
  EXPECT_EQ(target.GetPixel(1, 0), MakeColor(0, 255, 0));
  test::TBytes cut = icon;
  cut.resize(cut.size() - 30);
  EXPECT_EQ(Outcome<TIcon>(cut, target), "Icon image is not valid");

  EXPECT_EQ(Outcome<TJPEGImage>(test::ManyScanJpeg(1024, 1000), target),
            "JPEG error #" + std::to_string(JERR_BAD_PROGRESSION));

  // 65535 x 40000 pixels: more than a 32-bit long holds.
  TPixelBuffer column(1, 32768);
  column.Fill(MakeColor(255, 0, 0));
  EXPECT_EQ(Outcome<TGIFImage>(test::LongStringGif(1, 32768, 65535, 40000), column), "drawn");
  EXPECT_EQ(column.GetPixel(0, 0), MakeColor(0, 0, 0));
  EXPECT_EQ(column.GetPixel(0, 32767), MakeColor(255, 0, 0));

  // A screen of 20 million pixels is within what any file may claim in
  // both builds (2^25 pixels); 40 million needs a file of a byte for
  // every 32 of them, which this small file is not.
  test::TGifFrameSpec dot;
  dot.Width = dot.Height = 1;
  dot.Indices = {1};
  const test::TBytes large = test::WriteGif({5000, 4000, {MakeColor(0, 0, 0), MakeColor(9, 9, 9)}, {dot}});
  EXPECT_EQ(Outcome<TGIFImage>(large, target), "drawn");
  const test::TBytes larger = test::WriteGif({8000, 5000, {MakeColor(0, 0, 0), MakeColor(9, 9, 9)}, {dot}});
  EXPECT_EQ(Outcome<TGIFImage>(larger, target), "Not enough memory for a bitmap of 8000 x 5000 pixels");
}

}  // namespace
}  // namespace bx
