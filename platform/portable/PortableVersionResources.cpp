#include "platform/Errors.h"
#include "platform/portable/PeResources.h"
#include "platform/portable/PortablePlatform.h"

namespace bx {

namespace {
constexpr std::uint16_t kRtVersion = 16;
}  // namespace

bool TPortableVersionResources::ReadVersionResource(const std::string& fileName,
                                                    std::vector<std::uint8_t>& data) {
  if (!FFiles.FileExists(fileName)) return false;
  std::vector<std::uint8_t> module;
  try {
    module = FFiles.ReadFile(fileName);
  } catch (const Exception&) {
    return false;  // as a file that cannot be mapped
  }
  std::span<const std::uint8_t> resource;
  if (!FindPeResource(module, kRtVersion, 1, resource)) return false;
  data.assign(resource.begin(), resource.end());
  return true;
}

}  // namespace bx
