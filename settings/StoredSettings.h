// The settings model's stored values: the applet's own preferences, the
// desktop's values and colours. Knows the registry layout and nothing of
// the dialog that shows the settings.
#pragma once

#include <string>

#include "platform/Platform.h"
#include "settings/SettingsModel.h"

namespace bx {

// The stored "ShowHint", or defaultValue.
bool ReadShowHint(bool defaultValue);
// The applet's own preferences under its key; missing values give defaults.
void ReadOwnSettings(TBXSettings& settings);
// The current user's wallpaper, placement, origin, pattern and colours.
void ReadDesktopSettings(TBXSettings& settings);

// What a write of the desktop values stored.
struct TDesktopWrite {
  bool Wallpaper = false;  // "Wallpaper" names the given file now
  std::string Refused;     // the first value not stored; empty when all were
};

// The wallpaper, placement, origin and background colour under the given
// keys; a key the user may not change is skipped.
TDesktopWrite WriteDesktopSettings(RegKey root, const std::string& desktopKey,
                          const std::string& colorsKey, const std::string& wallpaper,
                          const TBXSettings& settings);
// The applet's own preferences, "ShowHint" first.
void WriteOwnSettings(const TBXSettings& settings, bool showHint);

}  // namespace bx
