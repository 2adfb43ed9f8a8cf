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

void TListView::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

void TListView::AddItem(std::string caption, std::vector<std::string> subItems) {
  TListItem item{std::move(caption), std::move(subItems)};
  auto at = FItems.end();
  if (FSortType == TSortType::stText)
    at = std::upper_bound(FItems.begin(), FItems.end(), item,
                          [this](const TListItem& a, const TListItem& b) { return Less(*this, a, b); });
  FItems.insert(at, std::move(item));
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
