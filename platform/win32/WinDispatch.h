// The dispatch service over a message-only window of the dialog's thread:
// a worker's call is sent to it (SendMessage returns once the dialog's
// thread has handled it), and its timers are window timers.
#pragma once

#include "platform/Platform.h"

namespace bx {

// Made on first use; the thread that first asks is the dialog's thread.
IDispatch& WinDispatch();

}  // namespace bx
