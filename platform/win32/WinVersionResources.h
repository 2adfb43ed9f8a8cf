// The real version resources behind IVersionResources: the module file
// mapped as data, never run.
#pragma once

#include "platform/Platform.h"

namespace bx {

IVersionResources& WinVersionResources();

}  // namespace bx
