// The machine's memory figures, as the platform's GlobalMemoryStatus gives them.
#pragma once

#include <cstdint>

namespace bx {

struct TMemoryStatus {
  std::uint64_t TotalPhys = 0;
  std::uint64_t AvailPhys = 0;
  std::uint64_t TotalPageFile = 0;
  std::uint64_t AvailPageFile = 0;
  std::uint64_t TotalVirtual = 0;
  std::uint64_t AvailVirtual = 0;
  bool operator==(const TMemoryStatus&) const = default;
};

class IMemoryStatus {
 public:
  virtual ~IMemoryStatus() = default;
  virtual TMemoryStatus GetMemoryStatus() = 0;
};

}  // namespace bx
