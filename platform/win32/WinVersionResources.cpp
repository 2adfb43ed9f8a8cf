#include "platform/win32/WinVersionResources.h"

#include "platform/win32/Text.h"
#include "platform/win32/WinApi.h"

namespace bx {
namespace {

class TWinVersionResources : public IVersionResources {
 public:
  bool ReadVersionResource(const std::string& fileName, std::vector<std::uint8_t>& data) override {
    data.clear();
    if (fileName.empty()) return false;
    // As data only: the module's code never runs and its imports are not loaded.
    const HMODULE module =
        LoadLibraryExW(Widen(fileName).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return false;
    bool found = false;
    if (const HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16)))
      if (const HGLOBAL loaded = LoadResource(module, info))
        if (const void* bytes = LockResource(loaded)) {
          const auto* first = static_cast<const std::uint8_t*>(bytes);
          data.assign(first, first + SizeofResource(module, info));
          found = true;
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
