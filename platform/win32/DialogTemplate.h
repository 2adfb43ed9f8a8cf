// An in-memory dialog template for the dialog manager: the dialog's styles,
// place and size in dialog units, an optional font, and items of the
// system's classes, laid out as DLGTEMPLATE and DLGITEMTEMPLATE want.
#pragma once

#include <vector>

#include "platform/win32/WinApi.h"

namespace bx {

class TDialogTemplate {
 public:
  // With `fontFace`, the dialog gets DS_SETFONT and that face at `pointSize`.
  TDialogTemplate(DWORD style, DWORD exStyle, RECT bounds = {},
                  const wchar_t* fontFace = nullptr, WORD pointSize = 0);
  // An item without text of a system class given by its atom (0x0082: static).
  void AddItem(DWORD style, WORD id, RECT bounds, WORD classAtom);
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(FWords.data()); }
  std::size_t Size() const { return FWords.size() * sizeof(WORD); }

 private:
  void Word(WORD value) { FWords.push_back(value); }
  void Dword(DWORD value);
  void Bounds(const RECT& bounds);

  // Heap memory is aligned for the DWORDs the template starts with.
  std::vector<WORD> FWords;
};

}  // namespace bx
