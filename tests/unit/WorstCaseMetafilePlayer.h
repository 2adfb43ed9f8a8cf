// A metafile player that costs what GDI's costs at worst: every record it
// is given fills the whole rectangle it plays into, so a metafile costs its
// records times the area it is played at. It keeps what it was last asked
// to play, and refuses the records when told to. Like GDI it stops at the
// end record.
#pragma once

#include <cstdint>
#include <vector>

#include "components/Graphic.h"
#include "platform/Metafiles.h"

namespace bx::test {

class TWorstCaseMetafilePlayer : public IMetafilePlayer {
 public:
  bool Result = true;
  // Off: the records are only counted, and the rectangle filled once.
  bool FillEachRecord = true;
  int PlayWidth = 0;
  int PlayHeight = 0;
  std::uint64_t Records = 0;

  bool PlayEnhanced(const std::vector<std::uint8_t>& emf, TPixelBuffer& target, int x, int y,
                    int width, int height) override {
    Start(width, height);
    for (std::size_t at = 0; at + 8 <= emf.size();) {
      const std::uint32_t size = ReadU32(emf.data() + at + 4);
      Fill(target, x, y, width, height);
      if (size < 8 || size > emf.size() - at || ReadU32(emf.data() + at) == 14) break;  // EMR_EOF
      at += size;
    }
    return Result;
  }

  bool PlayWindows(const std::vector<std::uint8_t>& wmf, int, int, int, int, int, TPixelBuffer& target,
                   int x, int y, int width, int height) override {
    Start(width, height);
    Fill(target, x, y, width, height);  // the header
    for (std::size_t at = 18; at + 6 <= wmf.size();) {
      const std::uint64_t size = static_cast<std::uint64_t>(ReadU32(wmf.data() + at)) * 2;
      Fill(target, x, y, width, height);
      if (size < 6 || size > wmf.size() - at || ReadU16(wmf.data() + at + 4) == 0) break;  // META_EOF
      at += static_cast<std::size_t>(size);
    }
    return Result;
  }

 private:
  void Start(int width, int height) {
    PlayWidth = width;
    PlayHeight = height;
    Records = 0;
  }
  // Each record its own colour: the last one's shows.
  void Fill(TPixelBuffer& target, int x, int y, int width, int height) {
    if (++Records > 1 && !FillEachRecord) return;
    const std::int64_t right = std::int64_t{x} + width, bottom = std::int64_t{y} + height;
    target.FillRect({x, y, static_cast<int>(right > 0x7FFFFFFF ? 0x7FFFFFFF : right),
                     static_cast<int>(bottom > 0x7FFFFFFF ? 0x7FFFFFFF : bottom)},
                    static_cast<TColor>(Records * 0x10101) & 0xFFFFFF);
  }
};

}  // namespace bx::test
