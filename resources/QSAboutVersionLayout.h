// The about box's layout as data, in the form of the main dialog's layout.
#pragma once

#include "resources/BXMainLayout.h"

namespace bx {

const TFormLayout& QSAboutVersionLayout();

}  // namespace bx
