// The Windows change notification: FindFirstChangeNotificationW and a
// manual-reset wake event.
#pragma once

#include "platform/ChangeNotify.h"

namespace bx {
IChangeNotification& WinChangeNotify();
}  // namespace bx
