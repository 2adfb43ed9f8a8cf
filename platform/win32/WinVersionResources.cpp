#include "platform/win32/WinVersionResources.h"

#include "platform/win32/Text.h"
#include "platform/win32/WinApi.h"

namespace bx {

namespace {

// The readable bytes of the module's own view from `from` to its end (0
// when `from` lies outside it), walked region by region, since the
// sections of a view can differ in protection.
std::size_t ModuleBytesFrom(HMODULE module, const void* from) {
  // A module mapped as data is told apart by the low bits of its handle.
  const auto* base =
      reinterpret_cast<const void*>(reinterpret_cast<ULONG_PTR>(module) & ~ULONG_PTR{3});
  const char* const start = static_cast<const char*>(from);
  const char* end = start;
  MEMORY_BASIC_INFORMATION region{};
  if (!VirtualQuery(start, &region, sizeof region)) return 0;
  while (region.AllocationBase == base && region.State == MEM_COMMIT &&
         !(region.Protect & (PAGE_NOACCESS | PAGE_GUARD))) {
    end = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    if (!VirtualQuery(end, &region, sizeof region)) break;
  }
  return static_cast<std::size_t>(end - start);
}

class TWinVersionResources : public IVersionResources {
 public:
  bool ReadVersionResource(const std::string& fileName, std::vector<std::uint8_t>& data) override {
    if (fileName.empty()) return false;
    HMODULE module = LoadLibraryExW(Widen(fileName).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return false;
    bool found = false;
    if (HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16))) {
      const DWORD size = SizeofResource(module, info);
      HGLOBAL loaded = LoadResource(module, info);
      const void* bytes = loaded ? LockResource(loaded) : nullptr;
      // The size is the file's word: a resource that claims more than the
      // module holds counts as none, as in a file that is no module.
      if (bytes && size <= ModuleBytesFrom(module, bytes)) {
        const auto* first = static_cast<const std::uint8_t*>(bytes);
        data.assign(first, first + size);
        found = true;
      }
    }
    FreeLibrary(module);
    return found;
  }
};

}  // namespace

IVersionResources& WinVersionResources() {
  static TWinVersionResources resources;
  return resources;
}

}  // namespace bx
