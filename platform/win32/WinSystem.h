// The Windows implementation of ISystem.
#pragma once

#include "platform/Platform.h"

namespace bx {
ISystem& WinSystem();
}  // namespace bx
