// A module file's version resource as raw bytes, read without running the
// module: the version reader walks the bytes itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bx {

class IVersionResources {
 public:
  virtual ~IVersionResources() = default;
  // The bytes of the resource of type RT_VERSION with the integer name 1.
  // False for a missing file, a file that is no module, or no such resource.
  virtual bool ReadVersionResource(const std::string& fileName,
                                   std::vector<std::uint8_t>& data) = 0;
};

}  // namespace bx
