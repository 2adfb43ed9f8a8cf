// A list view: rows of a caption and sub-items under a row of column
// headers. Read-only for the user; the dialog fills it from code.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Controls.h"

namespace bx {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum class TSortType { stNone, stText };

// Every column is sized to fit its header and its contents.
struct TListColumn {
  std::string Caption;
  TAlignment Alignment = TAlignment::taLeftJustify;
  bool operator==(const TListColumn&) const = default;
};

struct TListItem {
  std::string Caption;
  std::vector<std::string> SubItems;
  bool operator==(const TListItem&) const = default;
};

class TListView : public TControl {
 public:
  explicit TListView(std::string name, TForm* owner = nullptr)
      : TControl(TControlKind::ListView, std::move(name), owner) {}

  const std::vector<TListColumn>& Columns() const { return FColumns; }
  void SetColumns(std::vector<TListColumn> columns);
  const std::vector<TListItem>& Items() const { return FItems; }
  void Clear() { SetItems({}); }
  // All rows at once, so that the window is filled once. With stText they
  // are sorted by caption, rows of equal captions kept in the given order.
  void SetItems(std::vector<TListItem> items);
  TSortType SortType() const { return FSortType; }
  // Turning sorting on sorts the rows already there.
  void SetSortType(TSortType value);

  TViewStyle ViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle value);
  // The user cannot edit the captions.
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  // A click on a column header raises a click event.
  bool ColumnClick() const { return FColumnClick; }
  void SetColumnClick(bool value);

  // The order of captions under stText: the platform's comparison (lstrcmp);
  // negative, 0 or positive.
  std::function<int(const std::string&, const std::string&)> CompareCaptions;

 private:
  std::vector<TListColumn> FColumns;
  std::vector<TListItem> FItems;
  TSortType FSortType = TSortType::stNone;
  TViewStyle FViewStyle = TViewStyle::vsIcon;
  bool FReadOnly = false;
  bool FColumnClick = true;
};

}  // namespace bx
