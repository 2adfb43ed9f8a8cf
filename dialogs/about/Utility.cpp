#include "dialogs/about/Utility.h"

#include "platform/Platform.h"

namespace bx {

void CenterForm(TForm* form, TObject* owner) {
  if (!form) return;
  try {
    ISystem* system = Platform().System;
    if (!system) return;
    const int screenWidth = system->GetSystemMetrics(kSmCxScreen);
    const int screenHeight = system->GetSystemMetrics(kSmCyScreen);
    const int width = form->Width(), height = form->Height();
    int left = screenWidth / 2 - width / 2;
    int top = screenHeight / 2 - height / 2;
    // The form's window has no parent control; the owner is the reference
    // when it is a form (the model knows no other active or main form).
    const auto* reference = dynamic_cast<const TForm*>(owner);
    if (reference == form) reference = nullptr;
    if (reference) {
      left = reference->Left() + reference->Width() / 2 - width / 2;
      top = reference->Top() + reference->Height() / 2 - height / 2;
      if (left < 0)
        left = 0;
      else if (left + width > screenWidth)
        left = screenWidth - width;
      if (top < 0)
        top = 0;
      else if (top + height > screenHeight)
        top = screenHeight - height;
    }
    form->SetBounds(left, top, width, height);
  } catch (...) {
    // Placement is a courtesy; the box opens wherever it is.
  }
}

}  // namespace bx
