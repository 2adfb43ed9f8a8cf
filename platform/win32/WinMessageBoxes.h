// The Windows implementation of IMessageBoxes.
#pragma once

#include "platform/Platform.h"

namespace bx {
IMessageBoxes& WinMessageBoxes();
}  // namespace bx
