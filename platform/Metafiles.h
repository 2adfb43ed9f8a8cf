// Playing metafiles, where the platform has a player.
#pragma once

#include <cstdint>
#include <vector>

namespace bx {

class TPixelBuffer;

// Plays a metafile's bytes into a rectangle of a pixel buffer; what the
// metafile does not paint keeps its pixels. Absent where no player exists.
class IMetafilePlayer {
 public:
  virtual ~IMetafilePlayer() = default;
  virtual bool PlayEnhanced(const std::vector<std::uint8_t>& emf, TPixelBuffer& target, int x,
                            int y, int width, int height) = 0;
  // Windows metafile records (the placeable header removed) in a box of
  // width x height pixels; the box's logical extent comes from the header.
  virtual bool PlayWindows(const std::vector<std::uint8_t>& wmfRecords, int boxLeft, int boxTop,
                           int boxRight, int boxBottom, int unitsPerInch, TPixelBuffer& target,
                           int x, int y, int width, int height) = 0;
};

}  // namespace bx
