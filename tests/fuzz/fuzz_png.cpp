// Fuzz target: TPngImage decodes and draws arbitrary bytes.
#include "components/PngImage.h"
#include "tests/fuzz/FuzzDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return bx::fuzz::DecodeAndDraw<bx::TPngImage>(data, size);
}
