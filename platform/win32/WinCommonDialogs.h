// The common dialogs over ChooseColor, GetOpenFileName and SHBrowseForFolder.
#pragma once

#include "platform/Platform.h"

namespace bx {
ICommonDialogs& WinCommonDialogs();
}  // namespace bx
