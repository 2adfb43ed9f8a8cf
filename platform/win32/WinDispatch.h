// The Windows dispatch service: a message-only window of the dialog's
// thread runs the workers' calls and the one-shot timers.
#pragma once

#include "platform/Dispatch.h"

namespace bx {
IDispatch& WinDispatch();
}  // namespace bx
