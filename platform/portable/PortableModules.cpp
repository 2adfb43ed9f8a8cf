#include <algorithm>
#include <cctype>

#include "platform/portable/PortablePlatform.h"

namespace bx {

namespace {
bool Painted(const TPixelBuffer& source, std::uint32_t background, TPixelBuffer& icon) {
  if (source.Empty()) return false;
  icon = source;
  const TPixel transparent = ColorToPixel(TScriptedModules::kTransparentIcon);
  for (int y = 0; y < icon.Height(); ++y) {
    TPixel* row = icon.Scanline(y);
    for (int x = 0; x < icon.Width(); ++x)
      if (row[x] == transparent) row[x] = ColorToPixel(background);
  }
  return true;
}
}  // namespace

bool TScriptedModules::ExtractIcon(const std::string& fileName, std::uint32_t background,
                                   TPixelBuffer& icon) {
  IconRequests.push_back(fileName);
  auto it = Icons.find(fileName);
  return it != Icons.end() && Painted(it->second, background, icon);
}

bool TScriptedModules::ApplicationIcon(std::uint32_t background, TPixelBuffer& icon) {
  return Painted(AppIcon, background, icon);
}

int TPortableLocale::CompareStrings(const std::string& a, const std::string& b) {
  auto fold = [](unsigned char c) { return std::tolower(c); };
  const auto folded = std::lexicographical_compare_three_way(
      a.begin(), a.end(), b.begin(), b.end(),
      [&fold](char x, char y) { return fold(static_cast<unsigned char>(x)) <=> fold(static_cast<unsigned char>(y)); });
  if (folded != 0) return folded < 0 ? -1 : 1;
  // Equal but for case: lower case first, as the platform orders them.
  const int bytes = a.compare(b);
  return bytes == 0 ? 0 : (bytes > 0 ? -1 : 1);
}

}  // namespace bx
