// Decoding speed of the picture loader against references measured in the
// same run: libjpeg's own decode of the same JPEG with the same options, and
// a plain copy of a BMP's pixel bytes. Each benchmark times both, in
// alternating order, and reports the ratio as the counter "ratio".
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include <jpeglib.h>

#include "components/BmpImage.h"
#include "components/JpegImage.h"
#include "components/Picture.h"
#include "components/PicturePreview.h"
#include "platform/portable/PortablePlatform.h"
#include "tests/bench/PhotoJpeg.h"

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

void BM_JpegDecodeVsLibjpeg(benchmark::State& state) {
  const test::TBytes& file = PhotoJpeg();
  double ours = 0, reference = 0;
  bool oursFirst = true;
  for (auto _ : state) {
    std::vector<std::uint8_t> copy = file;
    for (int pass = 0; pass < 2; ++pass) {
      const Clock::time_point start = Clock::now();
      if (oursFirst == (pass == 0)) {
        TJPEGImage image;
        image.LoadFromData(std::move(copy));
        benchmark::DoNotOptimize(image.Pixels().Data());
        ours += Seconds(start);
      } else {
        LibjpegDecode(file);
        reference += Seconds(start);
      }
    }
    oursFirst = !oursFirst;
  }
  state.counters["ours_ms"] = 1000 * ours / state.iterations();
  state.counters["libjpeg_ms"] = 1000 * reference / state.iterations();
  state.counters["ratio"] = ours / reference;
  state.SetLabel("6000 x 4000 baseline JPEG, goal ratio <= 1.10");
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
  double ours = 0, reference = 0;
  bool oursFirst = true;
  for (auto _ : state) {
    for (int pass = 0; pass < 2; ++pass) {
      const Clock::time_point start = Clock::now();
      if (oursFirst == (pass == 0)) {
        TPicture picture;
        picture.SetShownSize(3840, 2160);
        picture.LoadFromFile(path);
        TPixelBuffer image;
        picture.Compose(image, 0);
        TPixelBuffer desktop(3840, 2160);
        desktop.StretchCopy({0, 0, 3840, 2160}, image, {0, 0, image.Width(), image.Height()});
        benchmark::DoNotOptimize(desktop.Data());
        ours += Seconds(start);
      } else {
        DjpegDecode(file);
        reference += Seconds(start);
      }
    }
    oursFirst = !oursFirst;
  }
  state.counters["ours_ms"] = 1000 * ours / state.iterations();
  state.counters["djpeg_ms"] = 1000 * reference / state.iterations();
  state.counters["ratio"] = ours / reference;
  state.SetLabel("9504 x 6336 JPEG stretched on 3840 x 2160, goal ratio <= 0.5");
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
  double ours = 0, reference = 0;
  bool oursFirst = true;
  for (auto _ : state) {
    for (int pass = 0; pass < 2; ++pass) {
      const Clock::time_point start = Clock::now();
      if (oursFirst == (pass == 0)) {
        TPicturePreview preview;
        MakePicturePreview(path, 180, 200, 0, preview);
        benchmark::DoNotOptimize(preview.Pixels.Data());
        ours += Seconds(start);
      } else {
        DjpegDecode(file);
        reference += Seconds(start);
      }
    }
    oursFirst = !oursFirst;
  }
  state.counters["ours_ms"] = 1000 * ours / state.iterations();
  state.counters["djpeg_ms"] = 1000 * reference / state.iterations();
  state.counters["ratio"] = ours / reference;
  state.SetLabel("6000 x 4000 JPEG into a 180 x 200 pane, goal <= 100 ms");
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
  const test::TBytes& file = LargeBmp();
  const std::size_t offset = file[10] | (file[11] << 8);
  const std::size_t bytes = file.size() - offset;
  double ours = 0, reference = 0;
  bool oursFirst = true;
  for (auto _ : state) {
    std::vector<std::uint8_t> copy = file;
    for (int pass = 0; pass < 2; ++pass) {
      const Clock::time_point start = Clock::now();
      if (oursFirst == (pass == 0)) {
        TBitmap bitmap;
        bitmap.LoadFromData(std::move(copy));
        benchmark::DoNotOptimize(bitmap.Pixels().Data());
        ours += Seconds(start);
      } else {
        std::unique_ptr<std::uint8_t[]> pixels(new std::uint8_t[bytes]);
        std::memcpy(pixels.get(), file.data() + offset, bytes);
        benchmark::DoNotOptimize(pixels.get());
        reference += Seconds(start);
      }
    }
    oursFirst = !oursFirst;
  }
  state.counters["ours_ms"] = 1000 * ours / state.iterations();
  state.counters["copy_ms"] = 1000 * reference / state.iterations();
  state.counters["ratio"] = ours / reference;
  state.SetLabel("4000 x 3000 24-bit BMP, goal ratio <= 3");
}
BENCHMARK(BM_BmpDecodeVsCopy)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
