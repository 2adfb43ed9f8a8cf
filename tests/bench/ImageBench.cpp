// Decoding speed of the picture loader against references measured in the
// same run: libjpeg's own decode of the same JPEG with the same options, and
// a plain copy of a BMP's pixel bytes. Each benchmark times both, in
// alternating order, and reports the ratio as the counter "ratio".
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

#include <jpeglib.h>

#include "binding/portable/PortableEnvironment.h"
#include "components/BmpImage.h"
#include "components/JpegImage.h"
#include "components/Picture.h"
#include "components/PicturePreview.h"
#include "components/PngImage.h"
#include "components/WebpImage.h"
#include "tests/bench/PhotoJpeg.h"
#include "tests/unit/PngWebpWriters.h"

namespace {

using namespace bx;
using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

const test::TBytes& PhotoJpeg() {
  static const test::TBytes file = test::MakePhotoJpeg();
  return file;
}

// libjpeg's own decode: the loader's options, straight into a new image of
// the same layout.
void LibjpegDecode(const test::TBytes& file) {
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, file.data(), file.size());
  jpeg_read_header(&info, TRUE);
  info.dct_method = JDCT_FLOAT;
  info.do_block_smoothing = TRUE;
  info.out_color_space = JCS_EXT_BGRX;
  jpeg_start_decompress(&info);
  const std::size_t stride = static_cast<std::size_t>(info.output_width) * 4;
  std::unique_ptr<JSAMPLE[]> image(new JSAMPLE[stride * info.output_height]);
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[16];
    const JDIMENSION count = std::min<JDIMENSION>(16, info.output_height - info.output_scanline);
    for (JDIMENSION i = 0; i < count; ++i) rows[i] = image.get() + (info.output_scanline + i) * stride;
    jpeg_read_scanlines(&info, rows, count);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  benchmark::DoNotOptimize(image.get());
}

// Our work against a reference's, alternating which goes first; `prepare`
// runs untimed before each pair. Reports both times and their ratio.
void OursVsReference(benchmark::State& state, const std::function<void()>& ours,
                     const std::function<void()>& reference, const char* referenceCounter,
                     const char* label, const std::function<void()>& prepare = {}) {
  double oursSeconds = 0, referenceSeconds = 0;
  bool oursFirst = true;
  for (auto _ : state) {
    if (prepare) prepare();
    for (int pass = 0; pass < 2; ++pass) {
      const Clock::time_point start = Clock::now();
      if (oursFirst == (pass == 0)) {
        ours();
        oursSeconds += Seconds(start);
      } else {
        reference();
        referenceSeconds += Seconds(start);
      }
    }
    oursFirst = !oursFirst;
  }
  state.counters["ours_ms"] = 1000 * oursSeconds / state.iterations();
  state.counters[referenceCounter] = 1000 * referenceSeconds / state.iterations();
  state.counters["ratio"] = oursSeconds / referenceSeconds;
  state.SetLabel(label);
}

// Ours loading and decoding a copy of the file against a reference's
// decode of the file itself.
template <typename TImage>
void DecodeVsLibrary(benchmark::State& state, const test::TBytes& file,
                     const std::function<void(const test::TBytes&)>& reference,
                     const char* referenceCounter, const char* label) {
  std::vector<std::uint8_t> copy;
  OursVsReference(
      state,
      [&] {
        TImage image;
        image.LoadFromData(std::move(copy));
        benchmark::DoNotOptimize(image.Pixels().Data());
      },
      [&] { reference(file); }, referenceCounter, label, [&] { copy = file; });
}

void BM_JpegDecodeVsLibjpeg(benchmark::State& state) {
  DecodeVsLibrary<TJPEGImage>(state, PhotoJpeg(), LibjpegDecode, "libjpeg_ms",
                              "6000 x 4000 baseline JPEG, goal ratio <= 1.10");
}
BENCHMARK(BM_JpegDecodeVsLibjpeg)->Unit(benchmark::kMillisecond)->Iterations(4);

