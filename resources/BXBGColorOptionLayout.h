// The background colour options dialog's layout as data.
#pragma once

#include "resources/BXMainLayout.h"

namespace bx {
const TFormLayout& BXBGColorOptionLayout();
}  // namespace bx
