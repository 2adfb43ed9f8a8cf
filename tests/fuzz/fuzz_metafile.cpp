// Fuzz target: the metafile header rules and sizes, and TMetafile drawn
// through a player that walks the records as GDI's does: the records times
// the area it is given, what GDI's fills may cost, must stay within the
// work a metafile gets.
#include <cstdlib>

#include "components/Metafile.h"
#include "tests/fuzz/FuzzDecode.h"
#include "tests/unit/WorstCaseMetafilePlayer.h"

namespace {

class TCheckingPlayer : public bx::test::TWorstCaseMetafilePlayer {
 public:
  TCheckingPlayer() { FillEachRecord = false; }  // the count is checked; the fills would only be slow
  bool PlayEnhanced(const std::vector<std::uint8_t>& emf, bx::TPixelBuffer& target, int x, int y,
                    int width, int height) override {
    Prepare(emf, width, height);
    TWorstCaseMetafilePlayer::PlayEnhanced(emf, target, x, y, width, height);
    return Check();
  }
  bool PlayWindows(const std::vector<std::uint8_t>& wmf, int left, int top, int right, int bottom,
                   int unitsPerInch, bx::TPixelBuffer& target, int x, int y, int width,
                   int height) override {
    Prepare(wmf, width, height);
    TWorstCaseMetafilePlayer::PlayWindows(wmf, left, top, right, bottom, unitsPerInch, target, x, y,
                                          width, height);
    return Check();
  }

 private:
  // Some plays fail, as GDI's may on records it does not take.
  void Prepare(const std::vector<std::uint8_t>& bytes, int width, int height) {
    if (width < 0 || height < 0) std::abort();
    unsigned sum = 0;
    for (std::uint8_t b : bytes) sum += b;
    Result = sum % 3 != 0;
  }
  bool Check() const {
    if (Records * static_cast<std::uint64_t>(PlayWidth) * static_cast<std::uint64_t>(PlayHeight) >
        bx::kMetafileWork)
      std::abort();
    return Result;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static TCheckingPlayer player;
  const std::vector<std::uint8_t> bytes(data, data + size);
  bx::TMetafileHeader header;
  for (const bx::TMetafileDisplay& display :
       {bx::TMetafileDisplay{}, bx::TMetafileDisplay{1, 1, 1, 1, 1, 1},
        bx::TMetafileDisplay{0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 1, 1}})
    (void)bx::ReadMetafileHeader(bytes, display, header);
  return bx::fuzz::DecodeAndDraw<bx::TMetafile>(data, size, &player);
}
