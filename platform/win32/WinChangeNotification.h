// Change notification over FindFirstChangeNotification, with a manual-reset
// event that wakes the waiting thread.
#pragma once

#include "platform/Platform.h"

namespace bx {
IChangeNotification& WinChangeNotification();
}  // namespace bx
