// Has the desktop show the wallpaper that the current user's settings store.
#pragma once

namespace bx {

// SPI_SETDESKWALLPAPER with the stored "Wallpaper" itself: today's systems
// take a null name as "back to the default wallpaper" and would overwrite
// the value just stored. The result is not looked at.
void ReloadWallpaper();

}  // namespace bx
