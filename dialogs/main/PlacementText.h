// The preview in words, for a screen reader: how the desktop shows the
// chosen image ("Centred", "Tiled from 37, 21", "Fill", "No wallpaper").
#pragma once

#include <string>

#include "dialogs/main/DesktopComposition.h"

namespace bx {

std::string PlacementText(bool hasWallpaper, const TPlacementValues& placement);

}  // namespace bx
