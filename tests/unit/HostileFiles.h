// Writers of small files whose headers claim far more work than their data
// holds: the kinds that used to freeze the dialog. Shared by the unit tests,
// the hostile-file benchmark and the fuzz targets' regression corpus.
#pragma once

#include <cstdint>
#include <vector>

#include "tests/unit/ImageWriters.h"

namespace bx::test {

// An icon of `count` entries, each a run-length-encoded 8-bit bitmap that
// claims width x height and whose data ends the bitmap at once.
inline TBytes ManyEntryRleIcon(int count, int width, int height) {
  TBytes body;
  Put32(body, 40);
  Put32(body, static_cast<std::uint32_t>(width));
  Put32(body, static_cast<std::uint32_t>(2 * height));
  Put16(body, 1);
  Put16(body, 8);
  Put32(body, 1);  // BI_RLE8
  for (int i = 0; i < 3; ++i) Put32(body, 0);
  Put32(body, 2);  // colours used
  Put32(body, 0);
  for (int i = 0; i < 2; ++i) Put32(body, i == 0 ? 0x00FF0000 : 0x000000FF);  // two colours
  body.insert(body.end(), {0x00, 0x01});  // end of bitmap
  TBytes b;
  Put16(b, 0);
  Put16(b, 1);
  Put16(b, static_cast<std::uint32_t>(count));
  for (int i = 0; i < count; ++i) {
    b.insert(b.end(), {0, 0, 0, 0});
    Put16(b, 1);
    Put16(b, 8);
    Put32(b, static_cast<std::uint32_t>(body.size()));
    Put32(b, static_cast<std::uint32_t>(6 + 16 * count + body.size() * i));
  }
  for (int i = 0; i < count; ++i) b.insert(b.end(), body.begin(), body.end());
  return b;
}

// A progressive greyscale JPEG of size x size, one flat grey, whose last
// scan (a refinement of all 63 AC coefficients) is repeated until the file
// holds `scans` scans. libjpeg decodes such repeats with a warning only.
inline TBytes ManyScanJpeg(int size, int scans) {
  const TBytes base = WriteJpeg(size, size, 1, std::vector<std::uint8_t>(
                                                   static_cast<std::size_t>(size) * size, 100),
                                75, true);
  // Markers outside the entropy-coded data: (position, code).
  std::vector<std::size_t> sos;
  std::vector<std::size_t> dataEnd;  // where each scan's data ends
  std::size_t pos = 2;
  while (pos + 4 <= base.size() && base[pos] == 0xFF) {
    const std::uint8_t code = base[pos + 1];
    if (code == 0xD9) break;
    const std::size_t length = (base[pos + 2] << 8) | base[pos + 3];
    pos += 2 + length;
    if (code != 0xDA) continue;
    sos.push_back(pos - 2 - length);
    while (pos + 1 < base.size() &&
           !(base[pos] == 0xFF && base[pos + 1] != 0 && (base[pos + 1] < 0xD0 || base[pos + 1] > 0xD7)))
      ++pos;
    dataEnd.push_back(pos);
  }
  if (sos.size() < 2) throw std::runtime_error("not a progressive JPEG");
  // The last scan with the tables defined just before it.
  const std::size_t unitStart = dataEnd[dataEnd.size() - 2];
  const std::size_t unitEnd = dataEnd.back();
  TBytes out(base.begin(), base.begin() + static_cast<std::ptrdiff_t>(unitEnd));
  for (int i = static_cast<int>(sos.size()); i < scans; ++i)
    out.insert(out.end(), base.begin() + static_cast<std::ptrdiff_t>(unitStart),
               base.begin() + static_cast<std::ptrdiff_t>(unitEnd));
  out.insert(out.end(), {0xFF, 0xD9});
  return out;
}

// LZW data of the longest strings the format allows: with 2-bit pixels,
// each code defines and at once uses the next table entry (strings of 2, 3,
// ... pixels of index 0), and once the table is full the longest entry is
// repeated until `pixels` pixels are coded. Returned as the code size byte,
// the data sub-blocks and their terminator.
inline TBytes LongestRunLzw(std::uint64_t pixels) {
  TBytes bits;
  std::uint32_t accumulator = 0;
  int filled = 0;
  int width = 3, running = 6, limit = 8;
  auto put = [&](int code) {
    accumulator |= static_cast<std::uint32_t>(code) << filled;
    filled += width;
    while (filled >= 8) {
      bits.push_back(accumulator & 0xFF);
      accumulator >>= 8;
      filled -= 8;
    }
    // The decoder widens its codes as its table grows, one code late.
    if (running < 4097 && ++running > limit && width < 12) {
      limit <<= 1;
      ++width;
    }
  };
  put(4);  // clear
  running = 6, width = 3, limit = 8;
  put(0);
  std::uint64_t coded = 1;
  int next = 6;
  while (coded < pixels) {
    put(next);
    coded += static_cast<std::uint64_t>(next - 4);  // entry 6 holds 2 pixels, 7 holds 3, ...
    if (next < 4095) ++next;
  }
  put(5);  // end of information
  if (filled > 0) bits.push_back(accumulator & 0xFF);
  TBytes out = {2};
  for (std::size_t i = 0; i < bits.size(); i += 255) {
    const std::size_t n = std::min<std::size_t>(255, bits.size() - i);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), bits.begin() + static_cast<std::ptrdiff_t>(i),
               bits.begin() + static_cast<std::ptrdiff_t>(i + n));
  }
  out.push_back(0);
  return out;
}

