// The outside services the applet needs, one interface per kind in its own
// header. The Windows build implements them over the real system
// (platform/win32/), the native build over portable stand-ins
// (platform/portable/) that the tests can drive and inspect.
#pragma once

#include "platform/ChangeNotification.h"
#include "platform/CommonDialogs.h"
#include "platform/Dispatch.h"
#include "platform/Files.h"
#include "platform/Locale.h"
#include "platform/MemoryStatus.h"
#include "platform/MessageBoxes.h"
#include "platform/Metafiles.h"
#include "platform/Modules.h"
#include "platform/Registry.h"
#include "platform/System.h"
#include "platform/VersionResources.h"

namespace bx {

// The set in use.
struct TPlatform {
  IRegistry* Registry = nullptr;
  IFileSystem* Files = nullptr;
  ISystem* System = nullptr;
  IMessageBoxes* MessageBoxes = nullptr;
  IMetafilePlayer* Metafiles = nullptr;  // may be null
  // Null where the platform has none: folders are then not watched, and
  // the common dialogs are cancelled at once.
  ICommonDialogs* Dialogs = nullptr;
  IChangeNotification* ChangeNotification = nullptr;
  IVersionResources* VersionResources = nullptr;
  IMemoryStatus* MemoryStatus = nullptr;
  IThreadDispatch* Dispatch = nullptr;
  IModules* Modules = nullptr;
  ILocale* Locale = nullptr;
};

// The services in use; the build's own set unless a test installed another.
TPlatform& Platform();
// The build's own set (platform/win32/ or platform/portable/).
TPlatform DefaultPlatform();
// Installs a set and returns the previous one.
TPlatform SetPlatform(const TPlatform& platform);

}  // namespace bx
