// Writers of the test images: BMP, ICO and metafile files byte by byte,
// GIF through giflib's encoder, JPEG through libjpeg's and PNG through
// libpng's. Shared by the
// unit tests, the fuzz targets' seed maker and the benchmarks.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

#include "gfx/PixelBuffer.h"

namespace bx::test {

using TBytes = std::vector<std::uint8_t>;

inline void Put16(TBytes& b, std::uint32_t v) {
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
inline void Put32(TBytes& b, std::uint32_t v) {
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}
inline void Set16(TBytes& b, std::size_t at, std::uint32_t v) {
  b[at] = v & 0xFF;
  b[at + 1] = (v >> 8) & 0xFF;
}
inline void Set32(TBytes& b, std::size_t at, std::uint32_t v) {
  Set16(b, at, v & 0xFFFF);
  Set16(b, at + 2, v >> 16);
}

// ---- BMP -------------------------------------------------------------------

// Packs rows of values (top row first) into stored rows padded to 32 bits:
// palette indices for 1, 4 and 8 bits, raw words for 16 and 32 bits,
// 0x00RRGGBB for 24 bits.
inline TBytes PackDibRows(int width, int height, int bits, const std::vector<std::uint32_t>& values,
                          bool topDown) {
  const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  TBytes out(stride * height, 0);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = out.data() + stride * (topDown ? y : height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const std::uint32_t v = values[static_cast<std::size_t>(y) * width + x];
      switch (bits) {
        case 1: row[x / 8] |= (v & 1) << (7 - x % 8); break;
        case 4: row[x / 2] |= (v & 15) << (x % 2 ? 0 : 4); break;
        case 8: row[x] = v & 0xFF; break;
        case 16: row[2 * x] = v & 0xFF; row[2 * x + 1] = (v >> 8) & 0xFF; break;
        case 24: row[3 * x] = v & 0xFF; row[3 * x + 1] = (v >> 8) & 0xFF; row[3 * x + 2] = (v >> 16) & 0xFF; break;
        case 32: for (int i = 0; i < 4; ++i) row[4 * x + i] = (v >> (8 * i)) & 0xFF; break;
      }
    }
  }
  return out;
}

struct TDibSpec {
  int HeaderSize = 40;  // 12 (core), 40, 52, 56, 108, 124
  int Width = 0;
  int Height = 0;       // negative: top-down
  int BitCount = 24;
  std::uint32_t Compression = 0;
  std::uint32_t SizeImage = 0;
  std::uint32_t ClrUsed = 0;
  std::vector<TColor> Palette;            // the entries written
  std::uint32_t Masks[3] = {0, 0, 0};     // written for BI_BITFIELDS
  TBytes Bits;                            // the pixel data as stored
};

// The DIB: header, masks, colour table, bits.
inline TBytes WriteDib(const TDibSpec& s) {
  TBytes b;
  Put32(b, s.HeaderSize);
  if (s.HeaderSize == 12) {
    Put16(b, s.Width);
    Put16(b, s.Height);
    Put16(b, 1);
    Put16(b, s.BitCount);
  } else {
    Put32(b, static_cast<std::uint32_t>(s.Width));
    Put32(b, static_cast<std::uint32_t>(s.Height));
    Put16(b, 1);
    Put16(b, s.BitCount);
    Put32(b, s.Compression);
    Put32(b, s.SizeImage);
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, s.ClrUsed);
    Put32(b, 0);
    while (b.size() < static_cast<std::size_t>(s.HeaderSize)) b.push_back(0);
    if (s.Compression == 3) {
      if (s.HeaderSize >= 52) {
        for (int i = 0; i < 3; ++i) Set32(b, 40 + 4 * i, s.Masks[i]);
      } else {
        for (int i = 0; i < 3; ++i) Put32(b, s.Masks[i]);
      }
    }
  }
  for (TColor c : s.Palette) {
    b.push_back(ColorBlue(c));
    b.push_back(ColorGreen(c));
    b.push_back(ColorRed(c));
    if (s.HeaderSize != 12) b.push_back(0);
  }
  b.insert(b.end(), s.Bits.begin(), s.Bits.end());
  return b;
}

