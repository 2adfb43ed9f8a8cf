#include "components/PngImage.h"

#include <algorithm>
#include <csetjmp>
#include <cstring>
#include <memory>
#include <vector>

#include <png.h>

#include "platform/Errors.h"

namespace bx {

namespace {

const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

std::uint32_t ReadBigEndian32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
         (static_cast<std::uint32_t>(p[2]) << 8) | p[3];
}

// libpng reports errors by calling the error function, which must not
// return: it jumps back into the small function that made the libpng call.
// Those functions and libpng's own frames hold no C++ objects, so nothing is
// skipped that has a destructor.
struct TPngContext {
  std::jmp_buf Jump;
  const std::uint8_t* Data = nullptr;
  std::size_t Size = 0;
  std::size_t Pos = 0;
};

void ErrorExit(png_structp png, png_const_charp) {
  std::longjmp(static_cast<TPngContext*>(png_get_error_ptr(png))->Jump, 1);
}
void Warning(png_structp, png_const_charp) {}

void ReadData(png_structp png, png_bytep out, std::size_t length) {
  auto* context = static_cast<TPngContext*>(png_get_io_ptr(png));
  if (length > context->Size - context->Pos) png_error(png, "the data ends");
  std::memcpy(out, context->Data + context->Pos, length);
  context->Pos += length;
}

struct TReader {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  ~TReader() { png_destroy_read_struct(&Png, Info ? &Info : nullptr, nullptr); }
};

// ---- The functions that call libpng: plain data only ------------------------

// Reads the header and asks for 8-bit blue, green, red and alpha; returns
// the number of interlace passes, 0 on an error.
int ReadHeader(TPngContext* c, png_structp png, png_infop info, png_uint_32* width,
               png_uint_32* height) {
  if (setjmp(c->Jump)) return 0;
  png_set_read_fn(png, c, ReadData);
  png_set_user_limits(png, 0x7FFFFFFF, 0x7FFFFFFF);
  // Text and profile chunks are not used; their size is held small.
  png_set_chunk_malloc_max(png, 1 << 20);
  png_read_info(png, info);
  *width = png_get_image_width(png, info);
  *height = png_get_image_height(png, info);
  png_set_expand(png);
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<std::size_t>(*width) * 4) return 0;
  return passes;
}

// Reads every row of every pass; a row the scaled picture takes goes into
// its slot, every other into the scratch row.
bool ReadRows(TPngContext* c, png_structp png, int passes, png_uint_32 imageHeight, int height,
              std::uint8_t* slots, std::size_t rowBytes, std::uint8_t* scratch) {
  if (setjmp(c->Jump)) return false;
  const bool downscaled = imageHeight >= static_cast<png_uint_32>(height);
  for (int pass = 0; pass < passes; ++pass) {
    for (png_uint_32 y = 0; y < imageHeight; ++y) {
      std::uint8_t* row = scratch;
      if (!downscaled) {
        row = slots + rowBytes * y;
      } else {
        // Output row o takes image row o * imageHeight / height; the first
        // o that could take row y is the rounded-up inverse.
        const std::uint64_t o = (static_cast<std::uint64_t>(y) * height + imageHeight - 1) / imageHeight;
        if (o < static_cast<std::uint64_t>(height) && o * imageHeight / height == y)
          row = slots + rowBytes * o;
      }
      png_read_row(png, row, nullptr);
    }
  }
  return true;
}

}  // namespace

bool IsPng(const std::uint8_t* data, std::size_t size) {
  return size >= 8 && std::equal(kSignature, kSignature + 8, data);
}

bool ReadPngInfo(const std::uint8_t* data, std::size_t size, TPngInfo& info) {
  if (!IsPng(data, size) || size < 33 || ReadBigEndian32(data + 8) != 13 ||
      std::memcmp(data + 12, "IHDR", 4) != 0)
    return false;
  const std::uint32_t width = ReadBigEndian32(data + 16), height = ReadBigEndian32(data + 20);
  if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return false;
  const int depth = data[24], colourType = data[25];
  info.Width = static_cast<int>(width);
  info.Height = static_cast<int>(height);
  switch (colourType) {
    case 4:  // grey and alpha
    case 6:  // colour and alpha
      info.BitCount = 32;
      break;
    case 2:  // colour
      info.BitCount = 24;
      break;
    default:  // grey, palette
      info.BitCount = std::min(depth, 8);
      break;
  }
  return true;
}

bool DecodePngScaled(const std::uint8_t* data, std::size_t size, int width, int height,
                     TPixelBuffer& out) {
  TPngInfo info;
  if (!ReadPngInfo(data, size, info) || width <= 0 || height <= 0) return false;
  // Before libpng sizes its row buffers by the header.
  CheckImageSize(info.Width, info.Height, size);
  CheckImageRowWidth(info.Width, info.Height, size);
  TPngContext context;
  context.Data = data;
  context.Size = size;
  TReader reader;
  reader.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &context, ErrorExit, Warning);
  if (reader.Png == nullptr) return false;
  reader.Info = png_create_info_struct(reader.Png);
  if (reader.Info == nullptr) return false;
  png_uint_32 imageWidth = 0, imageHeight = 0;
  const int passes = ReadHeader(&context, reader.Png, reader.Info, &imageWidth, &imageHeight);
  if (passes == 0) return false;

  const std::size_t rowBytes = static_cast<std::size_t>(imageWidth) * 4;
  std::vector<std::uint8_t> scratch(rowBytes);
  if (imageWidth == static_cast<png_uint_32>(width) && imageHeight == static_cast<png_uint_32>(height)) {
    // At its own size the rows go straight into the picture.
    TPixelBuffer image(width, height);
    if (!ReadRows(&context, reader.Png, passes, imageHeight, height,
                  reinterpret_cast<std::uint8_t*>(image.Scanline(0)), rowBytes, scratch.data()))
      return false;
    out = std::move(image);
    return true;
  }
  const std::size_t slotCount = std::min<std::size_t>(imageHeight, height);
  std::vector<std::uint8_t> slots(rowBytes * slotCount);
  if (!ReadRows(&context, reader.Png, passes, imageHeight, height, slots.data(), rowBytes,
                scratch.data()))
    return false;

  out.SetSize(width, height);
  std::vector<std::uint32_t> columns(width);
  for (int x = 0; x < width; ++x)
    columns[x] = static_cast<std::uint32_t>(static_cast<std::uint64_t>(x) * imageWidth / width);
  for (int y = 0; y < height; ++y) {
    // Downscaled, each output row takes its own image row, kept in its slot.
    const std::uint64_t slot = imageHeight >= static_cast<png_uint_32>(height)
                                   ? static_cast<std::uint64_t>(y)
                                   : static_cast<std::uint64_t>(y) * imageHeight / height;
    const std::uint8_t* row = slots.data() + rowBytes * slot;
    TPixel* target = out.Scanline(y);
    for (int x = 0; x < width; ++x) std::memcpy(&target[x], row + 4 * columns[x], 4);
  }
  return true;
}

namespace {

const char* const kInvalid = "PNG image is not valid";

}  // namespace

void TPngImage::LoadFromData(std::vector<std::uint8_t> data) {
  TPngInfo info;
  if (!ReadPngInfo(data.data(), data.size(), info)) throw Exception(kInvalid);
  Keep(std::move(data), info.Width, info.Height);
}

bool TPngImage::DecodeKept(const std::vector<std::uint8_t>& data, int width, int height,
                           TPixelBuffer& pixels) {
  return DecodePngScaled(data.data(), data.size(), width, height, pixels);
}

const char* TPngImage::InvalidMessage() const { return kInvalid; }

}  // namespace bx
