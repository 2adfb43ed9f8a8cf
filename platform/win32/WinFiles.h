// The Windows implementation of IFileSystem.
#pragma once

#include "platform/Platform.h"

namespace bx {
IFileSystem& WinFiles();
}  // namespace bx
