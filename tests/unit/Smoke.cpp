#include <gtest/gtest.h>

#include "components/PixelBuffer.h"

namespace bx {
namespace {

TEST(PixelBuffer, StretchCopyClipsAndScales) {
  TPixelBuffer src(2, 1);
  src.SetPixel(0, 0, MakeColor(255, 0, 0));
  src.SetPixel(1, 0, MakeColor(0, 0, 255));
  TPixelBuffer dst(5, 2);
  dst.Fill(MakeColor(0, 255, 0));
  dst.StretchCopy({-1, 0, 3, 2}, src, {0, 0, 2, 1});
  EXPECT_EQ(dst.GetPixel(0, 0), MakeColor(255, 0, 0));
  EXPECT_EQ(dst.GetPixel(1, 1), MakeColor(0, 0, 255));
  EXPECT_EQ(dst.GetPixel(2, 0), MakeColor(0, 0, 255));
  EXPECT_EQ(dst.GetPixel(3, 0), MakeColor(0, 255, 0));
  EXPECT_EQ(dst.GetPixel(5, 0), TPixelBuffer::kInvalidColor);
}

TEST(PixelBuffer, InvertTwiceRestores) {
  TPixelBuffer b(10, 10);
  b.Fill(MakeColor(10, 20, 30));
  b.Line(0, 5, 10, 5, 3, 0, TPenMode::pmNot);
  EXPECT_EQ(b.GetPixel(4, 4), MakeColor(245, 235, 225));
  EXPECT_EQ(b.GetPixel(4, 7), MakeColor(10, 20, 30));
  b.Line(4, 0, 4, 10, 1, 0, TPenMode::pmNot);
  EXPECT_EQ(b.GetPixel(4, 5), MakeColor(10, 20, 30));
  EXPECT_THROW(b.SetSize(70000, 70000), std::exception);
  EXPECT_EQ(b.Width(), 10);
}

}  // namespace
}  // namespace bx
