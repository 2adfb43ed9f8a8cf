// Writers of PNG and WebP files through libpng's and libwebp's own
// encoders, and the libraries' own decodes of them that the tests and
// benchmarks compare the loader with. Shared by the unit tests, the Wine
// suite, the benchmarks and the fuzz targets' seeds.
#pragma once

#include <cstdint>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

#include <png.h>
#include <webp/decode.h>
#include <webp/demux.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include "tests/unit/ImageWriters.h"

namespace bx::test {

// ---- PNG -------------------------------------------------------------------

struct TPngSpec {
  int Width = 1;
  int Height = 1;
  int ColorType = PNG_COLOR_TYPE_RGB;
  int BitDepth = 8;
  bool Interlaced = false;
  // Samples at the bit depth, channel after channel, top row first.
  std::vector<std::uint16_t> Samples;
  std::vector<png_color> Palette;
  std::vector<std::uint8_t> PaletteAlpha;  // tRNS of a palette image
  std::optional<png_color_16> Transparent;  // tRNS of a grey or colour image
  // An animated file (acTL, fcTL before the image, a second frame after it),
  // whose default image is its first frame.
  bool Animated = false;
};

inline int PngChannels(int colorType) {
  switch (colorType) {
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    default: return 1;
  }
}

inline void PutBigEndian32(TBytes& b, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<std::uint8_t>(v >> shift));
}

