// Placeholder until the Windows services land.
#include "platform/Platform.h"

namespace bx {
TPlatform DefaultPlatform() { return {}; }
}  // namespace bx
