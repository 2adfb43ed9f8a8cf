#include "platform/win32/DialogTemplate.h"

namespace bx {

namespace {
// Where DLGTEMPLATE keeps its count of items, in words.
constexpr std::size_t kItemCount = 4;
}  // namespace

TDialogTemplate::TDialogTemplate(DWORD style, DWORD exStyle, RECT bounds,
                                 const wchar_t* fontFace, WORD pointSize) {
  if (fontFace) style |= DS_SETFONT;
  Dword(style);
  Dword(exStyle);
  Word(0);  // no items yet
  Bounds(bounds);
  Word(0);  // no menu
  Word(0);  // the standard dialog class
  Word(0);  // no title: the window's text is set once it exists
  if (fontFace) {
    Word(pointSize);
    for (const wchar_t* c = fontFace; *c; ++c) Word(static_cast<WORD>(*c));
    Word(0);
  }
}

void TDialogTemplate::AddItem(DWORD style, WORD id, RECT bounds, WORD classAtom) {
  if (FWords.size() % 2) Word(0);  // items start on a DWORD
  Dword(style);
  Dword(0);
  Bounds(bounds);
  Word(id);
  Word(0xFFFF);
  Word(classAtom);
  Word(0);  // no text
  Word(0);  // no creation data
  ++FWords[kItemCount];
}

void TDialogTemplate::Dword(DWORD value) {
  Word(LOWORD(value));
  Word(HIWORD(value));
}

void TDialogTemplate::Bounds(const RECT& bounds) {
  for (LONG v : {bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top})
    Word(static_cast<WORD>(static_cast<short>(v)));
}

}  // namespace bx
