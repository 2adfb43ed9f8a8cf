#include "components/Metafile.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/Errors.h"
#include "platform/Platform.h"

namespace bx {

namespace {

const char* const kInvalid = "Metafile is not valid";
constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::uint32_t kEnhancedSignature = 0x464D4520;  // " EMF"
constexpr std::int64_t kHundredthMMPerInch = 2540;
constexpr std::size_t kPlaceableHeaderSize = 22;

bool Fits(std::int64_t v) { return v > -0x80000000ll && v < 0x80000000ll; }

// Physical size to pixels through a device's pixel and millimetre sizes.
bool DeviceSize(std::int64_t mm, std::int64_t pixels, std::int64_t millimeters, int& result) {
  if (pixels <= 0 || millimeters <= 0 || !Fits(mm) || !Fits(pixels)) return false;
  const std::int64_t v = MulDiv64(mm, pixels, millimeters * 100);
  if (v < 0 || !Fits(v)) return false;
  result = static_cast<int>(v);
  return true;
}

// The records must chain up to the end record or the end of the data: each
// record's size is checked before a player follows it.
// Counts them on the way, for the work they may cause.
bool EnhancedRecordsChain(const std::uint8_t* p, std::size_t length, std::uint64_t& records) {
  std::size_t at = 0;
  while (at < length) {
    if (length - at < 8) return false;
    const std::uint32_t type = ReadU32(p + at), size = ReadU32(p + at + 4);
    if (size < 8 || size % 4 != 0 || size > length - at) return false;
    ++records;
    if (type == 14) return true;  // EMR_EOF
    at += size;
  }
  return true;
}

bool WindowsRecordsChain(const std::uint8_t* p, std::size_t length, std::uint64_t& records) {
  std::size_t at = 18;
  records = 1;  // the metafile header
  while (at < length) {
    if (length - at < 6) return false;
    const std::uint64_t size = static_cast<std::uint64_t>(ReadU32(p + at)) * 2;
    if (size < 6 || size > length - at) return false;
    ++records;
    if (ReadU16(p + at + 4) == 0) return true;  // META_EOF
    at += static_cast<std::size_t>(size);
  }
  return true;
}

bool ReadEnhanced(const std::vector<std::uint8_t>& data, TMetafileHeader& h) {
  const std::uint8_t* p = data.data();
  const std::uint32_t recordSize = ReadU32(p + 4);
  const std::uint32_t length = ReadU32(p + 48);
  if (recordSize < 88 || recordSize > length || length > data.size() ||
      !EnhancedRecordsChain(p, length, h.Records))
    return false;
  const std::int64_t frameWidth = static_cast<std::int64_t>(ReadI32(p + 32)) - ReadI32(p + 24);
  const std::int64_t frameHeight = static_cast<std::int64_t>(ReadI32(p + 36)) - ReadI32(p + 28);
  if (frameWidth < 0 || frameHeight < 0 || !Fits(frameWidth) || !Fits(frameHeight)) return false;
  h.Enhanced = true;
  h.MMWidth = static_cast<int>(frameWidth);
  h.MMHeight = static_cast<int>(frameHeight);
  h.Length = length;
  return DeviceSize(frameWidth, ReadI32(p + 72), ReadI32(p + 80), h.Width) &&
         DeviceSize(frameHeight, ReadI32(p + 76), ReadI32(p + 84), h.Height);
}

bool ReadPlaceable(const std::vector<std::uint8_t>& data, const TMetafileDisplay& display,
                   TMetafileHeader& h) {
  const std::uint8_t* p = data.data();
  if (data.size() < kPlaceableHeaderSize || ReadU32(p) != kPlaceableKey) return false;
  std::uint16_t sum = 0;
  for (int i = 0; i < 10; ++i) sum ^= ReadU16(p + 2 * i);
  if (sum != ReadU16(p + 20)) return false;
  h.BoxLeft = ReadI16(p + 6);
  h.BoxTop = ReadI16(p + 8);
  h.BoxRight = ReadI16(p + 10);
  h.BoxBottom = ReadI16(p + 12);
  h.UnitsPerInch = ReadU16(p + 14);
  const int inch = h.UnitsPerInch != 0 ? h.UnitsPerInch : 96;
  const std::int64_t mmWidth = MulDiv64(h.BoxRight - h.BoxLeft, kHundredthMMPerInch, inch);
  const std::int64_t mmHeight = MulDiv64(h.BoxBottom - h.BoxTop, kHundredthMMPerInch, inch);
  if (mmWidth < 0 || mmHeight < 0) return false;
  h.MMWidth = static_cast<int>(mmWidth);
  h.MMHeight = static_cast<int>(mmHeight);
  if (h.UnitsPerInch != 0) {
    if (display.LogPixelsX <= 0 || display.LogPixelsY <= 0) return false;
    h.Width = static_cast<int>(MulDiv64(mmWidth, display.LogPixelsX, kHundredthMMPerInch));
    h.Height = static_cast<int>(MulDiv64(mmHeight, display.LogPixelsY, kHundredthMMPerInch));
  } else if (!DeviceSize(mmWidth, display.PixelsX, display.MillimetersX, h.Width) ||
             !DeviceSize(mmHeight, display.PixelsY, display.MillimetersY, h.Height)) {
    return false;
  }
  // The records: a metafile header of 9 words, and as many words as it counts.
  const std::size_t records = data.size() - kPlaceableHeaderSize;
  const std::uint8_t* r = p + kPlaceableHeaderSize;
  if (records < 18 || ReadU16(r + 2) != 9 || ReadU32(r + 6) < 9 ||
      static_cast<std::uint64_t>(ReadU32(r + 6)) * 2 > records)
    return false;
  h.RecordsOffset = kPlaceableHeaderSize;
  h.Length = static_cast<std::size_t>(ReadU32(r + 6)) * 2;
  return WindowsRecordsChain(r, h.Length, h.Records);
}

}  // namespace

TMetafileDisplay CurrentMetafileDisplay() {
  TMetafileDisplay d;
  d.LogPixelsX = DisplayLogPixelsX();
  d.LogPixelsY = DisplayLogPixelsY();
  d.PixelsX = SystemMetric(kSmCxScreen, 1024);
  d.PixelsY = SystemMetric(kSmCyScreen, 768);
  d.MillimetersX = static_cast<int>(MulDiv64(d.PixelsX, 254, d.LogPixelsX * 10));
  d.MillimetersY = static_cast<int>(MulDiv64(d.PixelsY, 254, d.LogPixelsY * 10));
  return d;
}

bool ReadMetafileHeader(const std::vector<std::uint8_t>& data, const TMetafileDisplay& display,
                        TMetafileHeader& header) {
  header = TMetafileHeader();
  if (data.size() > 100 && ReadU32(data.data()) == 1 && ReadU32(data.data() + 40) == kEnhancedSignature)
    return ReadEnhanced(data, header);
  return ReadPlaceable(data, display, header);
}

void MetafilePlaySize(std::uint64_t records, int width, int height, int& playWidth,
                      int& playHeight) {
  playWidth = width;
  playHeight = height;
  records = std::max<std::uint64_t>(records, 1);
  const std::uint64_t area = static_cast<std::uint64_t>(std::max(width, 0)) * std::max(height, 0);
  if (area <= kMetafileWork / records) return;
  // Both sides shrink by the same factor; a side that would fall below one
  // pixel stays at one and the other takes what the budget leaves.
  const std::uint64_t allowed = std::max<std::uint64_t>(kMetafileWork / records, 1);
  const double scale = std::sqrt(static_cast<double>(allowed) / static_cast<double>(area));
  std::uint64_t w = static_cast<std::uint64_t>(width * scale);
  std::uint64_t h = static_cast<std::uint64_t>(height * scale);
  if (w < 1) {
    w = 1;
    h = std::min<std::uint64_t>(height, allowed);
  } else if (h < 1) {
    h = 1;
    w = std::min<std::uint64_t>(width, allowed);
  }
  while (w * h > allowed && (w > 1 || h > 1)) (w >= h ? w : h) -= 1;
  playWidth = static_cast<int>(w);
  playHeight = static_cast<int>(h);
}

void TMetafile::LoadFromData(std::vector<std::uint8_t> data) {
  TMetafileHeader header;
  if (!ReadMetafileHeader(data, CurrentMetafileDisplay(), header) || Platform().Metafiles == nullptr)
    throw Exception(kInvalid);
  CheckImageSize(header.Width, header.Height, data.size());
  if (header.Enhanced) {
    data.resize(header.Length);
    FData = std::move(data);
  } else {
    FData.assign(data.begin() + header.RecordsOffset,
                 data.begin() + header.RecordsOffset + header.Length);
  }
  FHeader = header;
}

void TMetafile::Draw(TPixelBuffer& target, int x, int y) {
  IMetafilePlayer* player = Platform().Metafiles;
  if (player == nullptr) throw Exception(kInvalid);
  const int width = FHeader.Width, height = FHeader.Height;
  if (FData.empty() || width == 0 || height == 0) return;
  auto play = [&](TPixelBuffer& into, int px, int py, int pw, int ph) {
    const bool played =
        FHeader.Enhanced
            ? player->PlayEnhanced(FData, into, px, py, pw, ph)
            : player->PlayWindows(FData, FHeader.BoxLeft, FHeader.BoxTop, FHeader.BoxRight,
                                  FHeader.BoxBottom, FHeader.UnitsPerInch, into, px, py, pw, ph);
    if (!played) throw Exception(kInvalid);
  };
  int playWidth, playHeight;
  MetafilePlaySize(FHeader.Records, width, height, playWidth, playHeight);
  if (playWidth == width && playHeight == height) {
    play(target, x, y, width, height);
    return;
  }
  // Played at the smaller size over the target's pixels taken to that size,
  // so that what the metafile does not paint keeps the background.
  auto end = [](int start, int size) {
    return static_cast<int>(std::min<std::int64_t>(std::int64_t{start} + size, 0x7FFFFFFF));
  };
  const TRect frame{x, y, end(x, width), end(y, height)};
  TPixelBuffer small(playWidth, playHeight);
  small.StretchCopy({0, 0, playWidth, playHeight}, target, frame);
  play(small, 0, 0, playWidth, playHeight);
  target.StretchCopy(frame, small, {0, 0, playWidth, playHeight});
}

}  // namespace bx