// djpeg's decode of the whole file: libjpeg's defaults (integer inverse
// DCT, RGB output) into an image of the file's size.
void DjpegDecode(const test::TBytes& file) {
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, file.data(), file.size());
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  const std::size_t stride = static_cast<std::size_t>(info.output_width) * info.output_components;
  std::unique_ptr<JSAMPLE[]> image(new JSAMPLE[stride * info.output_height]);
  while (info.output_scanline < info.output_height) {
    JSAMPROW rows[1] = {image.get() + info.output_scanline * stride};
    jpeg_read_scanlines(&info, rows, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  benchmark::DoNotOptimize(image.get());
}

// The picture files go through the loader's own file reading, from the
// portable file system.
std::string WriteTemporary(TPortableEnvironment& env, const char* name, const test::TBytes& file) {
  env.Files().CreateDirectory("C:\\Pictures\\");
  const std::string path = std::string("C:\\Pictures\\") + name;
  env.Files().WriteFile(path, file);
  return path;
}

// A 61-megapixel photo (9504 x 6336) opened stretched on a 3840 x 2160
// desktop as the preview opens it: loaded, decoded reduced, scaled to the
// desktop; against djpeg's decode of the whole photo.
void BM_Jpeg61MpStretchedVsDjpeg(benchmark::State& state) {
  static const test::TBytes file = test::MakeLargePhotoJpeg(9504, 6336);
  TPortableEnvironment env;
  const std::string path = WriteTemporary(env, "61mp.jpg", file);
  OursVsReference(
      state,
      [&] {
        TPicture picture;
        picture.SetShownSize(3840, 2160);
        picture.LoadFromFile(path);
        TPixelBuffer image;
        picture.Compose(image, 0);
        TPixelBuffer desktop(3840, 2160);
        desktop.StretchCopy({0, 0, 3840, 2160}, image, {0, 0, image.Width(), image.Height()});
        benchmark::DoNotOptimize(desktop.Data());
      },
      [&] { DjpegDecode(file); }, "djpeg_ms",
      "9504 x 6336 JPEG stretched on 3840 x 2160, goal ratio <= 0.5");
}
BENCHMARK(BM_Jpeg61MpStretchedVsDjpeg)->Unit(benchmark::kMillisecond)->Iterations(3);

// The picture dialog's preview of a 24-megapixel photo in its pane (the
// pane's 90 x 110 dialog units are about 180 x 220 pixels at 96 pixels per
// inch, less the size line); against djpeg's decode of the whole photo.
// The goal is a selection within 100 ms.
void BM_PicturePreview24MpVsDjpeg(benchmark::State& state) {
  const test::TBytes& file = PhotoJpeg();
  TPortableEnvironment env;
  const std::string path = WriteTemporary(env, "24mp.jpg", file);
  OursVsReference(
      state,
      [&] {
        TPicturePreview preview;
        MakePicturePreview(path, 180, 200, 0, preview);
        benchmark::DoNotOptimize(preview.Pixels.Data());
      },
      [&] { DjpegDecode(file); }, "djpeg_ms", "6000 x 4000 JPEG into a 180 x 200 pane, goal <= 100 ms");
}
BENCHMARK(BM_PicturePreview24MpVsDjpeg)->Unit(benchmark::kMillisecond)->Iterations(5);

const test::TBytes& LargeBmp() {
  static const test::TBytes file = [] {
    const int width = 4000, height = 3000;
    test::TDibSpec s;
    s.Width = width;
    s.Height = height;
    s.BitCount = 24;
    s.Bits.resize(static_cast<std::size_t>(width) * 3 * height);
    for (std::size_t i = 0; i < s.Bits.size(); ++i) s.Bits[i] = static_cast<std::uint8_t>(i * 31 / 7);
    return test::WriteBmp(s);
  }();
  return file;
}

void BM_BmpDecodeVsCopy(benchmark::State& state) {
  DecodeVsLibrary<TBitmap>(
      state, LargeBmp(),
      [](const test::TBytes& file) {
        const std::size_t offset = file[10] | (file[11] << 8);
        const std::size_t bytes = file.size() - offset;
        std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[bytes]);
        std::memcpy(pixels.get(), file.data() + offset, bytes);
        benchmark::DoNotOptimize(pixels.get());
      },
      "copy_ms", "4000 x 3000 24-bit BMP, goal ratio <= 3");
}
BENCHMARK(BM_BmpDecodeVsCopy)->Unit(benchmark::kMillisecond)->Iterations(10);

