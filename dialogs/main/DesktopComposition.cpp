#include "dialogs/main/DesktopComposition.h"

#include <algorithm>
#include <vector>

#include "dialogs/main/PreviewScene.h"
#include "dialogs/main/WindowsPlacements.h"

namespace bx {

namespace {

bool OneMonitor(const TDesktopLayout& layout) {
  return layout.Left == 0 && layout.Top == 0 && layout.Width == layout.PrimaryWidth &&
         layout.Height == layout.PrimaryHeight;
}

// The preview centres at desktop / 2 - picture / 2; Windows at
// (desktop - picture) / 2, which is one pixel less for an odd picture on an
// even desktop.
bool CentredAlike(int desktop, int picture) {
  return picture <= desktop && desktop / 2 - picture / 2 == (desktop - picture) / 2;
}

int Modulo(std::int64_t value, int size) {
  const std::int64_t r = value % size;
  return static_cast<int>(r < 0 ? r + size : r);
}

}  // namespace

TDesktopShows DesktopShows(const TDesktopLayout& layout, const TPlacementValues& placement) {
  if (layout.Host == TWallpaperHost::Classic) return TDesktopShows::Itself;
  if (placement.OriginX != 0 || placement.OriginY != 0) return TDesktopShows::Composed;
  const bool windows = layout.Host == TWallpaperHost::Windows;
  if (IsWindowsScaledStyle(placement.Style))
    return windows ? TDesktopShows::Itself : TDesktopShows::Composed;
  const bool tiled = placement.Tile == 1;
  if (placement.Style == 2 && !tiled)
    // Windows stretches onto each monitor, the preview across them all.
    return windows && OneMonitor(layout) ? TDesktopShows::Itself : TDesktopShows::Composed;
  // Stretched and tiled, and styles no desktop knows.
  if (placement.Style != 0) return TDesktopShows::Composed;
  if (tiled) {
    // Wine tiles from the desktop's top left, as the preview does.
    if (!windows || (layout.Left == 0 && layout.Top == 0)) return TDesktopShows::Itself;
    return TDesktopShows::BySize;
  }
  // Windows centres on each monitor. Wine's desktop keeps the background
  // colour it started with, which shows around a centred picture.
  if (!windows || !OneMonitor(layout)) return TDesktopShows::Composed;
  return TDesktopShows::BySize;
}

bool ComposesDesktop(const TDesktopLayout& layout, const TPlacementValues& placement, int width,
                     int height) {
  if (layout.Width <= 0 || layout.Height <= 0 || width <= 0 || height <= 0) return false;
  switch (DesktopShows(layout, placement)) {
    case TDesktopShows::Itself:
      return false;
    case TDesktopShows::Composed:
      return true;
    case TDesktopShows::BySize:
      break;
  }
  if (placement.Tile == 1)
    // Tiles from the primary monitor's corner meet the preview's from the
    // virtual screen's when the distance is whole tiles.
    return Modulo(layout.Left, width) != 0 || Modulo(layout.Top, height) != 0;
  return !CentredAlike(layout.Width, width) || !CentredAlike(layout.Height, height);
}

void ComposeDesktopRows(const TPreviewScene& scene, const TDesktopLayout& layout,
                        const std::function<void(int y, const TPixel* row)>& put) {
  const int width = scene.Width(), height = scene.Height();
  if (width <= 0 || height <= 0) return;
  // The wallpaper's column c shows at c on the primary monitor, which is
  // scene column c - Left.
  const bool turned = layout.Host == TWallpaperHost::Windows;
  const int shiftX = turned ? Modulo(-std::int64_t{layout.Left}, width) : 0;
  const int shiftY = turned ? Modulo(-std::int64_t{layout.Top}, height) : 0;
  std::vector<TPixel> row(static_cast<std::size_t>(width));
  std::vector<TPixel> out(shiftX ? static_cast<std::size_t>(width) : 0);
  for (int y = 0; y < height; ++y) {
    scene.ComposeRow((y + shiftY) % height, row.data());
    if (!shiftX) {
      put(y, row.data());
      continue;
    }
    std::rotate_copy(row.begin(), row.begin() + shiftX, row.end(), out.begin());
    put(y, out.data());
  }
}

}  // namespace bx