inline TBytes WritePngFile(const TPngSpec& s) {
  const int channels = PngChannels(s.ColorType);
  const std::size_t rowBytes = (static_cast<std::size_t>(s.Width) * channels * s.BitDepth + 7) / 8;
  std::vector<std::uint8_t> packed(rowBytes * s.Height);
  for (int y = 0; y < s.Height; ++y)
    for (int i = 0; i < s.Width * channels; ++i) {
      const std::uint16_t v = s.Samples.at(static_cast<std::size_t>(y) * s.Width * channels + i);
      std::uint8_t* row = packed.data() + rowBytes * y;
      if (s.BitDepth == 16) {
        row[2 * i] = static_cast<std::uint8_t>(v >> 8);
        row[2 * i + 1] = static_cast<std::uint8_t>(v);
      } else if (s.BitDepth == 8) {
        row[i] = static_cast<std::uint8_t>(v);
      } else {
        const int bit = i * s.BitDepth;
        row[bit / 8] |= static_cast<std::uint8_t>(v << (8 - s.BitDepth - bit % 8));
      }
    }
  TBytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("PNG encoding failed");
  }
  png_set_write_fn(png, &out, WritePngBytes, FlushPng);
  png_set_IHDR(png, info, s.Width, s.Height, s.BitDepth, s.ColorType,
               s.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  if (!s.Palette.empty())
    png_set_PLTE(png, info, s.Palette.data(), static_cast<int>(s.Palette.size()));
  if (!s.PaletteAlpha.empty())
    png_set_tRNS(png, info, s.PaletteAlpha.data(), static_cast<int>(s.PaletteAlpha.size()), nullptr);
  if (s.Transparent) {
    png_color_16 t = *s.Transparent;
    png_set_tRNS(png, info, nullptr, 0, &t);
  }
  png_write_info(png, info);
  auto frameControl = [&](std::uint32_t sequence) {
    TBytes c;
    PutBigEndian32(c, sequence);
    PutBigEndian32(c, static_cast<std::uint32_t>(s.Width));
    PutBigEndian32(c, static_cast<std::uint32_t>(s.Height));
    PutBigEndian32(c, 0);
    PutBigEndian32(c, 0);
    c.insert(c.end(), {0, 1, 0, 10, 0, 0});  // 1/10 s, no disposal, source
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("fcTL"), c.data(), c.size());
  };
  if (s.Animated) {
    TBytes control;
    PutBigEndian32(control, 2);
    PutBigEndian32(control, 0);
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("acTL"), control.data(), control.size());
    frameControl(0);
  }
  std::vector<png_bytep> rows(s.Height);
  for (int y = 0; y < s.Height; ++y) rows[y] = packed.data() + rowBytes * y;
  png_write_image(png, rows.data());
  if (s.Animated) {
    // The second frame: the image once more with its samples inverted,
    // taken from the IDAT of a file of its own.
    TPngSpec second = s;
    second.Animated = false;
    for (std::uint16_t& v : second.Samples) v = static_cast<std::uint16_t>(((1 << s.BitDepth) - 1) - v);
    if (!s.Palette.empty())
      for (std::uint16_t& v : second.Samples) v = static_cast<std::uint16_t>(v % s.Palette.size());
    const TBytes file = WritePngFile(second);
    TBytes data;
    PutBigEndian32(data, 2);
    for (std::size_t at = 8; at + 12 <= file.size();) {
      const std::uint32_t length = (file[at] << 24) | (file[at + 1] << 16) | (file[at + 2] << 8) | file[at + 3];
      if (std::memcmp(&file[at + 4], "IDAT", 4) == 0)
        data.insert(data.end(), file.begin() + at + 8, file.begin() + at + 8 + length);
      at += 12 + length;
    }
    frameControl(1);
    png_write_chunk(png, reinterpret_cast<png_const_bytep>("fdAT"), data.data(), data.size());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// libpng's own decode of a whole file, every channel widened to 16 bits:
// red, green, blue, alpha, top row first. Throws on damaged data.
inline std::vector<std::uint16_t> LibpngDecode16(const TBytes& file, int& width, int& height) {
  struct TSource {
    const TBytes* File;
    std::size_t Pos;
  } source{&file, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<std::uint16_t> samples;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    throw std::runtime_error("libpng cannot read the file");
  }
  png_set_read_fn(png, &source, [](png_structp p, png_bytep out, std::size_t length) {
    auto* src = static_cast<TSource*>(png_get_io_ptr(p));
    if (length > src->File->size() - src->Pos) png_error(p, "end");
    std::memcpy(out, src->File->data() + src->Pos, length);
    src->Pos += length;
  });
  png_read_info(png, info);
  png_set_expand(png);
  png_set_expand_16(png);
  png_set_gray_to_rgb(png);
  png_set_add_alpha(png, 0xFFFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  width = static_cast<int>(png_get_image_width(png, info));
  height = static_cast<int>(png_get_image_height(png, info));
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(width) * height * 8);
  std::vector<png_bytep> rows(height);
  for (int y = 0; y < height; ++y) rows[y] = bytes.data() + static_cast<std::size_t>(width) * 8 * y;
  png_read_image(png, rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
  samples.resize(bytes.size() / 2);
  for (std::size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<std::uint16_t>((bytes[2 * i] << 8) | bytes[2 * i + 1]);
  return samples;
}

// ---- WebP ------------------------------------------------------------------

// A still WebP of `bgra` (blue, green, red, alpha bytes, top row first):
// lossless, or lossy at `quality`. Alpha goes in unless every byte is 255.
inline TBytes WriteWebP(int width, int height, const std::vector<std::uint8_t>& bgra, bool lossless,
                        float quality = 80) {
  std::uint8_t* out = nullptr;
  const std::size_t size =
      lossless ? WebPEncodeLosslessBGRA(bgra.data(), width, height, width * 4, &out)
               : WebPEncodeBGRA(bgra.data(), width, height, width * 4, quality, &out);
  if (size == 0) throw std::runtime_error("WebP encoding failed");
  TBytes file(out, out + size);
  WebPFree(out);
  return file;
}

struct TWebPFrame {
  TBytes Still;  // a still WebP file: the frame's image
  int Left = 0, Top = 0;  // even
};

// An animated WebP of a canvas of width x height and its frames, assembled by
// libwebp's muxer.
inline TBytes WriteAnimatedWebP(int width, int height, const std::vector<TWebPFrame>& frames) {
  WebPMux* mux = WebPMuxNew();
  for (const TWebPFrame& f : frames) {
    WebPMuxFrameInfo info{};
    info.bitstream = {f.Still.data(), f.Still.size()};
    info.x_offset = f.Left;
    info.y_offset = f.Top;
    info.duration = 100;
    info.id = WEBP_CHUNK_ANMF;
    info.dispose_method = WEBP_MUX_DISPOSE_NONE;
    info.blend_method = WEBP_MUX_NO_BLEND;
    WebPMuxPushFrame(mux, &info, 1);
  }
  WebPMuxAnimParams params{0xFFFFFFFFu, 0};
  WebPMuxSetAnimationParams(mux, &params);
  WebPMuxSetCanvasSize(mux, width, height);
  WebPData assembled;
  WebPDataInit(&assembled);
  const WebPMuxError error = WebPMuxAssemble(mux, &assembled);
  WebPMuxDelete(mux);
  if (error != WEBP_MUX_OK) throw std::runtime_error("WebP muxing failed");
  TBytes file(assembled.bytes, assembled.bytes + assembled.size);
  WebPDataClear(&assembled);
  return file;
}

// libwebp's own decode: of a still file, WebPDecodeBGRA; of an animated one,
// the animation decoder's first canvas. Blue, green, red, alpha bytes.
inline std::vector<std::uint8_t> LibwebpDecode(const TBytes& file, int& width, int& height) {
  WebPBitstreamFeatures features;
  if (WebPGetFeatures(file.data(), file.size(), &features) != VP8_STATUS_OK)
    throw std::runtime_error("libwebp cannot read the file");
  if (!features.has_animation) {
    std::uint8_t* pixels = WebPDecodeBGRA(file.data(), file.size(), &width, &height);
    if (!pixels) throw std::runtime_error("libwebp cannot decode the file");
    std::vector<std::uint8_t> out(pixels, pixels + static_cast<std::size_t>(width) * height * 4);
    WebPFree(pixels);
    return out;
  }
  WebPAnimDecoderOptions options;
  WebPAnimDecoderOptionsInit(&options);
  options.color_mode = MODE_BGRA;
  const WebPData data{file.data(), file.size()};
  WebPAnimDecoder* decoder = WebPAnimDecoderNew(&data, &options);
  WebPAnimInfo info;
  std::uint8_t* canvas = nullptr;
  int timestamp = 0;
  if (!decoder || !WebPAnimDecoderGetInfo(decoder, &info) ||
      !WebPAnimDecoderGetNext(decoder, &canvas, &timestamp)) {
    WebPAnimDecoderDelete(decoder);
    throw std::runtime_error("libwebp cannot decode the animation");
  }
  width = static_cast<int>(info.canvas_width);
  height = static_cast<int>(info.canvas_height);
  std::vector<std::uint8_t> out(canvas, canvas + static_cast<std::size_t>(width) * height * 4);
  WebPAnimDecoderDelete(decoder);
  return out;
}

}  // namespace bx::test
