// Fuzz target: the version block walk over arbitrary bytes, and, for bytes
// that are a module, the portable reader of its resource directory feeding
// the walk. Only the system's own errors may come out.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "components/VersionReader.h"
#include "platform/Errors.h"
#include "platform/portable/PeResources.h"

namespace {

void Walk(std::span<const std::uint8_t> block) {
  std::vector<std::string> lines;
  try {
    bx::ParseStringFileInfo(block, lines);
  } catch (const bx::Exception&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> bytes(data, size);
  Walk(bytes);
  std::span<const std::uint8_t> resource;
  if (bx::FindPeResource(bytes, 16, 1, resource)) {
    // A copy of its own, as the reader makes, so a read past the resource
    // is a read past the allocation.
    const std::vector<std::uint8_t> copy(resource.begin(), resource.end());
    Walk(copy);
  }
  return 0;
}
