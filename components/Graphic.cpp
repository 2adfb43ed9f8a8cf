#include "components/Graphic.h"

#include <algorithm>
#include <fstream>
#include <iterator>

#include "platform/Errors.h"
#include "platform/Platform.h"

namespace bx {

void TGraphic::LoadFromFile(const std::string& fileName) { LoadFromData(ReadPictureFile(fileName)); }

void TGraphic::ReadRows(TColor background,
                        const std::function<void(int y, const TPixel* row)>& row) {
  if (Empty()) return;
  SetShownSize(0, 0);
  Decode();
  TPixelBuffer whole(Width(), Height());
  whole.Fill(background);
  Draw(whole, 0, 0);
  const TPixelBuffer& pixels = whole;
  for (int y = 0; y < pixels.Height(); ++y) row(y, pixels.Scanline(y));
}

std::vector<std::uint8_t> ReadPictureFile(const std::string& fileName) {
  if (IFileSystem* files = Platform().Files) return files->ReadFile(fileName);
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw Exception(FormatText("Cannot open file %s", fileName));
  std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)),
                                 std::istreambuf_iterator<char>());
  if (in.bad()) throw Exception(FormatText("Cannot open file %s", fileName));
  return data;
}

std::uint64_t MaxImagePixels(std::uint64_t dataSize) {
  constexpr std::uint64_t kAnyFile = 1ull << 25;
  constexpr std::uint64_t kLargest = sizeof(void*) < 8 ? 1ull << 26 : 1ull << 28;
  if (dataSize <= kAnyFile / 32) return kAnyFile;
  return std::min(kLargest, dataSize * 32);
}

namespace {

[[noreturn]] void ThrowTooLarge(std::int64_t width, std::int64_t height) {
  throw Exception("Not enough memory for a bitmap of " + std::to_string(width) + " x " +
                  std::to_string(height) + " pixels");
}

}  // namespace

void CheckImageSize(std::int64_t width, std::int64_t height, std::uint64_t dataSize) {
  if (width < 0 || height < 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF ||
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) >
          MaxImagePixels(dataSize))
    ThrowTooLarge(width, height);
}

void CheckReducibleSize(std::int64_t width, std::int64_t height) {
  if (width < 0 || height < 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF ||
      static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > kMaxReduciblePixels)
    ThrowTooLarge(width, height);
}

std::uint64_t MaxImageRowPixels(std::uint64_t dataSize) {
  constexpr std::uint64_t kAnyFile = 1ull << 16, kLargest = 1ull << 22;
  return std::clamp(dataSize, kAnyFile, kLargest);
}

void CheckImageRowWidth(std::int64_t width, std::int64_t height, std::uint64_t dataSize) {
  if (width < 0 || static_cast<std::uint64_t>(width) > MaxImageRowPixels(dataSize))
    ThrowTooLarge(width, height);
}

int DisplayColorDepth() {
  ISystem* system = Platform().System;
  const int depth = system ? system->DisplayColorDepth() : 0;
  return depth > 0 ? depth : 24;
}

int DisplayLogPixelsX() {
  ISystem* system = Platform().System;
  const int ppi = system ? system->LogPixelsPerInchX() : 0;
  return ppi > 0 ? ppi : 96;
}

int DisplayLogPixelsY() {
  ISystem* system = Platform().System;
  const int ppi = system ? system->LogPixelsPerInchY() : 0;
  return ppi > 0 ? ppi : 96;
}

int SystemMetric(int index, int fallback) {
  ISystem* system = Platform().System;
  const int value = system ? system->GetSystemMetrics(index) : 0;
  return value > 0 ? value : fallback;
}

std::int64_t MulDiv64(std::int64_t a, std::int64_t b, std::int64_t c) {
  const bool negative = ((a < 0) != (b < 0)) != (c < 0);
  const std::uint64_t n = static_cast<std::uint64_t>(a < 0 ? -a : a) *
                          static_cast<std::uint64_t>(b < 0 ? -b : b);
  const std::uint64_t d = static_cast<std::uint64_t>(c < 0 ? -c : c);
  const auto q = static_cast<std::int64_t>((n + d / 2) / d);
  return negative ? -q : q;
}

}  // namespace bx
