// Placing a secondary dialog over the dialog that opened it.
#pragma once

#include "ui/Form.h"

namespace bx {

// Centres the form on the screen, then over the centre of its reference
// form (the owner when that is a form), kept on the screen. Errors inside
// are ignored; nothing happens for no form.
void CenterForm(TForm* form, TObject* owner);

}  // namespace bx
