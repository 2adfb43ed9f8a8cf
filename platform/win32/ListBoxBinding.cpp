// List boxes: owner-drawn with the model's fixed item height. The window
// may sort what it shows; every entry carries the index of its model item,
// so the model's ItemIndex and the user's selection always mean the same item.
#include "platform/win32/ControlBindings.h"
#include "platform/win32/FormWindow.h"
#include "platform/win32/Text.h"

namespace bx {
namespace {

class TListBoxBinding : public TControlBinding {
 public:
  using TControlBinding::TControlBinding;

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
    HDC dc = item.hDC;
    if (item.itemID == static_cast<UINT>(-1)) {
      if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
      return true;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const int index = static_cast<int>(item.itemData);
    const auto& items = Model().Items();
    if (index >= 0 && index < static_cast<int>(items.size())) {
      const std::wstring text = Widen(items[static_cast<std::size_t>(index)]);
      HGDIOBJ oldFont = SelectObject(dc, FOwner.Font());
      const int oldMode = SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
      RECT area = item.rcItem;
      area.left += 2;
      DrawTextW(dc, text.c_str(), -1, &area,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
      SetBkMode(dc, oldMode);
      SelectObject(dc, oldFont);
    }
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &item.rcItem);
    return true;
  }

 protected:
  HWND CreateWindowFor(HWND parent, int id, const RECT& bounds, DWORD style) override {
    style |= WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
    if (Model().Sorted) style |= LBS_SORT;
    return CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr, style, bounds.left, bounds.top,
                           bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), CodeModule(),
                           nullptr);
  }

  void UpdateKind() override {
    TListBox& list = Model();
    if (SendMessageW(FHandle, LB_GETITEMHEIGHT, 0, 0) != list.ItemHeight)
      SendMessageW(FHandle, LB_SETITEMHEIGHT, 0, MAKELPARAM(list.ItemHeight, 0));
    if (!FFilled || list.Items() != FShown) {
      SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
      SendMessageW(FHandle, LB_RESETCONTENT, 0, 0);
      FShown = list.Items();
      for (std::size_t i = 0; i < FShown.size(); ++i) {
        const std::wstring text = Widen(FShown[i]);
        const LRESULT at =
            SendMessageW(FHandle, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
        if (at >= 0) SendMessageW(FHandle, LB_SETITEMDATA, static_cast<WPARAM>(at), static_cast<LPARAM>(i));
      }
      SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(FHandle, nullptr, TRUE);
      FFilled = true;
    }
    const int wanted = WindowIndexOf(list.ItemIndex());
    if (SendMessageW(FHandle, LB_GETCURSEL, 0, 0) != wanted)
      SendMessageW(FHandle, LB_SETCURSEL, static_cast<WPARAM>(wanted), 0);
  }

 private:
  TListBox& Model() const { return static_cast<TListBox&>(FControl); }

  int ModelIndexAt(int windowIndex) const {
    const LRESULT data = SendMessageW(FHandle, LB_GETITEMDATA, static_cast<WPARAM>(windowIndex), 0);
    return data == LB_ERR ? -1 : static_cast<int>(data);
  }

  int WindowIndexOf(int modelIndex) const {
    if (modelIndex < 0) return -1;
    const int count = static_cast<int>(SendMessageW(FHandle, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
      if (ModelIndexAt(i) == modelIndex) return i;
    return -1;
  }

  std::vector<std::string> FShown;
  bool FFilled = false;
};

}  // namespace

std::unique_ptr<TControlBinding> MakeListBoxBinding(TFormWindow& owner, TControl& control) {
  return std::make_unique<TListBoxBinding>(owner, control);
}

}  // namespace bx
