// Plays metafiles through GDI (PlayEnhMetaFile; Windows metafiles through
// SetWinMetaFileBits) onto a DIB section that holds the target's pixels.
#pragma once

#include "platform/Platform.h"

namespace bx {

IMetafilePlayer& GdiMetafilePlayer();

}  // namespace bx
