// Fuzz target: TWebPImage decodes and draws arbitrary bytes.
#include "components/WebpImage.h"
#include "tests/fuzz/FuzzDecode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return bx::fuzz::DecodeAndDraw<bx::TWebPImage>(data, size);
}