// A desktop-size picture of gradients and some noise, as PNG and WebP
// files of today's wallpapers: 8-bit colour, and lossy WebP.
constexpr int kWallpaperWidth = 3840, kWallpaperHeight = 2160;

std::uint8_t WallpaperSample(int x, int y, int channel) {
  const std::uint32_t noise = (static_cast<std::uint32_t>(x) * 73856093u) ^
                              (static_cast<std::uint32_t>(y) * 19349663u) ^ (channel * 83492791u);
  return static_cast<std::uint8_t>((x * (channel + 1) / 16 + y / 9 + (noise >> 29)) & 0xFF);
}

const test::TBytes& WallpaperPng() {
  static const test::TBytes file = [] {
    test::TPngSpec s;
    s.Width = kWallpaperWidth;
    s.Height = kWallpaperHeight;
    s.Samples.reserve(static_cast<std::size_t>(s.Width) * s.Height * 3);
    for (int y = 0; y < s.Height; ++y)
      for (int x = 0; x < s.Width; ++x)
        for (int c = 0; c < 3; ++c) s.Samples.push_back(WallpaperSample(x, y, c));
    return test::WritePngFile(s);
  }();
  return file;
}

const test::TBytes& WallpaperWebP() {
  static const test::TBytes file = [] {
    std::vector<std::uint8_t> bgra;
    bgra.reserve(static_cast<std::size_t>(kWallpaperWidth) * kWallpaperHeight * 4);
    for (int y = 0; y < kWallpaperHeight; ++y)
      for (int x = 0; x < kWallpaperWidth; ++x) {
        for (int c = 0; c < 3; ++c) bgra.push_back(WallpaperSample(x, y, c));
        bgra.push_back(255);
      }
    return test::WriteWebP(kWallpaperWidth, kWallpaperHeight, bgra, false);
  }();
  return file;
}

// libpng's own decode of an 8-bit colour file into blue, green, red and a
// filler byte a pixel, the loader's layout.
void LibpngDecode(const test::TBytes& file) {
  struct TSource {
    const test::TBytes* File;
    std::size_t Pos;
  } source{&file, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  png_set_read_fn(png, &source, [](png_structp p, png_bytep out, std::size_t length) {
    auto* src = static_cast<TSource*>(png_get_io_ptr(p));
    std::memcpy(out, src->File->data() + src->Pos, length);
    src->Pos += length;
  });
  png_read_info(png, info);
  png_set_bgr(png);
  png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
  png_read_update_info(png, info);
  const std::size_t width = png_get_image_width(png, info), height = png_get_image_height(png, info);
  std::unique_ptr<std::uint8_t[]> image(new std::uint8_t[width * height * 4]);
  for (std::size_t y = 0; y < height; ++y) png_read_row(png, image.get() + y * width * 4, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  benchmark::DoNotOptimize(image.get());
}

void BM_PngDecodeVsLibpng(benchmark::State& state) {
  DecodeVsLibrary<TPngImage>(state, WallpaperPng(), LibpngDecode, "libpng_ms",
                             "3840 x 2160 8-bit colour PNG, goal ratio <= 1.2");
}
BENCHMARK(BM_PngDecodeVsLibpng)->Unit(benchmark::kMillisecond)->Iterations(4);

void BM_WebPDecodeVsLibwebp(benchmark::State& state) {
  DecodeVsLibrary<TWebPImage>(
      state, WallpaperWebP(),
      [](const test::TBytes& file) {
        int width = 0, height = 0;
        std::uint8_t* pixels = WebPDecodeBGRA(file.data(), file.size(), &width, &height);
        benchmark::DoNotOptimize(pixels);
        WebPFree(pixels);
      },
      "libwebp_ms", "3840 x 2160 lossy WebP, goal ratio <= 1.2");
}
BENCHMARK(BM_WebPDecodeVsLibwebp)->Unit(benchmark::kMillisecond)->Iterations(4);

}  // namespace
