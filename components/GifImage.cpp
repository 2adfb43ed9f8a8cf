#include "components/GifImage.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <gif_lib.h>

#include "platform/Errors.h"

namespace bx {

TGIFDrawOptions GIFImageDefaultDrawOptions = goTransparent | goAnimate | goDither;

namespace {

constexpr TPixel kNotDrawn = 0xFF000000u;
const char* const kPrematureEnd = "Premature end of data";
const char* const kCircularEntry = "Circular decoder table entry";

// What giflib reads from: the file, or a copy of one frame's data blocks.
struct TGifSource {
  const std::uint8_t* Data = nullptr;
  std::size_t Size = 0;
  std::size_t Pos = 0;
  bool PastEnd = false;  // a read asked for more than was left
};

int ReadGif(GifFileType* gif, GifByteType* buffer, int length) {
  auto* source = static_cast<TGifSource*>(gif->UserData);
  if (length <= 0) return 0;
  const std::size_t n = std::min<std::size_t>(length, source->Size - source->Pos);
  if (n < static_cast<std::size_t>(length)) source->PastEnd = true;
  if (n > 0) std::memcpy(buffer, source->Data + source->Pos, n);
  source->Pos += n;
  return static_cast<int>(n);
}

struct TGifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// The data sub-blocks of an image from pos on. Bytes (when copied) holds
// them with a block the file cuts short shortened to what it holds, and
// always ends with the terminating empty block, so that giflib can decode
// everything present and then stops at a known place.
struct TBlockChain {
  std::vector<std::uint8_t> Bytes;
  bool Complete = false;
  std::size_t End = 0;  // just past the terminator, when complete
};

TBlockChain ScanBlocks(const std::uint8_t* data, std::size_t size, std::size_t pos, bool copy) {
  TBlockChain chain;
  while (pos < size) {
    const std::size_t length = data[pos];
    if (length == 0) {
      chain.Complete = true;
      chain.End = pos + 1;
      break;
    }
    const std::size_t present = std::min(length, size - pos - 1);
    if (copy && present > 0) {
      chain.Bytes.push_back(static_cast<std::uint8_t>(present));
      chain.Bytes.insert(chain.Bytes.end(), data + pos + 1, data + pos + 1 + present);
    }
    if (present < length) break;
    pos += 1 + length;
  }
  if (copy) chain.Bytes.push_back(0);
  return chain;
}

// The frame row of each line in the order the file holds them.
std::vector<int> RowOrder(int height, bool interlaced) {
  std::vector<int> rows;
  rows.reserve(height);
  if (!interlaced) {
    for (int y = 0; y < height; ++y) rows.push_back(y);
    return rows;
  }
  static const int kStart[4] = {0, 4, 2, 1};
  static const int kStep[4] = {8, 8, 4, 2};
  for (int pass = 0; pass < 4; ++pass)
    for (int y = kStart[pass]; y < height; y += kStep[pass]) rows.push_back(y);
  return rows;
}

bool IsSignature(const std::vector<std::uint8_t>& data, std::size_t at) {
  auto lower = [](std::uint8_t c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
  return data.size() >= at + 3 && lower(data[at]) == 'g' && lower(data[at + 1]) == 'i' &&
         lower(data[at + 2]) == 'f';
}

// The most pixels that LZW data of `bytes` bytes can produce: each code
// makes a table entry at most one pixel longer than the longest so far
// (giflib's strings end at 4096), and codes widen as the table grows, as
// giflib widens them.
std::uint64_t MaxLzwPixels(std::uint64_t bytes, int codeSize) {
  constexpr std::uint64_t kLongest = 4096;
  std::uint64_t bits = bytes * 8, pixels = 0, longest = 0;
  int width = codeSize + 1, limit = 1 << width, running = (1 << codeSize) + 2;
  while (bits >= static_cast<std::uint64_t>(width)) {
    if (width == 12 && running >= 4097 && longest == kLongest)
      return pixels + bits / 12 * kLongest;  // from here on every code is alike
    bits -= width;
    longest = std::min(longest + 1, kLongest);
    pixels += longest;
    if (running < 4097 && ++running > limit && width < 12) {
      limit <<= 1;
      ++width;
    }
  }
  return pixels;
}

// Pixels of a frame decoded outside the logical screen (to the right of it,
// or in interlaced lines below it) are thrown away, yet LZW decodes them to
// reach the pixels after them. Their number is held to what the data's
// size allows; a frame that needs more ends where the allowance does.
constexpr std::uint64_t kOutsidePixelsPerByte = 16;
constexpr std::uint64_t kOutsidePixelsFree = 1u << 20;

struct TFrameDesc {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Interlace = false;
};

struct TFrame {
  int Left = 0;
  int Top = 0;
  TPixelBuffer Pixels;
  bool Opaque = false;  // every pixel of the screen drawn
};

// Decodes the current image into the part of it inside the screen. False
// for damaged compressed data.
bool DecodeFrame(GifFileType* gif, const TGifSource& blocks, const TFrameDesc& desc, int codeSize,
                 int transparent, int screenWidth, int screenHeight, TFrame& frame) {
  const int left = desc.Left, top = desc.Top, width = desc.Width, height = desc.Height;
  const int right = std::min(left + width, screenWidth), bottom = std::min(top + height, screenHeight);
  if (right <= left || bottom <= top) return true;  // nothing of it inside the screen

  // Lines past the last one that lands inside the screen, or that the data
  // cannot reach, are not decoded.
  const std::vector<int> rows = RowOrder(height, desc.Interlace);
  const std::uint64_t producible = MaxLzwPixels(blocks.Size, codeSize);
  int last = -1, lastRow = -1;
  for (int i = 0; i < height && static_cast<std::uint64_t>(i) * width < producible; ++i) {
    if (top + rows[i] < bottom) {
      last = i;
      lastRow = std::max(lastRow, rows[i]);
    }
  }
  if (last < 0) return true;
  frame.Left = left;
  frame.Top = top;
  frame.Pixels.SetSize(right - left, lastRow + 1);
  std::fill_n(frame.Pixels.Scanline(0), static_cast<std::size_t>(frame.Pixels.Width()) * frame.Pixels.Height(),
              kNotDrawn);

  TPixel palette[256];
  const ColorMapObject* map = gif->Image.ColorMap ? gif->Image.ColorMap : gif->SColorMap;
  for (int i = 0; i < 256; ++i) palette[i] = MakePixel(i, i, i);
  if (map != nullptr) {
    for (int i = 0; i < 256; ++i) {
      if (i < map->ColorCount)
        palette[i] = MakePixel(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue);
      else
        palette[i] = 0;
    }
  }
  if (transparent >= 0 && transparent < 256)
    palette[transparent] = kNotDrawn;

  std::uint64_t outsideAllowed = kOutsidePixelsFree + kOutsidePixelsPerByte * blocks.Size;
  std::vector<GifPixelType> line(width);
  for (int i = 0; i <= last; ++i) {
    const int y = top + rows[i];
    const std::uint64_t outside = y < bottom ? width - (right - left) : width;
    if (outside > outsideAllowed) return true;
    outsideAllowed -= outside;
    int done = 0;
    bool failed = false;
    while (done < width) {
      const int n = std::min(width - done, 64);
      if (DGifGetLine(gif, line.data() + done, n) == GIF_ERROR) {
        failed = true;
        break;
      }
      done += n;
    }
    if (y < bottom) {
      TPixel* out = frame.Pixels.Scanline(y - top);
      const int end = std::min(done, right - left);
      for (int x = 0; x < end; ++x) out[x] = palette[line[x]];
    }
    if (failed) {
      // The data merely ending early keeps what was decoded: the end code
      // before the last pixel, or the blocks' terminator read as more data.
      if (gif->Error == D_GIF_ERR_EOF_TOO_SOON || gif->Error == D_GIF_ERR_READ_FAILED ||
          (gif->Error == D_GIF_ERR_IMAGE_DEFECT && blocks.Pos >= blocks.Size))
        return true;
      return false;
    }
  }
  const TPixelBuffer& pixels = frame.Pixels;
  frame.Opaque = left == 0 && top == 0 && right == screenWidth && bottom == screenHeight &&
                 pixels.Height() == screenHeight &&
                 std::none_of(pixels.Data(), pixels.Data() + static_cast<std::size_t>(pixels.Width()) * pixels.Height(),
                              [](TPixel p) { return (p >> 24) != 0; });
  return true;
}

}  // namespace

void TGIFImage::LoadFromData(std::vector<std::uint8_t> data) {
  std::size_t start;
  if (IsSignature(data, 0))
    start = 0;
  else if (IsSignature(data, 4))
    start = 4;
  else
    throw Exception("Invalid GIF signature");
  // giflib checks the signature itself, case and all: give it the one it knows.
  std::memcpy(data.data() + start, "GIF", 3);

  TGifSource file;
  file.Data = data.data() + start;
  file.Size = data.size() - start;
  TGifSource source = file;
  int error = 0;
  std::unique_ptr<GifFileType, TGifCloser> gif(DGifOpen(&source, ReadGif, &error));
  if (!gif) {
    if (error == D_GIF_ERR_NOT_ENOUGH_MEM) throw Exception("Out of memory");
    throw Exception(kPrematureEnd);
  }
  CheckImageSize(gif->SWidth, gif->SHeight, file.Size);
  FWidth = gif->SWidth;
  FHeight = gif->SHeight;
  FFrameCount = 0;
  FFrame = TPixelBuffer();
  FOpaque = false;
  int transparent = -1;

  for (;;) {
    GifRecordType type;
    // The end of the data, or a block of no known kind, ends the reading.
    if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) break;
    if (type == TERMINATE_RECORD_TYPE) break;
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) throw Exception(kPrematureEnd);
      bool first = true;
      while (block != nullptr) {
        if (code == GRAPHICS_EXT_FUNC_CODE && first && FFrameCount == 0 && block[0] >= 4)
          transparent = (block[1] & 1) ? block[4] : -1;
        first = false;
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) throw Exception(kPrematureEnd);
      }
      continue;
    }
    // The descriptor as the file has it. giflib counts a frame's pixels in
    // a long, 32 bits on 64-bit Windows, so it is told no more lines than
    // that count holds; far fewer are ever decoded.
    TFrameDesc desc;
    if (source.Size - source.Pos >= 9) {
      std::uint8_t* d = data.data() + start + source.Pos;
      desc = {ReadU16(d), ReadU16(d + 2), ReadU16(d + 4), ReadU16(d + 6), (d[8] & 0x40) != 0};
      if (desc.Width > 0 && desc.Height > 0x7FFFFFFF / desc.Width) {
        const int lines = 0x7FFFFFFF / desc.Width;
        d[6] = lines & 0xFF;
        d[7] = (lines >> 8) & 0xFF;
      }
    }
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) {
      if (gif->Error == D_GIF_ERR_NOT_ENOUGH_MEM) throw Exception("Out of memory");
      // Short of data, or an LZW code size beyond 8 bits.
      throw Exception(source.PastEnd ? kPrematureEnd : kCircularEntry);
    }
    // giflib keeps a record of every image; only the current one is needed.
    GifFreeSavedImages(gif.get());
    gif->ImageCount = 0;
    const TBlockChain chain = ScanBlocks(source.Data, source.Size, source.Pos, FFrameCount == 0);
    if (FFrameCount == 0) {
      TGifSource blocks;
      blocks.Data = chain.Bytes.data();
      blocks.Size = chain.Bytes.size();
      const TGifSource saved = source;
      source = blocks;
      TFrame frame;
      const int codeSize = saved.Data[saved.Pos - 1];
      const bool sound = DecodeFrame(gif.get(), source, desc, codeSize,
                                     (FDrawOptions & goTransparent) ? transparent : -1, FWidth,
                                     FHeight, frame);
      source = saved;
      if (!sound) throw Exception(kCircularEntry);
      FLeft = frame.Left;
      FTop = frame.Top;
      FFrame = std::move(frame.Pixels);
      FOpaque = frame.Opaque;
    }
    ++FFrameCount;
    if (!chain.Complete) break;
    source.Pos = chain.End;
  }
  if (!FFrame.Empty() && (FDrawOptions & goDither) && DisplayColorDepth() <= 8)
    DitherToColorCube(FFrame);
}

