#include "platform/win32/WinVersionResources.h"

#include "platform/win32/Text.h"
#include "platform/win32/WinApi.h"

namespace bx {

namespace {

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
      if (bytes) {
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