// A GIF whose screenWidth x screenHeight screen holds one frame of
// frameWidth x frameHeight at (0, 0), coded with the longest strings LZW has.
inline TBytes LongStringGif(int screenWidth, int screenHeight, int frameWidth, int frameHeight) {
  TBytes b = {'G', 'I', 'F', '8', '9', 'a'};
  Put16(b, static_cast<std::uint32_t>(screenWidth));
  Put16(b, static_cast<std::uint32_t>(screenHeight));
  b.insert(b.end(), {0x81, 0, 0});  // a global map of 4 colours
  b.insert(b.end(), {0, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255});
  b.push_back(',');
  Put16(b, 0);
  Put16(b, 0);
  Put16(b, static_cast<std::uint32_t>(frameWidth));
  Put16(b, static_cast<std::uint32_t>(frameHeight));
  b.push_back(0);
  const TBytes data =
      LongestRunLzw(static_cast<std::uint64_t>(frameWidth) * static_cast<std::uint64_t>(frameHeight));
  b.insert(b.end(), data.begin(), data.end());
  b.push_back(';');
  return b;
}

// A JPEG file with its frame header claiming width x height.
inline TBytes JpegClaiming(TBytes file, int width, int height) {
  for (std::size_t i = 0; i + 8 < file.size(); ++i) {
    if (file[i] == 0xFF && (file[i + 1] == 0xC0 || file[i + 1] == 0xC2)) {
      file[i + 5] = static_cast<std::uint8_t>(height >> 8);
      file[i + 6] = height & 0xFF;
      file[i + 7] = static_cast<std::uint8_t>(width >> 8);
      file[i + 8] = width & 0xFF;
      break;
    }
  }
  return file;
}

// A run-length bitmap whose data ends it at once, leaving every pixel to colour 0.
inline TBytes RleEndingAtOnce(int width, int height) {
  TDibSpec s;
  s.Width = width;
  s.Height = height;
  s.BitCount = 8;
  s.Compression = 1;
  s.Palette = {MakeColor(1, 2, 3)};
  s.Bits = {0x00, 0x01};
  return WriteBmp(s);
}

// A placeable Windows metafile of about `bytes` bytes whose box is
// width x height pixels at 96 units per inch, and whose records are
// pattern fills (PatBlt) of the whole box, as many as fit.
inline TBytes ManyFillWmf(std::size_t bytes, int width, int height) {
  const std::size_t count = (bytes - 22 - 18 - 6) / 18;
  TBytes records;
  Put16(records, 1);      // in memory
  Put16(records, 9);      // header words
  Put16(records, 0x300);
  Put32(records, static_cast<std::uint32_t>(9 + 9 * count + 3));
  Put16(records, 0);      // objects
  Put32(records, 9);      // the largest record
  Put16(records, 0);
  for (std::size_t i = 0; i < count; ++i) {
    Put32(records, 9);
    Put16(records, 0x061D);  // META_PATBLT
    Put32(records, 0x00F00021);  // PATCOPY
    Put16(records, static_cast<std::uint32_t>(height));
    Put16(records, static_cast<std::uint32_t>(width));
    Put16(records, 0);
    Put16(records, 0);
  }
  Put32(records, 3);  // META_EOF
  Put16(records, 0);
  return WritePlaceableWmf(0, 0, width, height, 96, records);
}

// An enhanced metafile of about `bytes` bytes whose frame is width x height
// pixels of its reference device, and whose records are rectangles over
// the whole frame, filled with the default brush, as many as fit.
inline TBytes ManyFillEmf(std::size_t bytes, int width, int height) {
  TBytes b = WriteEmf(0, 0, width, height, 100, 100, 1, 1);  // 1 pixel: 1/100 mm
  b.resize(88);
  const std::size_t count = (bytes - 88 - 20) / 24;
  for (std::size_t i = 0; i < count; ++i) {
    Put32(b, 43);  // EMR_RECTANGLE
    Put32(b, 24);
    for (int v : {0, 0, width, height}) Put32(b, static_cast<std::uint32_t>(v));
  }
  for (std::uint32_t v : {14u, 20u, 0u, 16u, 20u}) Put32(b, v);  // EMR_EOF
  Set32(b, 48, static_cast<std::uint32_t>(b.size()));
  Set32(b, 52, static_cast<std::uint32_t>(count + 2));
  return b;
}

// An icon whose one entry is a PNG image `width` pixels wide and one high,
// all transparent black, of 16 bits a channel: some 8 KB a million pixels.
inline TBytes WidePngIcon(int width) {
  TIconImageSpec image;
  image.Png = true;
  image.PngBitDepth = 16;
  image.Width = width;
  image.Height = 1;
  image.Values.assign(static_cast<std::size_t>(width), 0);
  return WriteIco({image});
}

}  // namespace bx::test
