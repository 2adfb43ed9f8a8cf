// The Windows build's own services over the real system.
#include "platform/Platform.h"
#include "platform/win32/GdiMetafilePlayer.h"
#include "platform/win32/WinChangeNotification.h"
#include "platform/win32/WinCommonDialogs.h"
#include "platform/win32/WinDispatch.h"
#include "platform/win32/WinFiles.h"
#include "platform/win32/WinMemoryStatus.h"
#include "platform/win32/WinMessageBoxes.h"
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
  platform.Dialogs = &WinCommonDialogs();
  platform.ChangeNotification = &WinChangeNotification();
  platform.VersionResources = &WinVersionResources();
  platform.MemoryStatus = &WinMemoryStatus();
  // The thread that first asks for the services runs the dialogs.
  platform.Dispatch = &WinDispatch();
  return platform;
}

}  // namespace bx
