#include "components/JpegImage.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

#include <jpeglib.h>
#include <jerror.h>

#include "platform/Errors.h"
#include "platform/Parallel.h"

namespace bx {

namespace {

// The work of decoding a file's scans is counted in coefficients visited:
// each scan walks every block of its components over its band of
// coefficients, whatever little data it holds. A file may cost six passes
// over all its coefficients (the usual progressive scripts take three) and
// 64 more visits per byte of the file; beyond that it fails, instead of
// freezing the dialog with thousands of scans.
constexpr std::uint64_t kFreePasses = 6;
constexpr std::uint64_t kVisitsPerByte = 64;

// libjpeg reports fatal errors by calling error_exit, which must not return.
// It jumps back into the small function that made the libjpeg call; those
// functions and libjpeg's own frames hold no C++ objects, so nothing is
// skipped that has a destructor. The error is thrown after they return.
struct TJpegContext {
  jpeg_decompress_struct Info;
  jpeg_error_mgr Errors;
  jpeg_progress_mgr Progress;
  std::jmp_buf Jump;
  int Code;
  std::size_t FileSize;
  int Scan;
  std::uint64_t Visits;
};

TJpegContext* ContextOf(j_common_ptr info) { return static_cast<TJpegContext*>(info->client_data); }

void ErrorExit(j_common_ptr info) {
  TJpegContext* context = ContextOf(info);
  context->Code = info->err->msg_code;
  std::longjmp(context->Jump, 1);
}

// Warnings and trace messages are ignored.
void EmitMessage(j_common_ptr, int) {}
void OutputMessage(j_common_ptr) {}

std::uint64_t TotalBlocks(const jpeg_decompress_struct& info) {
  std::uint64_t blocks = 0;
  for (int i = 0; i < info.num_components; ++i)
    blocks += static_cast<std::uint64_t>(info.comp_info[i].width_in_blocks) *
              info.comp_info[i].height_in_blocks;
  return blocks;
}

// Charges each scan when it starts, before its data is decoded.
void ProgressMonitor(j_common_ptr common) {
  if (!common->is_decompressor) return;
  const auto* info = reinterpret_cast<j_decompress_ptr>(common);
  TJpegContext* context = ContextOf(common);
  if (info->input_scan_number == context->Scan) return;
  context->Scan = info->input_scan_number;
  std::uint64_t blocks = 0;
  for (int i = 0; i < info->comps_in_scan && i < MAX_COMPS_IN_SCAN; ++i)
    blocks += static_cast<std::uint64_t>(info->cur_comp_info[i]->width_in_blocks) *
              info->cur_comp_info[i]->height_in_blocks;
  context->Visits += blocks * static_cast<std::uint64_t>(std::max(1, info->Se - info->Ss + 1));
  const std::uint64_t budget =
      kFreePasses * 64 * TotalBlocks(*info) + kVisitsPerByte * context->FileSize;
  if (context->Visits > budget) ERREXIT(common, JERR_BAD_PROGRESSION);
}

struct TContextDeleter {
  void operator()(TJpegContext* context) const {
    jpeg_destroy_decompress(&context->Info);
    delete context;
  }
};
using TContextPtr = std::unique_ptr<TJpegContext, TContextDeleter>;

TContextPtr NewContext() {
  TContextPtr context(new TJpegContext());
  jpeg_std_error(&context->Errors);
  context->Errors.error_exit = ErrorExit;
  context->Errors.emit_message = EmitMessage;
  context->Errors.output_message = OutputMessage;
  context->Info.err = &context->Errors;
  context->Info.client_data = context.get();
  context->Progress.progress_monitor = ProgressMonitor;
  return context;
}

[[noreturn]] void ThrowJpegError(int code) {
  throw Exception(FormatText("JPEG error #%d", static_cast<long long>(code)));
}

// ---- The functions that call libjpeg: plain data only ----------------------

bool ReadHeader(TJpegContext* c, const std::uint8_t* data, std::size_t size) {
  if (setjmp(c->Jump)) return false;
  jpeg_create_decompress(&c->Info);
  c->FileSize = size;
  // libjpeg's working memory (a progressive file's coefficients, up to 6
  // bytes a pixel) is held to what an image of the largest size needs.
  c->Info.mem->max_memory_to_use =
      static_cast<long>(std::min<std::uint64_t>(1ull << 30, MaxImagePixels(size) * 8));
  c->Info.progress = &c->Progress;
  jpeg_mem_src(&c->Info, data, static_cast<unsigned long>(size));
  jpeg_read_header(&c->Info, TRUE);
  return true;
}

enum TOutput { kOutBgrx, kOutQuantized, kOutCmyk };

// Sets the options and starts decompressing, at scaleEighths / 8 of the
// image's size; a file of several scans is read whole here, before
// anything of the image's size is allocated.
bool StartBody(TJpegContext* c, int output, int scaleEighths) {
  if (setjmp(c->Jump)) return false;
  jpeg_decompress_struct* info = &c->Info;
  info->scale_num = scaleEighths < 8 ? static_cast<unsigned>(scaleEighths) : 1;
  info->scale_denom = scaleEighths < 8 ? 8 : 1;
  info->dct_method = JDCT_FLOAT;
  info->do_block_smoothing = TRUE;
  info->buffered_image = FALSE;
  if (output == kOutQuantized) {
    info->quantize_colors = TRUE;
    info->desired_number_of_colors = 236;
  } else if (output == kOutCmyk) {
    info->out_color_space = JCS_CMYK;
  } else {
    // The pixel buffer's own layout: blue, green, red, one byte unused.
    info->out_color_space = JCS_EXT_BGRX;
  }
  jpeg_start_decompress(info);
  return true;
}

// Where decoded rows go: a band of `Rows` rows of `Stride` pixels, output
// row y at ((y - First) % Rows). When the band is shorter than the rows
// decoded, Put hands each row over as soon as it is decoded (no libjpeg
// call in it).
struct TRowTarget {
  TPixel* Pixels;
  std::size_t Stride;
  JDIMENSION First;
  JDIMENSION Rows;
  void (*Put)(void* self, int y, const TPixel* row);
  void* Self;
};

// Skips the first `rows` output rows: their data is read, not decoded.
bool SkipRows(TJpegContext* c, JDIMENSION rows) {
  if (setjmp(c->Jump)) return false;
  jpeg_skip_scanlines(&c->Info, rows);
  return true;
}

// Decodes the output rows from where the decompressor stands up to `last`;
// the whole body when that is the last row.
bool ReadBody(TJpegContext* c, int output, const TRowTarget& target, JSAMPLE* row,
              JDIMENSION last) {
  if (setjmp(c->Jump)) return false;
  jpeg_decompress_struct* info = &c->Info;
  last = std::min(last, info->output_height);
  const JDIMENSION width = info->output_width;
  TPixel palette[256] = {};
  if (output == kOutQuantized) {
    for (int i = 0; i < info->actual_number_of_colors && i < 256; ++i) {
      if (info->out_color_components >= 3)
        palette[i] = MakePixel(info->colormap[0][i], info->colormap[1][i], info->colormap[2][i]);
      else
        palette[i] = MakePixel(info->colormap[0][i], info->colormap[0][i], info->colormap[0][i]);
    }
  }
  const bool adobe = info->saw_Adobe_marker;
  const std::size_t stride = target.Stride;
  while (info->output_scanline < last) {
    const JDIMENSION y = info->output_scanline;
    const JDIMENSION at = (y - target.First) % target.Rows;
    TPixel* out = target.Pixels + at * stride;
    JDIMENSION count = 0;
    if (output == kOutBgrx) {
      JSAMPROW rows[16];
      count = std::min<JDIMENSION>({16, last - y, target.Rows - at});
      for (JDIMENSION i = 0; i < count; ++i) rows[i] = reinterpret_cast<JSAMPLE*>(out + i * stride);
      count = jpeg_read_scanlines(info, rows, count);
      // libjpeg sets the unused byte to 0xFF; pixels keep it 0.
      for (JDIMENSION i = 0; i < count; ++i) {
        TPixel* p = out + i * stride;
        for (JDIMENSION x = 0; x < width; ++x) p[x] &= 0xFFFFFF;
      }
    } else {
      JSAMPROW rows[1] = {row};
      count = jpeg_read_scanlines(info, rows, 1);
      if (count == 1 && output == kOutQuantized) {
        for (JDIMENSION x = 0; x < width; ++x) out[x] = palette[row[x]];
      } else if (count == 1) {
        // Adobe's files store CMYK inverted.
        for (JDIMENSION x = 0; x < width; ++x) {
          const unsigned c0 = row[4 * x], m = row[4 * x + 1], ye = row[4 * x + 2], k = row[4 * x + 3];
          if (adobe)
            out[x] = MakePixel(c0 * k / 255, m * k / 255, ye * k / 255);
          else
            out[x] = MakePixel((255 - c0) * (255 - k) / 255, (255 - m) * (255 - k) / 255,
                               (255 - ye) * (255 - k) / 255);
        }
      }
    }
    if (target.Put)
      for (JDIMENSION i = 0; i < count; ++i)
        target.Put(target.Self, static_cast<int>(y + i), out + i * stride);
  }
  if (last == info->output_height) jpeg_finish_decompress(info);
  return true;
}

bool IsCmyk(const jpeg_decompress_struct& info) {
  return info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
}

}  // namespace

int JpegScaleEighths(int width, int height, int shownWidth, int shownHeight) {
  if (shownWidth <= 0 || shownHeight <= 0) return 8;
  auto scaled = [](std::int64_t size, int m) { return (size * m + 7) / 8; };  // libjpeg rounds up
  for (int m = 1; m < 8; ++m)
    if (scaled(width, m) >= shownWidth && scaled(height, m) >= shownHeight) return m;
  return 8;
}

namespace {

// Reads the header and starts the body: the checks every decode makes
// before anything of the image's size is allocated.
TContextPtr StartJpeg(const std::vector<std::uint8_t>& data, bool quantize, int scaleEighths,
                      int& output) {
  TContextPtr context = NewContext();
  if (!ReadHeader(context.get(), data.data(), data.size())) ThrowJpegError(context->Code);
  const jpeg_decompress_struct& info = context->Info;
  CheckReducibleSize(info.image_width, info.image_height);
  // Every block takes at least a bit of Huffman-coded data: a body far too
  // small for its blocks is cut short, and nothing of the header's size is
  // allocated for it.
  if (static_cast<std::uint64_t>(data.size()) * 8 < TotalBlocks(info)) ThrowJpegError(JWRN_JPEG_EOF);
  output = IsCmyk(info) ? kOutCmyk : quantize ? kOutQuantized : kOutBgrx;
  if (!StartBody(context.get(), output, scaleEighths)) ThrowJpegError(context->Code);
  return context;
}

// Where a decode of rows first up to last into held pixels is split
// between two threads: 0 for none. Only many pixels of one scan in the
// pixels' own layout are split (each decoder of a file of several scans
// would hold all its coefficients), and not where they are reduced to a
// quarter or less, whose cost is nearly all in reading the data, which
// both decoders do above the cut. The first two thirds go to the first
// decoder, as the second reads their data before it decodes the rest; the
// cut lies on a row of blocks, so that neither decodes a row it throws away.
JDIMENSION SplitRow(const jpeg_decompress_struct& info, int output, JDIMENSION first,
                    JDIMENSION last) {
  if (output != kOutBgrx || jpeg_has_multiple_scans(const_cast<j_decompress_ptr>(&info)) ||
      info.scale_num * 4 <= info.scale_denom ||
      static_cast<std::int64_t>(info.output_width) * (last - first) < kParallelPixels)
    return 0;
  const JDIMENSION band = static_cast<JDIMENSION>(info.max_v_samp_factor * info.min_DCT_scaled_size);
  if (band == 0) return 0;
  const JDIMENSION cut = (first + (last - first) * 2 / 3) / band * band;
  return cut > first && cut < last ? cut : 0;
}

}  // namespace

void DecodeJpeg(const std::vector<std::uint8_t>& data, bool quantize, TPixelBuffer& pixels,
                int scaleEighths, int top, int bottom) {
  int output = kOutBgrx;
  TContextPtr context = StartJpeg(data, quantize, scaleEighths, output);
  const jpeg_decompress_struct& info = context->Info;
  JDIMENSION first = 0, last = info.output_height;
  if (bottom > top) {
    first = static_cast<JDIMENSION>(std::max(top, 0));
    last = std::min(static_cast<JDIMENSION>(bottom), info.output_height);
    if (first >= last) ThrowJpegError(JERR_BAD_CROP_SPEC);
  }
  // What is held decoded is bounded, whatever size the picture has.
  CheckImageSize(info.output_width, last - first, data.size());
  TPixelBuffer decoded(static_cast<int>(info.output_width), static_cast<int>(last - first));
  std::vector<JSAMPLE> row(output == kOutBgrx ? 0 : static_cast<std::size_t>(info.output_width) * 4);
  const TRowTarget target{decoded.Empty() ? nullptr : decoded.Scanline(0), info.output_width, first,
                          std::max<JDIMENSION>(1, last - first), nullptr, nullptr};
  // Rows above the first are read, not decoded; those below the last not
  // even read.
  const JDIMENSION cut = SplitRow(info, output, first, last);
  auto decodeTop = [&] {
    if ((first > 0 && !SkipRows(context.get(), first)) ||
        !ReadBody(context.get(), output, target, row.data(), cut > 0 ? cut : last))
      ThrowJpegError(context->Code);
  };
  if (cut == 0) {
    decodeTop();
  } else {
    // A second decoder skips the rows above the cut (reading their data
    // costs a fraction of decoding them) and decodes the rest meanwhile.
    RunAlongside(
        [&] {
          int bottomOutput = kOutBgrx;
          TContextPtr rest = StartJpeg(data, quantize, scaleEighths, bottomOutput);
          if (!SkipRows(rest.get(), cut) || !ReadBody(rest.get(), bottomOutput, target, nullptr, last))
            ThrowJpegError(rest->Code);
        },
        decodeTop);
  }
  pixels = std::move(decoded);
}

int JpegSplitRow(const std::vector<std::uint8_t>& data, int scaleEighths) {
  int output = kOutBgrx;
  TContextPtr context = StartJpeg(data, false, scaleEighths, output);
  return static_cast<int>(SplitRow(context->Info, output, 0, context->Info.output_height));
}

void DecodeJpegRows(const std::vector<std::uint8_t>& data, bool quantize,
                    const std::function<void(int y, const TPixel* row)>& put) {
  int output = kOutBgrx;
  TContextPtr context = StartJpeg(data, quantize, 8, output);
  const jpeg_decompress_struct& info = context->Info;
  CheckImageRowWidth(info.output_width, info.output_height, data.size());
  constexpr JDIMENSION kBand = 16;
  std::vector<TPixel> band(static_cast<std::size_t>(info.output_width) * kBand);
  std::vector<JSAMPLE> row(output == kOutBgrx ? 0 : static_cast<std::size_t>(info.output_width) * 4);
  auto forward = [](void* self, int y, const TPixel* pixels) {
    (*static_cast<const std::function<void(int, const TPixel*)>*>(self))(y, pixels);
  };
  const TRowTarget target{band.data(), info.output_width, 0, kBand, forward,
                          const_cast<std::function<void(int, const TPixel*)>*>(&put)};
  if (!ReadBody(context.get(), output, target, row.data(), info.output_height))
    ThrowJpegError(context->Code);
}

void TJPEGImage::LoadFromData(std::vector<std::uint8_t> data) {
  TContextPtr context = NewContext();
  if (!ReadHeader(context.get(), data.data(), data.size())) ThrowJpegError(context->Code);
  const jpeg_decompress_struct& info = context->Info;
  CheckReducibleSize(info.image_width, info.image_height);
  FWidth = static_cast<int>(info.image_width);
  FHeight = static_cast<int>(info.image_height);
  FQuantize = DisplayColorDepth() <= 8 || info.jpeg_color_space == JCS_GRAYSCALE;
  FData = std::move(data);
  FDecoded = false;
  FPixels = TPixelBuffer();
  FBandTop = FBandBottom = 0;
  UpdateBand();
}

void TJPEGImage::SetShownSize(int width, int height) {
  const int scale = JpegScaleEighths(FWidth, FHeight, width, height);
  if (scale == FScaleEighths) return;
  FScaleEighths = scale;
  FDecoded = false;
  FPixels = TPixelBuffer();
  UpdateBand();
}

void TJPEGImage::SetShownRows(int top, int bottom) {
  FShownTop = top;
  FShownBottom = bottom;
  UpdateBand();
}

void TJPEGImage::UpdateBand() {
  const int top = std::clamp(FShownTop, 0, FHeight);
  const int bottom = std::clamp(FShownBottom, top, FHeight);
  // A band only of a photo too large to hold whole at its own size, in the
  // pixels' own layout, and only for some rows shown.
  const bool band = FScaleEighths == 8 && !FQuantize && bottom > top && FWidth > 0 &&
                    static_cast<std::int64_t>(FWidth) * FHeight > kWholeJpegPixels;
  if (!band) {
    if (FBandBottom == 0) return;
    FBandTop = FBandBottom = 0;
  } else {
    if (FBandBottom > 0 && FBandTop <= top && bottom <= FBandBottom) return;  // still covered
    const int rows = static_cast<int>(std::max<std::int64_t>(
        bottom - top, std::min<std::int64_t>(FHeight, kWholeJpegPixels / FWidth)));
    FBandTop = std::clamp(top - (rows - (bottom - top)) / 2, 0, FHeight - rows);
    FBandBottom = FBandTop + rows;
  }
  FDecoded = false;
  FPixels = TPixelBuffer();
}

int TJPEGImage::DecodedWidth() const {
  return static_cast<int>((static_cast<std::int64_t>(FWidth) * FScaleEighths + 7) / 8);
}

int TJPEGImage::DecodedHeight() const {
  if (FBandBottom > 0) return FBandBottom - FBandTop;
  return static_cast<int>((static_cast<std::int64_t>(FHeight) * FScaleEighths + 7) / 8);
}

const TPixelBuffer& TJPEGImage::Pixels() {
  if (!FDecoded && !FData.empty()) {
    FPixels = TPixelBuffer();  // the old pixels go before the new ones come
    DecodeJpeg(FData, FQuantize, FPixels, FScaleEighths, FBandTop, FBandBottom);
    FDecoded = true;
  }
  return FPixels;
}

bool TJPEGImage::ReadPixel(int x, int y, TColor& color) {
  if (FData.empty() || FQuantize || x < 0 || y < 0 || x >= FWidth || y >= FHeight) return false;
  TPixelBuffer row;
  DecodeJpeg(FData, false, row, 8, y, y + 1);
  color = row.GetPixel(x, 0);
  return true;
}

void TJPEGImage::ReadRows(TColor, const std::function<void(int y, const TPixel* row)>& row) {
  if (!FData.empty()) DecodeJpegRows(FData, FQuantize, row);
}

void TJPEGImage::Draw(TPixelBuffer& target, int x, int y) { target.Draw(x, y, Pixels()); }

bool TJPEGImage::TakeOpaquePixels(TPixelBuffer& pixels) {
  Pixels();
  pixels = std::move(FPixels);
  FDecoded = false;
  return true;
}

}  // namespace bx