// A BMP file: the file header with bfOffBits pointing at the bits.
inline TBytes WriteBmp(const TDibSpec& s) {
  const TBytes dib = WriteDib(s);
  TBytes b = {'B', 'M'};
  Put32(b, static_cast<std::uint32_t>(14 + dib.size()));
  Put32(b, 0);
  Put32(b, static_cast<std::uint32_t>(14 + dib.size() - s.Bits.size()));
  b.insert(b.end(), dib.begin(), dib.end());
  return b;
}

// ---- PNG -------------------------------------------------------------------

inline void WritePngBytes(png_structp png, png_bytep data, std::size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}
inline void FlushPng(png_structp) {}

// A colour PNG with alpha, of 8 or 16 bits a channel; values 0xAARRGGBB,
// top row first.
inline std::vector<std::uint8_t> WritePng(int width, int height, const std::vector<std::uint32_t>& values,
                                          bool interlaced = false, int bitDepth = 8) {
  std::vector<std::uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("PNG encoding failed");
  }
  png_set_write_fn(png, &out, WritePngBytes, FlushPng);
  png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);  // hostile sizes too
  png_set_IHDR(png, info, width, height, bitDepth, PNG_COLOR_TYPE_RGB_ALPHA,
               interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  png_set_bgr(png);
  // 16 bits: each byte twice, v * 257 high byte first.
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(values.data());
  std::vector<std::uint8_t> deep;
  if (bitDepth == 16) {
    deep.resize(values.size() * 8);
    for (std::size_t i = 0; i < values.size() * 4; ++i) deep[2 * i] = deep[2 * i + 1] = bytes[i];
    bytes = deep.data();
  }
  const std::size_t rowBytes = static_cast<std::size_t>(width) * bitDepth / 2;
  std::vector<png_bytep> rows(height);
  for (int y = 0; y < height; ++y) rows[y] = const_cast<png_bytep>(bytes + rowBytes * y);
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

// ---- ICO -------------------------------------------------------------------

struct TIconImageSpec {
  int Width = 32;
  int Height = 32;
  int BitCount = 32;
  std::vector<std::uint32_t> Values;  // top row first: indices, 0x00RRGGBB, or 0xAARRGGBB for 32 bits
  std::vector<TColor> Palette;
  std::vector<std::uint8_t> Mask;     // top row first, 1 = transparent; empty: all opaque
  bool Png = false;                   // store a PNG entry: of Values (0xAARRGGBB), or when
                                      // there are none, only its signature and some bytes
  bool Interlaced = false;            // a PNG entry's rows interlaced
  int PngBitDepth = 8;                // a PNG entry's bits a channel: 8 or 16
};

inline TBytes WriteIco(const std::vector<TIconImageSpec>& images) {
  std::vector<TBytes> bodies;
  for (const TIconImageSpec& s : images) {
    if (s.Png) {
      if (!s.Values.empty())
        bodies.push_back(WritePng(s.Width, s.Height, s.Values, s.Interlaced, s.PngBitDepth));
      else
        bodies.push_back({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 'I', 'H', 'D', 'R'});
      continue;
    }
    TDibSpec d;
    d.Width = s.Width;
    d.Height = 2 * s.Height;
    d.BitCount = s.BitCount;
    d.Palette = s.Palette;
    if (s.BitCount <= 8) d.ClrUsed = static_cast<std::uint32_t>(s.Palette.size());
    d.Bits = PackDibRows(s.Width, s.Height, s.BitCount, s.Values, false);
    std::vector<std::uint32_t> mask(static_cast<std::size_t>(s.Width) * s.Height, 0);
    for (std::size_t i = 0; i < s.Mask.size() && i < mask.size(); ++i) mask[i] = s.Mask[i];
    const TBytes maskBits = PackDibRows(s.Width, s.Height, 1, mask, false);
    d.Bits.insert(d.Bits.end(), maskBits.begin(), maskBits.end());
    bodies.push_back(WriteDib(d));
  }
  TBytes b;
  Put16(b, 0);
  Put16(b, 1);
  Put16(b, static_cast<std::uint32_t>(images.size()));
  std::size_t offset = 6 + 16 * images.size();
  for (std::size_t i = 0; i < images.size(); ++i) {
    b.push_back(images[i].Width & 0xFF);
    b.push_back(images[i].Height & 0xFF);
    b.push_back(0);
    b.push_back(0);
    Put16(b, 1);
    Put16(b, images[i].BitCount);
    Put32(b, static_cast<std::uint32_t>(bodies[i].size()));
    Put32(b, static_cast<std::uint32_t>(offset));
    offset += bodies[i].size();
  }
  for (const TBytes& body : bodies) b.insert(b.end(), body.begin(), body.end());
  return b;
}

// ---- GIF (giflib's encoder) ------------------------------------------------

struct TGifFrameSpec {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Interlace = false;
  std::vector<std::uint8_t> Indices;  // top row first
  std::vector<TColor> LocalMap;       // empty: none
  int Transparent = -1;               // a graphic control extension when >= 0
};

struct TGifLayout {
  int Width = 0, Height = 0;
  std::vector<TColor> GlobalMap;  // empty: none
  std::vector<TGifFrameSpec> Frames;
};

inline int WriteToBytes(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<TBytes*>(gif->UserData);
  out->insert(out->end(), data, data + length);
  return length;
}

inline ColorMapObject* MakeGifMap(const std::vector<TColor>& colors) {
  if (colors.empty()) return nullptr;
  int count = 2;
  while (count < static_cast<int>(colors.size())) count *= 2;
  std::vector<GifColorType> entries(count, GifColorType{0, 0, 0});
  for (std::size_t i = 0; i < colors.size(); ++i)
    entries[i] = GifColorType{static_cast<GifByteType>(ColorRed(colors[i])),
                              static_cast<GifByteType>(ColorGreen(colors[i])),
                              static_cast<GifByteType>(ColorBlue(colors[i]))};
  return GifMakeMapObject(count, entries.data());
}

inline TBytes WriteGif(const TGifLayout& s) {
  TBytes out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, WriteToBytes, &error);
  if (!gif) throw std::runtime_error("EGifOpen failed");
  EGifSetGifVersion(gif, true);
  ColorMapObject* global = MakeGifMap(s.GlobalMap);
  bool ok = EGifPutScreenDesc(gif, s.Width, s.Height, 8, 0, global) == GIF_OK;
  GifFreeMapObject(global);
  for (const TGifFrameSpec& f : s.Frames) {
    if (!ok) break;
    if (f.Transparent >= 0) {
      GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, f.Transparent};
      GifByteType ext[4];
      EGifGCBToExtension(&gcb, ext);
      ok = EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext) == GIF_OK;
    }
    ColorMapObject* local = MakeGifMap(f.LocalMap);
    if (!local && gif->Image.ColorMap) {
      // The encoder drops the previous frame's local map without freeing it.
      GifFreeMapObject(gif->Image.ColorMap);
      gif->Image.ColorMap = nullptr;
    }
    ok = ok && EGifPutImageDesc(gif, f.Left, f.Top, f.Width, f.Height, f.Interlace, local) == GIF_OK;
    GifFreeMapObject(local);
    std::vector<int> rows;
    if (f.Interlace) {
      const int start[4] = {0, 4, 2, 1}, step[4] = {8, 8, 4, 2};
      for (int p = 0; p < 4; ++p)
        for (int y = start[p]; y < f.Height; y += step[p]) rows.push_back(y);
    } else {
      for (int y = 0; y < f.Height; ++y) rows.push_back(y);
    }
    for (int y : rows) {
      std::vector<GifPixelType> line(f.Indices.begin() + static_cast<std::size_t>(y) * f.Width,
                                     f.Indices.begin() + static_cast<std::size_t>(y + 1) * f.Width);
      ok = ok && EGifPutLine(gif, line.data(), f.Width) == GIF_OK;
    }
  }
  EGifCloseFile(gif, &error);
  if (!ok) throw std::runtime_error("GIF encoding failed");
  return out;
}

