// The Windows dispatch service: a message-only window of the dialog's
// thread runs the workers' calls and the one-shot timers.
#pragma once

#include "platform/Dispatch.h"

namespace bx {
IThreadDispatch& WinDispatch();
// On the dialog's thread, once no dialog needs it: the hidden window goes
// (with its timers); the next timer or worker started makes it again. The host
// calls it before it may unload the module, so that no window of ours
// outlives the code behind it.
void CloseWinDispatch();
}  // namespace bx
