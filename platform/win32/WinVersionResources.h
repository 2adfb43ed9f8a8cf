// Version resources of module files mapped as data (LoadLibraryEx).
#pragma once

#include "platform/Platform.h"

namespace bx {
IVersionResources& WinVersionResources();
}  // namespace bx
