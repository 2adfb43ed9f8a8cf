// The user's locale over the platform's national-language functions.
#pragma once

#include "platform/Platform.h"

namespace bx {
ILocale& WinLocale();
}  // namespace bx
