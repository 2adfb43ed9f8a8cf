// The machine's memory figures over GlobalMemoryStatusEx (GlobalMemoryStatus's
// six figures without its 4 GB limit).
#pragma once

#include "platform/Platform.h"

namespace bx {
IMemoryStatus& WinMemoryStatus();
}  // namespace bx
