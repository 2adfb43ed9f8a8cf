// List boxes: owner-drawn with the model's fixed item height, drawn by the
// model's handler, and keeping their strings, so that typing a letter
// jumps to an entry and a screen reader can read them. A sorted list is
// sorted by the window, below the model's fixed items ("(none)"); every
// entry carries the index of its model item, so the model's ItemIndex and
// the user's selection always mean the same item.
#include <algorithm>

#include "binding/win32/ControlBindings.h"
#include "binding/win32/DcCanvas.h"
#include "binding/win32/FormWindow.h"
#include "platform/win32/Text.h"

namespace bx {
namespace {

class TListBoxBinding : public TControlBinding {
 public:
  using TControlBinding::TControlBinding;
  // Its text is not painted: it holds the name a screen reader reads.
  bool ShowsCaption() const override { return false; }

  bool MeasureItem(MEASUREITEMSTRUCT& item) override {
    item.itemHeight = static_cast<UINT>(Model().ItemHeight);
    return true;
  }

  void Command(UINT code) override {
    if (code != LBN_SELCHANGE) return;
    const LRESULT selected = SendMessageW(FHandle, LB_GETCURSEL, 0, 0);
    const int index = selected == LB_ERR ? -1 : ModelIndexAt(static_cast<int>(selected));
    TListBox& list = Model();
    Dispatch([&list, index] { list.Select(index); });
  }

  bool DrawItem(const DRAWITEMSTRUCT& item) override {
    if (item.itemID != static_cast<UINT>(-1)) {
      TOwnerDrawState state = 0;
      if (item.itemState & ODS_SELECTED) state |= odSelected;
      if (item.itemState & ODS_FOCUS) state |= odFocused;
      if (item.itemState & ODS_DISABLED) state |= odDisabled;
      const TRect rect{item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom};
      const int index = static_cast<int>(item.itemData);
      TDcCanvas canvas(item.hDC, FOwner.Font());
      TListBox& list = Model();
      Dispatch([&] {
        list.DrawItem(canvas, index, rect, state);
        if (!list.OnDrawItem && index < static_cast<int>(list.Items().size())) {
          canvas.FillRect(rect);
          canvas.TextOut(rect.Left + 2, rect.Top, list.Items()[static_cast<std::size_t>(index)]);
        }
      });
    }
    // Hidden keyboard cues (a dialog worked by mouse) hide the focus
    // rectangle too, until the user works the keyboard.
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
      DrawFocusRect(item.hDC, &item.rcItem);
    return true;
  }

 protected:
  HWND CreateWindowFor(HWND parent, int id, const RECT& bounds, DWORD style) override {
    style |= WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
    if (Model().Sorted) style |= LBS_SORT;
    return CreateChild(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr, style, parent, id, bounds);
  }

  void UpdateKind() override {
    TListBox& list = Model();
    if (SendMessageW(FHandle, LB_GETITEMHEIGHT, 0, 0) != list.ItemHeight)
      SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, MAKELPARAM(list.ItemHeight, 0));
    if (!FFilled || list.Items() != FShown) {
      // A refill keeps the scroll position the user chose.
      const LRESULT top = SendMessageW(FHandle, LB_GETTOPINDEX, 0, 0);
      SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
      SendMessageW(FHandle, LB_RESETCONTENT, 0, 0);
      FShown = list.Items();
      SendMessageW(FHandle, LB_INITSTORAGE, FShown.size(), FShown.size() * 16);
      // The fixed items go in last, at the top, where the window's sorting
      // cannot move them.
      const std::size_t fixed = list.Sorted ? std::min<std::size_t>(list.FixedItems, FShown.size()) : 0;
      for (std::size_t i = fixed; i < FShown.size(); ++i) Insert(i, -1);
      for (std::size_t i = fixed; i-- > 0;) Insert(i, 0);
      FWindowIndex.assign(FShown.size(), -1);
      const int count = static_cast<int>(SendMessageW(FHandle, LB_GETCOUNT, 0, 0));
      for (int at = 0; at < count; ++at) {
        const int model = ModelIndexAt(at);
        if (model >= 0 && model < static_cast<int>(FWindowIndex.size()))
          FWindowIndex[static_cast<std::size_t>(model)] = at;
      }
      if (top > 0) SendMessageW(FHandle, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
      SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(FHandle, nullptr, TRUE);
      FFilled = true;
    }
    const int wanted = WindowIndexOf(list.ItemIndex());
    if (SendMessageW(FHandle, LB_GETCURSEL, 0, 0) != wanted)
      SendMessageW(FHandle, LB_SETCURSEL, static_cast<WPARAM>(wanted), 0);
    if (list.TopIndexRequests() != FTopRequests) {
      FTopRequests = list.TopIndexRequests();
      const int top = WindowIndexOf(list.TopIndex());
      if (top >= 0) SendMessageW(FHandle, LB_SETTOPINDEX, static_cast<WPARAM>(top), 0);
    }
  }

 private:
  TListBox& Model() const { return static_cast<TListBox&>(FControl); }

  // Adds model item `index` (sorted by the window with `at` -1, else at `at`).
  void Insert(std::size_t index, int at) {
    const std::wstring text = Widen(FShown[index]);
    const LRESULT added =
        at < 0 ? SendMessageW(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()))
               : SendMessageW(FHandle, LB_INSERTSTRING, static_cast<WPARAM>(at),
                              reinterpret_cast<LPARAM>(text.c_str()));
    if (added >= 0)
      SendMessageW(FHandle, LB_SETITEMDATA, static_cast<WPARAM>(added), static_cast<LPARAM>(index));
  }

  int ModelIndexAt(int windowIndex) const {
    const LRESULT data = SendMessageW(FHandle, LB_GETITEMDATA, static_cast<WPARAM>(windowIndex), 0);
    return data == LB_ERR ? -1 : static_cast<int>(data);
  }

  int WindowIndexOf(int modelIndex) const {
    if (modelIndex < 0 || modelIndex >= static_cast<int>(FWindowIndex.size())) return -1;
    return FWindowIndex[static_cast<std::size_t>(modelIndex)];
  }

  std::vector<std::string> FShown;
  std::vector<int> FWindowIndex;  // by model index
  bool FFilled = false;
  unsigned FTopRequests = 0;
};

}  // namespace

std::unique_ptr<TControlBinding> MakeListBoxBinding(TFormWindow& owner, TControl& control) {
  return std::make_unique<TListBoxBinding>(owner, control);
}

}  // namespace bx
