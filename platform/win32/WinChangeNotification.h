// The Windows change notification: FindFirstChangeNotificationW and a
// manual-reset wake event.
#pragma once

#include "platform/ChangeNotification.h"

namespace bx {
IChangeNotification& WinChangeNotification();
}  // namespace bx
