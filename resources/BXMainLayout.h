// The main dialog's layout as data: the window and every control with its
// kind, caption, bounds in client pixels, tab order, help number, hint, tag,
// glyph and cursor, in creation order.
#pragma once

#include "resources/FormLayout.h"

namespace bx {

const TFormLayout& BXMainLayout();

}  // namespace bx
