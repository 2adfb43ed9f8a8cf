// The running program and this module over the module loader and the shell.
#pragma once

#include "platform/Platform.h"

namespace bx {
IModules& WinModules();
}  // namespace bx
