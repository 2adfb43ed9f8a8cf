// Fuzz target: the metafile header rules and sizes, and TMetafile handing
// its bytes to a player that checks what it is given.
#include <cstdlib>

#include "components/Metafile.h"
#include "tests/fuzz/FuzzDecode.h"

namespace {

// Reads every byte it is given and paints the rectangle, as a player would.
class TCheckingPlayer : public bx::IMetafilePlayer {
 public:
  bool PlayEnhanced(const std::vector<std::uint8_t>& emf, bx::TPixelBuffer& target, int x, int y,
                    int width, int height) override {
    return Play(emf, target, x, y, width, height);
  }
  bool PlayWindows(const std::vector<std::uint8_t>& wmf, int, int, int, int, int,
                   bx::TPixelBuffer& target, int x, int y, int width, int height) override {
    return Play(wmf, target, x, y, width, height);
  }

 private:
  static bool Play(const std::vector<std::uint8_t>& bytes, bx::TPixelBuffer& target, int x, int y,
                   int width, int height) {
    if (width < 0 || height < 0) std::abort();
    unsigned sum = 0;
    for (std::uint8_t b : bytes) sum += b;
    target.FillRect({x, y, x + width, y + height}, sum & 0xFFFFFF);
    return sum % 3 != 0;
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