// ---- JPEG (libjpeg's encoder) ----------------------------------------------

// samples: RGB triples, or one byte per pixel when components is 1.
inline TBytes WriteJpeg(int width, int height, int components, const std::vector<std::uint8_t>& samples,
                        int quality = 90, bool progressive = false, bool fullChroma = false) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  if (fullChroma) info.comp_info[0].h_samp_factor = info.comp_info[0].v_samp_factor = 1;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPLE*>(samples.data()) +
                   static_cast<std::size_t>(info.next_scanline) * width * components;
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  TBytes out(buffer, buffer + size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return out;
}

// A smooth colour picture: gradients that JPEG keeps well.
inline std::vector<std::uint8_t> GradientSamples(int width, int height) {
  std::vector<std::uint8_t> s(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = s.data() + (static_cast<std::size_t>(y) * width + x) * 3;
      p[0] = static_cast<std::uint8_t>(x * 255 / (width > 1 ? width - 1 : 1));
      p[1] = static_cast<std::uint8_t>(y * 255 / (height > 1 ? height - 1 : 1));
      p[2] = static_cast<std::uint8_t>(128 + (x - y) / 4);
    }
  return s;
}

// ---- Metafiles ----------------------------------------------------------------

// An enhanced metafile of a header record and an end record.
inline TBytes WriteEmf(int frameLeft, int frameTop, int frameRight, int frameBottom, int devicePixelsX,
                       int devicePixelsY, int deviceMmX, int deviceMmY) {
  TBytes b;
  Put32(b, 1);    // EMR_HEADER
  Put32(b, 88);   // nSize
  for (int v : {0, 0, 100, 100}) Put32(b, static_cast<std::uint32_t>(v));  // rclBounds
  for (int v : {frameLeft, frameTop, frameRight, frameBottom}) Put32(b, static_cast<std::uint32_t>(v));
  Put32(b, 0x464D4520);  // " EMF"
  Put32(b, 0x10000);     // nVersion
  Put32(b, 108);         // nBytes
  Put32(b, 2);           // nRecords
  Put16(b, 1);           // nHandles
  Put16(b, 0);
  Put32(b, 0);           // nDescription
  Put32(b, 0);           // offDescription
  Put32(b, 0);           // nPalEntries
  Put32(b, static_cast<std::uint32_t>(devicePixelsX));
  Put32(b, static_cast<std::uint32_t>(devicePixelsY));
  Put32(b, static_cast<std::uint32_t>(deviceMmX));
  Put32(b, static_cast<std::uint32_t>(deviceMmY));
  Put32(b, 14);  // EMR_EOF
  Put32(b, 20);
  Put32(b, 0);
  Put32(b, 16);
  Put32(b, 20);
  return b;
}

