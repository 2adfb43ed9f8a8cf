// The version resource of a module file, read as data (the module is mapped,
// never run).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bx {

class IVersionResources {
 public:
  virtual ~IVersionResources() = default;
  // The bytes of the file's version resource (type RT_VERSION, name 1);
  // false when the file cannot be mapped or holds none.
  virtual bool ReadVersionResource(const std::string& fileName,
                                   std::vector<std::uint8_t>& data) = 0;
};

}  // namespace bx
