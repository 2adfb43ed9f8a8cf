// The photo-like JPEGs the decoding benchmarks and the large-photo tests
// share: gradients with fine noise, so that the blocks carry detail as a
// camera's do.
#pragma once

#include <cstdlib>

#include <jpeglib.h>

#include "tests/unit/ImageWriters.h"

namespace bx::test {

inline TBytes MakePhotoJpeg() {
  const int width = 6000, height = 4000;
  std::vector<std::uint8_t> samples = GradientSamples(width, height);
  std::uint32_t seed = 12345;
  for (std::uint8_t& s : samples) {
    seed = seed * 1664525u + 1013904223u;
    const int v = s + static_cast<int>((seed >> 24) % 33) - 16;
    s = static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
  }
  return WriteJpeg(width, height, 3, samples, 90);
}

// The colour that a large photo's pixel (x, y) was made of, before its
// noise of at most 12 levels in each channel: red across, green down.
inline TColor LargePhotoColor(int x, int y, int width, int height) {
  return MakeColor(static_cast<unsigned>(x * 255ll / (width - 1)),
                   static_cast<unsigned>(y * 255ll / (height - 1)), 128);
}

// A camera-size photo (9504 x 6336 from a 61-megapixel camera), encoded row
// by row so that its samples are never held whole.
inline TBytes MakeLargePhotoJpeg(int width, int height, int quality = 88) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<std::size_t>(width) * 3);
  std::uint32_t seed = 4711;
  while (info.next_scanline < info.image_height) {
    const int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < width; ++x) {
      const TColor c = LargePhotoColor(x, y, width, height);
      const unsigned channels[3] = {ColorRed(c), ColorGreen(c), ColorBlue(c)};
      for (int i = 0; i < 3; ++i) {
        seed = seed * 1664525u + 1013904223u;
        const int v = static_cast<int>(channels[i]) + static_cast<int>((seed >> 24) % 25) - 12;
        row[3 * x + i] = static_cast<JSAMPLE>(v < 0 ? 0 : v > 255 ? 255 : v);
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  TBytes out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

}  // namespace bx::test
