#include "ui/ListView.h"

#include <algorithm>

namespace bx {

namespace {
bool Less(const TListView& view, const TListItem& a, const TListItem& b) {
  return view.CompareCaptions ? view.CompareCaptions(a.Caption, b.Caption) < 0
                              : a.Caption < b.Caption;
}
}  // namespace

void TListView::SetColumns(std::vector<TListColumn> columns) {
  if (FColumns == columns) return;
  FColumns = std::move(columns);
  Changed();
}

void TListView::SetItems(std::vector<TListItem> items) {
  if (FSortType == TSortType::stText)
    std::stable_sort(items.begin(), items.end(),
                     [this](const TListItem& a, const TListItem& b) { return Less(*this, a, b); });
  if (FItems == items) return;
  FItems = std::move(items);
  Changed();
}

void TListView::SetSortType(TSortType value) {
  if (FSortType == value) return;
  FSortType = value;
  if (value == TSortType::stText)
    std::stable_sort(FItems.begin(), FItems.end(),
                     [this](const TListItem& a, const TListItem& b) { return Less(*this, a, b); });
  Changed();
}

void TListView::SetViewStyle(TViewStyle value) {
  if (FViewStyle == value) return;
  FViewStyle = value;
  Changed();
}

void TListView::SetReadOnly(bool value) {
  if (FReadOnly == value) return;
  FReadOnly = value;
  Changed();
}

void TListView::SetColumnClick(bool value) {
  if (FColumnClick == value) return;
  FColumnClick = value;
  Changed();
}

}  // namespace bx
