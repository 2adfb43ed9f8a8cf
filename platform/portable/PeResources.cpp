#include "platform/portable/PeResources.h"

#include <algorithm>

namespace bx {

namespace {

using TBytes = std::span<const std::uint8_t>;

bool Fits(TBytes bytes, std::uint64_t at, std::uint64_t length) {
  return at <= bytes.size() && length <= bytes.size() - at;
}

std::uint16_t U16(TBytes b, std::uint64_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

std::uint32_t U32(TBytes b, std::uint64_t at) {
  return static_cast<std::uint32_t>(U16(b, at)) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16;
}

constexpr std::uint32_t kHighBit = 0x80000000u;

class TModule {
 public:
  explicit TModule(TBytes file) : FFile(file) {}

  // Reads the headers; false when they are no PE module's.
  bool Open() {
    if (!Fits(FFile, 0, 0x40) || FFile[0] != 'M' || FFile[1] != 'Z') return false;
    const std::uint64_t pe = U32(FFile, 0x3C);
    if (!Fits(FFile, pe, 24) || U32(FFile, pe) != 0x00004550) return false;  // "PE\0\0"
    const std::uint64_t coff = pe + 4;
    FSectionCount = U16(FFile, coff + 2);
    const std::uint64_t optionalSize = U16(FFile, coff + 16);
    const std::uint64_t optional = coff + 20;
    if (!Fits(FFile, optional, optionalSize) || optionalSize < 2) return false;
    std::uint64_t countAt, directories;
    switch (U16(FFile, optional)) {
      case 0x10B: countAt = 92, directories = 96; break;    // PE32
      case 0x20B: countAt = 108, directories = 112; break;  // PE32+
      default: return false;
    }
    const std::uint64_t resourceEntry = directories + 2 * 8;
    if (optionalSize < resourceEntry + 8 || U32(FFile, optional + countAt) < 3) return false;
    FResourceRva = U32(FFile, optional + resourceEntry);
    FSections = optional + optionalSize;
    return Fits(FFile, FSections, FSectionCount * 40ull);
  }

  // The file's bytes from a relative virtual address to the end of the
  // section's raw data; empty when the address is in no section's file data.
  TBytes At(std::uint32_t rva) const {
    for (std::uint64_t i = 0; i < FSectionCount; ++i) {
      const std::uint64_t s = FSections + i * 40;
      const std::uint64_t address = U32(FFile, s + 12), rawSize = U32(FFile, s + 16),
                          rawAt = U32(FFile, s + 20);
      const std::uint64_t virtualSize = std::max<std::uint64_t>(U32(FFile, s + 8), rawSize);
      if (rva < address || rva - address >= virtualSize) continue;
      if (rva - address >= rawSize || !Fits(FFile, rawAt, 0)) return {};
      const std::uint64_t from = rawAt + (rva - address);
      const std::uint64_t to = std::min<std::uint64_t>(rawAt + rawSize, FFile.size());
      return from < to ? FFile.subspan(from, to - from) : TBytes{};
    }
    return {};
  }

  std::uint32_t ResourceRva() const { return FResourceRva; }

 private:
  TBytes FFile;
  std::uint64_t FSectionCount = 0;
  std::uint64_t FSections = 0;
  std::uint32_t FResourceRva = 0;
};

// The OffsetToData of the entry of a resource directory with the integer
// id (any entry when id is negative); false when there is none.
bool Entry(TBytes tree, std::uint64_t directory, int id, std::uint32_t& offset) {
  if (!Fits(tree, directory, 16)) return false;
  const std::uint64_t named = U16(tree, directory + 12), ids = U16(tree, directory + 14);
  const std::uint64_t first = directory + 16;
  if (!Fits(tree, first, (named + ids) * 8)) return false;
  for (std::uint64_t i = 0; i < named + ids; ++i) {
    const std::uint32_t name = U32(tree, first + i * 8);
    if (id < 0 || (!(name & kHighBit) && name == static_cast<std::uint32_t>(id))) {
      offset = U32(tree, first + i * 8 + 4);
      return true;
    }
  }
  return false;
}

}  // namespace

bool FindPeResource(TBytes module, std::uint16_t type, std::uint16_t name, TBytes& resource) {
  TModule file(module);
  if (!file.Open() || file.ResourceRva() == 0) return false;
  const TBytes tree = file.At(file.ResourceRva());
  // Type and name lead to directories, the language to the data entry.
  std::uint32_t byType, byName, byLanguage;
  if (!Entry(tree, 0, type, byType) || !(byType & kHighBit)) return false;
  if (!Entry(tree, byType & ~kHighBit, name, byName) || !(byName & kHighBit)) return false;
  if (!Entry(tree, byName & ~kHighBit, -1, byLanguage) || (byLanguage & kHighBit)) return false;
  if (!Fits(tree, byLanguage, 16)) return false;
  const std::uint32_t size = U32(tree, byLanguage + 4);
  const TBytes data = file.At(U32(tree, byLanguage));
  if (data.size() < size) return false;
  resource = data.first(size);
  return true;
}

}  // namespace bx
