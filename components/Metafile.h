// Metafiles (.wmf and .emf; the content decides the kind): the header
// rules and sizes here, the playing through the platform's metafile player
// (GDI on Windows; the portable build has none and rejects metafiles).
#pragma once

#include <cstdint>
#include <vector>

#include "components/Graphic.h"

namespace bx {

// The display facts the sizes depend on.
struct TMetafileDisplay {
  int LogPixelsX = 96;
  int LogPixelsY = 96;
  // The screen as a reference device: pixels and millimetres.
  int PixelsX = 1024;
  int PixelsY = 768;
  int MillimetersX = 271;
  int MillimetersY = 203;
};

// The display in use: logical pixels per inch and the screen's size, with
// its millimetres derived from them as the platform derives them.
TMetafileDisplay CurrentMetafileDisplay();

struct TMetafileHeader {
  bool Enhanced = false;
  // The physical size in hundredths of a millimetre, and in pixels.
  int MMWidth = 0;
  int MMHeight = 0;
  int Width = 0;
  int Height = 0;
  // Enhanced: the bytes the header counts. Placeable: where the metafile
  // records start, the bounding box and the units per inch as stored.
  std::size_t Length = 0;
  std::size_t RecordsOffset = 0;
  int BoxLeft = 0, BoxTop = 0, BoxRight = 0, BoxBottom = 0;
  int UnitsPerInch = 0;
  // The records up to the end record, the header's own included.
  std::uint64_t Records = 0;
};

// Recognises an enhanced metafile (more than 100 bytes, header record
// type 1, " EMF" at byte 40) or else a placeable Windows metafile (key
// 0x9AC6CDD7, the XOR of the first ten 16-bit words as checksum) and
// computes its sizes. False for anything else, for a header whose sizes
// cannot be computed, and for data shorter than the header claims or whose
// records do not chain to their end.
bool ReadMetafileHeader(const std::vector<std::uint8_t>& data, const TMetafileDisplay& display,
                        TMetafileHeader& header);

// A player paints record by record, and each record may touch every pixel
// of the rectangle it is played into (a fill of the whole picture costs no
// more bytes than a dot), so playing costs up to the records times that
// area. The most work a metafile gets, in pixels written: about a second
// of GDI's fills.
constexpr std::uint64_t kMetafileWork = 1ull << 31;

// The size at which a metafile of `records` records is played when drawn at
// width x height: that size while records x area stays within
// kMetafileWork, else the largest size of about the same proportions that
// does (at least 1 x 1); the picture played there is then scaled up.
void MetafilePlaySize(std::uint64_t records, int width, int height, int& playWidth,
                      int& playHeight);

class TMetafile : public TGraphic {
 public:
  // Throws "Metafile is not valid", also where no player exists.
  void LoadFromData(std::vector<std::uint8_t> data) override;
  bool Empty() const override { return FData.empty(); }
  int Width() const override { return FHeader.Width; }
  int Height() const override { return FHeader.Height; }
  // Plays the metafile into the rectangle of its size at (x, y), or, for a
  // metafile whose records would cost more than kMetafileWork there, at
  // the smaller size MetafilePlaySize gives, scaled up by nearest pixel.
  void Draw(TPixelBuffer& target, int x, int y) override;
  bool DrawMayFail() const override { return true; }
  const TMetafileHeader& Header() const { return FHeader; }

 private:
  TMetafileHeader FHeader;
  std::vector<std::uint8_t> FData;  // the enhanced metafile, or the Windows metafile records
};

}  // namespace bx
