// List views: the common control in the model's view style, filled from the
// model's columns and rows in the model's order (the model keeps them
// sorted), every column sized to fit its header and its contents.
#include <algorithm>

#include "binding/win32/ControlBindings.h"
#include "binding/win32/FormWindow.h"
#include "platform/win32/Text.h"

namespace bx {
namespace {

DWORD ViewStyleBits(TViewStyle style) {
  switch (style) {
    case TViewStyle::vsIcon: return LVS_ICON;
    case TViewStyle::vsSmallIcon: return LVS_SMALLICON;
    case TViewStyle::vsList: return LVS_LIST;
    case TViewStyle::vsReport: return LVS_REPORT;
  }
  return LVS_REPORT;
}

int AlignmentFormat(TAlignment alignment) {
  switch (alignment) {
    case TAlignment::taLeftJustify: return LVCFMT_LEFT;
    case TAlignment::taRightJustify: return LVCFMT_RIGHT;
    case TAlignment::taCenter: return LVCFMT_CENTER;
  }
  return LVCFMT_LEFT;
}

class TListViewBinding : public TControlBinding {
 public:
  using TControlBinding::TControlBinding;
  // Its text is not painted: it holds the name a screen reader reads.
  bool ShowsCaption() const override { return false; }

 protected:
  HWND CreateWindowFor(HWND parent, int id, const RECT& bounds, DWORD style) override {
    return CreateChild(WS_EX_CLIENTEDGE, WC_LISTVIEWW, nullptr, style | Styles() | LVS_SINGLESEL,
                       parent, id, bounds);
  }

  void UpdateKind() override {
    const TListView& view = Model();
    constexpr DWORD kModelBits = LVS_TYPEMASK | LVS_EDITLABELS | LVS_NOSORTHEADER;
    const DWORD style = static_cast<DWORD>(GetWindowLongW(FHandle, GWL_STYLE));
    if ((style & kModelBits) != Styles())
      SetWindowLongW(FHandle, GWL_STYLE, static_cast<LONG>((style & ~kModelBits) | Styles()));
    const bool columnsChanged = !FFilled || view.Columns() != FColumns;
    const bool itemsChanged = !FFilled || view.Items() != FItems;
    if (!columnsChanged && !itemsChanged) return;
    SendMessageW(FHandle, WM_SETREDRAW, FALSE, 0);
    if (columnsChanged) ShowColumns(view.Columns());
    if (itemsChanged || columnsChanged) ShowItems(view.Items());
    FitColumns();
    SendMessageW(FHandle, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(FHandle, nullptr, TRUE);
    FFilled = true;
  }

 private:
  TListView& Model() const { return static_cast<TListView&>(FControl); }

  DWORD Styles() const {
    const TListView& view = Model();
    DWORD bits = ViewStyleBits(view.ViewStyle());
    if (!view.ReadOnly()) bits |= LVS_EDITLABELS;
    if (!view.ColumnClick()) bits |= LVS_NOSORTHEADER;
    return bits;
  }

  void ShowColumns(const std::vector<TListColumn>& columns) {
    while (SendMessageW(FHandle, LVM_DELETECOLUMN, 0, 0)) {
    }
    for (std::size_t i = 0; i < columns.size(); ++i) {
      std::wstring caption = Widen(columns[i].Caption);
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH | LVCF_SUBITEM;
      column.fmt = AlignmentFormat(columns[i].Alignment);
      column.cx = 50;
      column.pszText = caption.data();
      column.iSubItem = static_cast<int>(i);
      SendMessageW(FHandle, LVM_INSERTCOLUMNW, i, reinterpret_cast<LPARAM>(&column));
    }
    FColumns = columns;
  }

  void ShowItems(const std::vector<TListItem>& items) {
    SendMessageW(FHandle, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t i = 0; i < items.size(); ++i) {
      std::wstring caption = Widen(items[i].Caption);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(i);
      item.pszText = caption.data();
      const LRESULT at = SendMessageW(FHandle, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      if (at < 0) continue;
      for (std::size_t s = 0; s < items[i].SubItems.size(); ++s) {
        std::wstring text = Widen(items[i].SubItems[s]);
        LVITEMW sub{};
        sub.iSubItem = static_cast<int>(s + 1);
        sub.pszText = text.data();
        SendMessageW(FHandle, LVM_SETITEMTEXTW, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&sub));
      }
    }
    FItems = items;
  }

  // The wider of the contents and the header, each column on its own (the
  // platform's "use header" sizing would stretch the last one to the edge).
  void FitColumns() {
    for (std::size_t i = 0; i < FColumns.size(); ++i) {
      SendMessageW(FHandle, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(LVSCW_AUTOSIZE, 0));
      const int contents = static_cast<int>(SendMessageW(FHandle, LVM_GETCOLUMNWIDTH, i, 0));
      const std::wstring caption = Widen(FColumns[i].Caption);
      const int header = static_cast<int>(
          SendMessageW(FHandle, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(caption.c_str())));
      constexpr int kHeaderMargins = 16;  // the header item's text margins
      const int width = std::max(contents, header + kHeaderMargins);
      SendMessageW(FHandle, LVM_SETCOLUMNWIDTH, i, MAKELPARAM(width, 0));
    }
  }

  std::vector<TListColumn> FColumns;
  std::vector<TListItem> FItems;
  bool FFilled = false;
};

}  // namespace

std::unique_ptr<TControlBinding> MakeListViewBinding(TFormWindow& owner, TControl& control) {
  return std::make_unique<TListViewBinding>(owner, control);
}

}  // namespace bx