bool TGIFImage::TakeOpaquePixels(TPixelBuffer& pixels) {
  if (!FOpaque) return false;
  pixels = std::move(FFrame);
  FOpaque = false;
  return true;
}

void TGIFImage::Draw(TPixelBuffer& target, int x, int y) {
  if (FFrame.Empty()) return;
  const std::int64_t left = static_cast<std::int64_t>(x) + FLeft;
  const std::int64_t top = static_cast<std::int64_t>(y) + FTop;
  const std::int64_t c0 = std::max<std::int64_t>(0, -left);
  const std::int64_t c1 = std::min<std::int64_t>(FFrame.Width(), target.Width() - left);
  if (c1 <= c0) return;
  for (int r = 0; r < FFrame.Height(); ++r) {
    const std::int64_t ty = top + r;
    if (ty < 0 || ty >= target.Height()) continue;
    const TPixel* in = FFrame.Scanline(r);
    TPixel* out = target.Scanline(static_cast<int>(ty));
    for (std::int64_t c = c0; c < c1; ++c)
      if ((in[c] >> 24) == 0) out[left + c] = in[c];
  }
}

void DitherToColorCube(TPixelBuffer& pixels) {
  const int width = pixels.Width();
  // Errors in sixteenths, one pixel of margin on each side.
  std::vector<int> current(3 * (width + 2)), next(3 * (width + 2));
  for (int y = 0; y < pixels.Height(); ++y) {
    current.swap(next);
    std::fill(next.begin(), next.end(), 0);
    TPixel* row = pixels.Scanline(y);
    for (int x = 0; x < width; ++x) {
      const TPixel p = row[x];
      if ((p >> 24) != 0) continue;
      const int channel[3] = {static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF),
                              static_cast<int>(p & 0xFF)};
      int level[3];
      for (int c = 0; c < 3; ++c) {
        const int i = 3 * (x + 1) + c;
        const int v = std::clamp(channel[c] + ((current[i] + 8) >> 4), 0, 255);
        level[c] = (v + 25) / 51 * 51;
        const int e = v - level[c];
        current[i + 3] += 7 * e;
        next[i - 3] += 3 * e;
        next[i] += 5 * e;
        next[i + 3] += e;
      }
      row[x] = MakePixel(level[0], level[1], level[2]);
    }
  }
}

}  // namespace bx
