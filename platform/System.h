// The desktop and the system: screen figures, the wallpaper reload and the
// system colours, sounds, the host's command line and the environment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace bx {

constexpr int kSmCxScreen = 0;
constexpr int kSmCyScreen = 1;
constexpr int kSmCxIcon = 11;
constexpr int kSmCyIcon = 12;
constexpr int kSmCyBorder = 6;
constexpr int kSmXVirtualScreen = 76;
constexpr int kSmYVirtualScreen = 77;
constexpr int kSmCxVirtualScreen = 78;
constexpr int kSmCyVirtualScreen = 79;

constexpr std::uint32_t kSpiSetDeskWallpaper = 20;
constexpr std::uint32_t kSpifUpdateIniFile = 1;
constexpr int kColorBackground = 1;
constexpr int kColorWindow = 5;
constexpr int kColorWindowText = 8;
constexpr int kColorBtnFace = 15;

// Which desktop shows the wallpaper, so which placements it shows itself.
enum class TWallpaperHost {
  // Windows before Vista: the desktop the dialog's placements were made
  // for, which places the image as the preview does.
  Classic,
  // Today's Windows: centre, tile, stretch, fit, fill and span, without
  // origins; a tiled wallpaper anchored at the primary monitor's top left,
  // the others placed on each monitor.
  Windows,
  // Wine's desktop: a bitmap tiled from its top left, or centred at its own
  // size ((desktop - picture) / 2, never left of or above the desktop) on
  // the background colour it started with: a colour set later reaches
  // only the process that sets it.
  Wine,
};

// The desktop the wallpaper is placed on, in physical pixels: the virtual
// screen's rectangle relative to the primary monitor's top left (monitors
// left of or above it make Left and Top negative) and the primary monitor.
struct TDesktopLayout {
  TWallpaperHost Host = TWallpaperHost::Classic;
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int PrimaryWidth = 0, PrimaryHeight = 0;
};

class ISystem {
 public:
  virtual ~ISystem() = default;
  virtual int GetSystemMetrics(int index) = 0;
  // SystemParametersInfo with a string parameter: SPI_SETDESKWALLPAPER with
  // the stored wallpaper's name has the desktop reload its wallpaper.
  virtual bool SystemParametersInfo(std::uint32_t action, std::uint32_t param,
                                    const std::string& text, std::uint32_t winIni) = 0;
  virtual bool SetSysColor(int element, std::uint32_t color) = 0;
  virtual std::uint32_t GetSysColor(int index) = 0;
  virtual void Beep(std::uint32_t frequency, std::uint32_t duration) = 0;
  virtual void MessageBeep() = 0;
  // The host process's command line, split as the runtime splits it
  // (blanks separate, double quotes group and are removed); [0] is the program.
  virtual std::vector<std::string> CommandLineArgs() = 0;
  // Bits per pixel times planes of the display.
  virtual int DisplayColorDepth() = 0;
  virtual int LogPixelsPerInchX() = 0;
  virtual int LogPixelsPerInchY() = 0;
  // True on the Windows 95 and NT families.
  virtual bool IsWindows95OrNT() = 0;
  // Requests the end of the host program (the environment check).
  virtual void EndProgram() = 0;
  virtual std::uint64_t TickCountMs() = 0;
  // A classic desktop, laid out as GetSystemMetrics answers.
  virtual TDesktopLayout DesktopLayout() {
    return {TWallpaperHost::Classic,
            GetSystemMetrics(kSmXVirtualScreen),
            GetSystemMetrics(kSmYVirtualScreen),
            GetSystemMetrics(kSmCxVirtualScreen),
            GetSystemMetrics(kSmCyVirtualScreen),
            GetSystemMetrics(kSmCxScreen),
            GetSystemMetrics(kSmCyScreen)};
  }
};

}  // namespace bx
