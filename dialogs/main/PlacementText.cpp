#include "dialogs/main/PlacementText.h"

#include "dialogs/main/WindowsPlacements.h"

namespace bx {

std::string PlacementText(bool hasWallpaper, const TPlacementValues& p) {
  if (!hasWallpaper) return "No wallpaper";
  if (IsWindowsScaledStyle(p.Style)) return WindowsStyleName(p.Style);
  const std::string x = std::to_string(p.OriginX), y = std::to_string(p.OriginY);
  const bool stretched = p.Style == 2 || p.Style == 3;
  const bool tiled = p.Style == 3 || p.Tile == 1;
  if (stretched || tiled) {
    // These start at the desktop's corner: an origin of 0 is the corner's.
    std::string text = stretched && tiled ? "Stretched and tiled" : stretched ? "Stretched" : "Tiled";
    if (p.OriginX != 0 || p.OriginY != 0) text += " from " + x + ", " + y;
    return text;
  }
  // A centred image's origin of 0 leaves that axis centred.
  if (p.OriginX != 0 && p.OriginY != 0) return "Placed at " + x + ", " + y;
  if (p.OriginX != 0) return "Placed at x " + x + ", centred vertically";
  if (p.OriginY != 0) return "Centred horizontally, placed at y " + y;
  return "Centred";
}

}  // namespace bx
