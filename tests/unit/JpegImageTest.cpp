#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <set>
#include <string>

#include <jerror.h>

#include "components/JpegImage.h"
#include "platform/Errors.h"
#include "tests/unit/HostileFiles.h"
#include "tests/unit/ImageTestSupport.h"
#include "tests/unit/ImageWriters.h"

namespace bx {
namespace {

using test::TBytes;

// libjpeg's own decode with the options the picture loader uses, for
// comparison: RGB triples or palette indices mapped through the colour map.
std::vector<TColor> ReferenceDecode(const TBytes& file, bool quantize, unsigned eighths = 8) {
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  errors.output_message = [](j_common_ptr) {};  // a file cut short is decoded, not reported
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, file.data(), file.size());
  jpeg_read_header(&info, TRUE);
  info.dct_method = JDCT_FLOAT;
  info.do_block_smoothing = TRUE;
  info.scale_num = eighths;
  info.scale_denom = 8;
  if (quantize) {
    info.quantize_colors = TRUE;
    info.desired_number_of_colors = 236;
  } else {
    info.out_color_space = JCS_RGB;
  }
  jpeg_start_decompress(&info);
  std::vector<JSAMPLE> row(info.output_width * info.output_components);
  std::vector<TColor> out;
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[1] = {row.data()};
    jpeg_read_scanlines(&info, rows, 1);
    for (JDIMENSION x = 0; x < info.output_width; ++x) {
      if (!quantize) {
        out.push_back(MakeColor(row[3 * x], row[3 * x + 1], row[3 * x + 2]));
      } else if (info.out_color_components == 1) {
        const unsigned v = info.colormap[0][row[x]];
        out.push_back(MakeColor(v, v, v));
      } else {
        out.push_back(MakeColor(info.colormap[0][row[x]], info.colormap[1][row[x]], info.colormap[2][row[x]]));
      }
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return out;
}

std::vector<TColor> Colors(const TPixelBuffer& pixels) {
  std::vector<TColor> out;
  for (int y = 0; y < pixels.Height(); ++y)
    for (int x = 0; x < pixels.Width(); ++x) out.push_back(pixels.GetPixel(x, y));
  return out;
}

std::string LoadError(const TBytes& file) {
  TJPEGImage image;
  try {
    image.LoadFromData(file);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "loaded";
}

std::string JpegError(int code) { return "JPEG error #" + std::to_string(code); }

std::string DrawError(const TBytes& file) {
  TJPEGImage image;
  try {
    image.LoadFromData(file);
    TPixelBuffer target(8, 8);
    image.Draw(target, 0, 0);
  } catch (const Exception& e) {
    return e.Message();
  }
  return "drawn";
}

TEST(JpegImage, DecodesAtFirstDrawAsLibjpegDoes) {
  test::TImagePlatform platform;
  for (bool progressive : {false, true}) {
    SCOPED_TRACE(progressive ? "progressive" : "baseline");
    const TBytes file = test::WriteJpeg(61, 37, 3, test::GradientSamples(61, 37), 90, progressive);
    TJPEGImage image;
    image.LoadFromData(file);
    EXPECT_EQ(image.Width(), 61);
    EXPECT_EQ(image.Height(), 37);
    EXPECT_FALSE(image.Empty());
    EXPECT_FALSE(image.Quantized());
    TPixelBuffer target(70, 40);
    target.Fill(MakeColor(255, 0, 0));
    image.Draw(target, 2, 1);
    EXPECT_EQ(target.GetPixel(1, 1), MakeColor(255, 0, 0));
    EXPECT_EQ(target.GetPixel(63, 1), MakeColor(255, 0, 0));
    const std::vector<TColor> expected = ReferenceDecode(file, false);
    const std::vector<TColor> decoded = Colors(image.Pixels());
    EXPECT_EQ(decoded, expected);
    EXPECT_EQ(target.GetPixel(2, 1), expected[0]);
    EXPECT_EQ(target.GetPixel(62, 37), expected.back());
    for (int i = 0; i < image.Pixels().Width() * image.Pixels().Height(); ++i)
      ASSERT_EQ(image.Pixels().Data()[i] >> 24, 0u);
    // Drawn again: the same pixels, from the kept image.
    const TPixel* kept = image.Pixels().Data();
    TPixelBuffer again(61, 37);
    image.Draw(again, 0, 0);
    EXPECT_EQ(image.Pixels().Data(), kept);
    EXPECT_EQ(Colors(again), expected);
  }
}

TEST(JpegImage, ShownSmallerDecodesReducedAndRowsStayWhole) {
  test::TImagePlatform platform;
  for (bool progressive : {false, true}) {
    SCOPED_TRACE(progressive ? "progressive" : "baseline");
    const TBytes file = test::WriteJpeg(203, 101, 3, test::GradientSamples(203, 101), 90, progressive);
    TJPEGImage image;
    image.LoadFromData(file);
    // The smallest eighth of 203 x 101 that still covers 60 x 20 is 3/8:
    // 77 x 38 (libjpeg rounds up); 2/8 would be 51 wide.
    image.SetShownSize(60, 20);
    EXPECT_EQ(image.Width(), 203);
    EXPECT_EQ(image.Height(), 101);
    EXPECT_EQ(image.DecodedWidth(), 77);
    EXPECT_EQ(image.DecodedHeight(), 38);
    EXPECT_EQ(image.Pixels().Width(), 77);
    EXPECT_EQ(image.Pixels().Height(), 38);
    EXPECT_EQ(Colors(image.Pixels()), ReferenceDecode(file, false, 3));
    // Rows are the whole image, whatever the drawn pixels' reduction.
    std::vector<TColor> rows;
    int next = 0;
    image.ReadRows(MakeColor(255, 0, 0), [&](int y, const TPixel* row) {
      EXPECT_EQ(y, next++);
      for (int x = 0; x < 203; ++x) rows.push_back(PixelToColor(row[x]));
    });
    EXPECT_EQ(next, 101);
    EXPECT_EQ(rows, ReferenceDecode(file, false));
    EXPECT_EQ(image.Pixels().Width(), 77);
    // Shown at its own size or larger: decoded whole again.
    image.SetShownSize(400, 400);
    EXPECT_EQ(image.DecodedWidth(), 203);
    EXPECT_EQ(Colors(image.Pixels()), ReferenceDecode(file, false));
    image.SetShownSize(0, 0);
    EXPECT_EQ(image.Pixels().Height(), 101);
  }
  EXPECT_EQ(JpegScaleEighths(9504, 6336, 3840, 2160), 4);
  EXPECT_EQ(JpegScaleEighths(11648, 8736, 3840, 2160), 3);
  EXPECT_EQ(JpegScaleEighths(6000, 4000, 1920, 1080), 3);
  EXPECT_EQ(JpegScaleEighths(1920, 1080, 3840, 2160), 8);
}

TEST(JpegImage, LargeImagesDecodeInTwoPartsAsLibjpegDecodesThemWhole) {
  test::TImagePlatform platform;
  auto detailed = [](int width, int height) {
    std::vector<std::uint8_t> samples = test::GradientSamples(width, height);
    std::uint32_t seed = 7;
    for (std::uint8_t& s : samples) {
      seed = seed * 1664525u + 1013904223u;
      s = static_cast<std::uint8_t>(std::clamp(s + static_cast<int>(seed >> 28) - 8, 0, 255));
    }
    return samples;
  };
  struct TCase {
    const char* Name;
    TBytes File;
    int Eighths;
    int Cut;  // the first row of the second part
  };
  // 2900 x 2900 reduced to 4/8 is 1450 x 1450, just above the 2^21 pixels
  // worth a second thread; rows of blocks are 8 high there, 16 whole.
  const TBytes subsampled = test::WriteJpeg(2900, 2900, 3, detailed(2900, 2900), 85);
  const TBytes fullChroma = test::WriteJpeg(2101, 1003, 3, detailed(2101, 1003), 85, false, true);
  const TCase cases[] = {
      {"4:2:0 whole", subsampled, 8, 1920},
      {"4:2:0 at 4/8", subsampled, 4, 960},
      {"4:4:4 whole, odd size", fullChroma, 8, 664},
      {"cut short in its second part", TBytes(subsampled.begin(), subsampled.begin() + subsampled.size() * 4 / 5), 8, 1920},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(JpegSplitRow(c.File, c.Eighths), c.Cut);
    TPixelBuffer pixels;
    DecodeJpeg(c.File, false, pixels, c.Eighths);
    EXPECT_EQ(Colors(pixels), ReferenceDecode(c.File, false, static_cast<unsigned>(c.Eighths)));
  }
  // Not split: reduced to a quarter, a smaller image, several scans.
  EXPECT_EQ(JpegSplitRow(subsampled, 2), 0);
  EXPECT_EQ(JpegSplitRow(fullChroma, 4), 0);
  EXPECT_EQ(JpegSplitRow(test::WriteJpeg(1500, 1500, 3, detailed(1500, 1500), 85, true), 8), 0);
}

TEST(JpegImage, QuantizesGreyscaleFilesAndOnPaletteDisplays) {
  test::TImagePlatform platform;
  std::vector<std::uint8_t> grey(40 * 30);
  for (std::size_t i = 0; i < grey.size(); ++i) grey[i] = static_cast<std::uint8_t>(i * 255 / grey.size());
  const TBytes greyFile = test::WriteJpeg(40, 30, 1, grey);
  const TBytes colorFile = test::WriteJpeg(40, 30, 3, test::GradientSamples(40, 30));

  TJPEGImage greyImage;
  greyImage.LoadFromData(greyFile);
  EXPECT_TRUE(greyImage.Quantized());
  EXPECT_EQ(Colors(greyImage.Pixels()), ReferenceDecode(greyFile, true));

  TJPEGImage truecolor;
  truecolor.LoadFromData(colorFile);
  EXPECT_FALSE(truecolor.Quantized());

  platform.System.ColorDepth = 8;
  TJPEGImage paletted;
  paletted.LoadFromData(colorFile);
  EXPECT_TRUE(paletted.Quantized());
  const std::vector<TColor> colors = Colors(paletted.Pixels());
  EXPECT_EQ(colors, ReferenceDecode(colorFile, true));
  EXPECT_LE(std::set<TColor>(colors.begin(), colors.end()).size(), 236u);
}

TEST(JpegImage, ErrorsCarryLibjpegsCode) {
  test::TImagePlatform platform;
  EXPECT_EQ(LoadError({}), JpegError(JERR_INPUT_EMPTY));
  EXPECT_EQ(LoadError({'B', 'M', 1, 2, 3, 4}), JpegError(JERR_NO_SOI));
  const TBytes sound = test::WriteJpeg(16, 16, 3, test::GradientSamples(16, 16));
  // Cut inside the header: the source ends the data with an end marker.
  EXPECT_EQ(LoadError(TBytes(sound.begin(), sound.begin() + 30)), JpegError(JERR_NO_IMAGE));

  // A frame header claiming 60000 x 60000 pixels: sound, but too large to hold.
  EXPECT_EQ(LoadError(test::JpegClaiming(sound, 60000, 60000)), "Not enough memory for a bitmap of 60000 x 60000 pixels");

  // A photo may claim up to 2^27 pixels in either build, whatever its
  // file's size, since it can be decoded reduced; what is held decoded
  // grows with the file: a small file claiming a camera's 8000 x 6000 fails
  // when drawn whole, before anything of that size is allocated.
  auto claiming = [&](int width, int height, std::size_t fileSize, bool draw) {
    TBytes file = test::JpegClaiming(sound, width, height);
    file.resize(fileSize, 0);  // after the end marker
    return draw ? DrawError(file) : LoadError(file);
  };
  const std::string tooLarge = "Not enough memory for a bitmap of 8000 x 6000 pixels";
  EXPECT_EQ(claiming(8000, 6000, 64 * 1024, false), "loaded");
  EXPECT_EQ(claiming(11648, 8736, 64 * 1024, false), "loaded");
  EXPECT_EQ(claiming(11648, 11648, 64 << 20, false),
            "Not enough memory for a bitmap of 11648 x 11648 pixels");
  const std::uint64_t before = TPixelBuffer::AllocatedPixels();
  EXPECT_EQ(claiming(8000, 6000, 1 << 20, true), tooLarge);
  EXPECT_LT(TPixelBuffer::AllocatedPixels() - before, 8000u * 6000u / 64);
}

TEST(JpegImage, WorkIsBoundedByTheFilesSize) {
  test::TImagePlatform platform;
  // A progressive 1024 x 1024 file whose last scan is repeated: 1000 scans
  // would walk the image's 2^20 coefficients a thousand times. Its six
  // scans of an ordinary progression decode; the repeats fail long before
  // their end.
  EXPECT_EQ(DrawError(test::ManyScanJpeg(1024, 6)), "drawn");
  EXPECT_EQ(DrawError(test::ManyScanJpeg(1024, 1000)), JpegError(JERR_BAD_PROGRESSION));

  // A sound header claiming 8192 x 4096 pixels over a body of a few hundred
  // bytes: less than a bit for each of its blocks. It fails when drawn,
  // without anything of its size allocated; a body cut to half still draws.
  const TBytes small = test::WriteJpeg(64, 64, 1, std::vector<std::uint8_t>(64 * 64, 90));
  const TBytes claiming = test::JpegClaiming(small, 8192, 4096);
  const std::uint64_t before = TPixelBuffer::AllocatedPixels();
  EXPECT_EQ(DrawError(claiming), JpegError(JWRN_JPEG_EOF));
  EXPECT_LT(TPixelBuffer::AllocatedPixels() - before, 8192u * 4096u / 64);
  const TBytes photo = test::WriteJpeg(256, 256, 3, test::GradientSamples(256, 256));
  EXPECT_EQ(DrawError(TBytes(photo.begin(), photo.begin() + photo.size() / 2)), "drawn");
}

TEST(JpegImage, DamagedBodyLoadsAndFailsAtTheFirstDraw) {
  test::TImagePlatform platform;
  TBytes file = test::WriteJpeg(32, 32, 3, test::GradientSamples(32, 32), 90, true);
  // Spoil the spectral selection of the second scan: the header up to the
  // first scan stays sound.
  int scans = 0;
  for (std::size_t i = 0; i + 1 < file.size(); ++i) {
    if (file[i] == 0xFF && file[i + 1] == 0xDA && ++scans == 2) {
      const std::size_t ns = file[i + 4];
      file[i + 5 + 2 * ns] = 40;     // Ss
      file[i + 5 + 2 * ns + 1] = 2;  // Se
      break;
    }
  }
  ASSERT_EQ(scans, 2);
  TJPEGImage image;
  image.LoadFromData(file);
  EXPECT_EQ(image.Width(), 32);
  TPixelBuffer target(32, 32);
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      image.Draw(target, 0, 0);
      ADD_FAILURE() << "drawn";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), JpegError(JERR_BAD_PROGRESSION));
    }
  }
}

}  // namespace
}  // namespace bx
