// The Windows build's own services: the real registry, files, desktop,
// message boxes, GDI metafile player, dispatch to the dialog's thread,
// change notification, common dialogs, version resources, memory figures,
// modules and locale.
#include "platform/Platform.h"
#include "platform/win32/GdiMetafilePlayer.h"
#include "platform/win32/WinChangeNotification.h"
#include "platform/win32/WinCommonDialogs.h"
#include "platform/win32/WinDispatch.h"
#include "platform/win32/WinFiles.h"
#include "platform/win32/WinLocale.h"
#include "platform/win32/WinMemoryStatus.h"
#include "platform/win32/WinMessageBoxes.h"
#include "platform/win32/WinModules.h"
#include "platform/win32/WinRegistry.h"
#include "platform/win32/WinSystem.h"
#include "platform/win32/WinVersionResources.h"

namespace bx {

TPlatform DefaultPlatform() {
  TPlatform platform;
  platform.Registry = &WinRegistry();
  platform.Files = &WinFiles();
  platform.System = &WinSystem();
  platform.MessageBoxes = &WinMessageBoxes();
  platform.Metafiles = &GdiMetafilePlayer();
  platform.Dispatch = &WinDispatch();
  platform.ChangeNotification = &WinChangeNotification();
  platform.Dialogs = &WinCommonDialogs();
  platform.VersionResources = &WinVersionResources();
  platform.MemoryStatus = &WinMemoryStatus();
  platform.Modules = &WinModules();
  platform.Locale = &WinLocale();
  return platform;
}

}  // namespace bx
