// The Windows implementation of IFileSystem.
#pragma once

#include <string>

#include "platform/Platform.h"

namespace bx {
IFileSystem& WinFiles();
// A path for the wide file calls: from the classic limit of 260 characters
// on, the full path in its "\\?\" form, which has no such limit.
std::wstring WidePath(const std::string& path);
}  // namespace bx