// A placeable Windows metafile: the 22-byte header, then the records (a
// metafile header and the end record when none are given).
inline TBytes WritePlaceableWmf(int left, int top, int right, int bottom, int unitsPerInch,
                                TBytes records = {}) {
  if (records.empty()) {
    Put16(records, 1);      // mtType: in memory
    Put16(records, 9);      // mtHeaderSize in words
    Put16(records, 0x300);  // mtVersion
    Put32(records, 12);     // mtSize in words: header 9 + end record 3
    Put16(records, 0);      // mtNoObjects
    Put32(records, 3);      // mtMaxRecord
    Put16(records, 0);      // mtNoParameters
    Put32(records, 3);      // META_EOF
    Put16(records, 0);
  }
  TBytes b;
  Put32(b, 0x9AC6CDD7);
  Put16(b, 0);
  Put16(b, static_cast<std::uint16_t>(left));
  Put16(b, static_cast<std::uint16_t>(top));
  Put16(b, static_cast<std::uint16_t>(right));
  Put16(b, static_cast<std::uint16_t>(bottom));
  Put16(b, static_cast<std::uint32_t>(unitsPerInch));
  Put32(b, 0);
  std::uint16_t sum = 0;
  for (int i = 0; i < 10; ++i) sum ^= static_cast<std::uint16_t>(b[2 * i] | (b[2 * i + 1] << 8));
  Put16(b, sum);
  b.insert(b.end(), records.begin(), records.end());
  return b;
}

}  // namespace bx::test
