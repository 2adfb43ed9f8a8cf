// The Windows implementation of ICommonDialogs.
#pragma once

#include "platform/Platform.h"

namespace bx {
ICommonDialogs& WinCommonDialogs();
}  // namespace bx
