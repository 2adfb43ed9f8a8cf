#include "settings/ReloadWallpaper.h"

#include "platform/Platform.h"
#include "settings/RegSpecial.h"
#include "settings/SettingsModel.h"

namespace bx {

void ReloadWallpaper() {
  const std::string stored =
      ReadRegistryValue(kHKeyCurrentUser, kDesktopKey, "Wallpaper", TVariant(std::string()))
          .AsString();
  Platform().System->SystemParametersInfo(kSpiSetDeskWallpaper, 0, stored, kSpifUpdateIniFile);
}

}  // namespace bx
