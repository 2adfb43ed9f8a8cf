// The real registry behind IRegistry: the wide Reg* calls, names converted
// from and to UTF-8 at this edge.
#pragma once

#include "platform/Platform.h"

namespace bx {

IRegistry& WinRegistry();

}  // namespace bx
