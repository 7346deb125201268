// The list view kind's properties: its record, its property and event numbers, and
// its table of rows, in number order (number, name, value kind, place in the block
// after the version word, first block version that holds it, the record's field,
// and how the property services get and set it). Pure; its windows are
// list_view_win.cpp, and its row in the table of kinds is in table.cpp.
#pragma once
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/ui/properties/block_codec.h"
#include "runtime/ui/properties/table.h"

namespace lw {

struct ListViewProps {
  int32_t border = 1;
  uint32_t textColour = 0;
  uint32_t textBackColour = 0xFFFFFF;
  uint32_t backColour = 0xFFFFFF;
  int32_t viewType = 3;               // 0 icons, 1 small icons, 2 list, 3 report
  int32_t iconAlign = 0;
  int32_t autoArrange = 1;
  int32_t labelWrap = 1;
  int32_t hideHeaders = 0;
  int32_t clickableHeaders = 1;
  int32_t fullRowSelect = 0;
  int32_t gridLines = 0;
  int32_t headerDragDrop = 0;
  int32_t hotTracking = 0;
  int32_t handCursor = 1;
  int32_t underlineCold = 1;
  int32_t underlineHot = 1;
  int32_t labelEdit = 0;
  int32_t sorting = 0;
  int32_t checkBoxes = 0;
  int32_t flatScrollBars = 0;
  int32_t singleSelection = 1;
  int32_t currentItem = -1;
  int32_t alwaysShowSelection = 0;
  Bytes font;
  Bytes headerImages;
  Bytes itemImages;
  std::vector<ListViewColumn> columns;  // stored as a byte block
  Bytes stateImages;
  Bytes reserved37;                   // a byte block whose meaning is unknown; stored only
};

namespace list_view_prop {
enum : int32_t {
  Border = 8,
  TextColour = 9,
  TextBackColour = 10,
  BackColour = 11,
  Font = 12,
  ViewType = 13,
  IconAlign = 14,
  AutoArrange = 15,
  LabelWrap = 16,
  Columns = 17,
  HideHeaders = 18,
  HeaderImages = 19,
  ClickableHeaders = 20,
  FullRowSelect = 21,
  GridLines = 22,
  HeaderDragDrop = 23,
  ItemImages = 24,
  StateImages = 25,
  HotTracking = 26,
  HandCursor = 27,
  UnderlineCold = 28,
  UnderlineHot = 29,
  LabelEdit = 30,
  Sorting = 31,
  CheckBoxes = 32,
  FlatScrollBars = 33,
  SingleSelection = 34,
  CurrentItem = 35,  // the first selected item, -1 none
  AlwaysShowSelection = 36,
  Reserved37 = 37,
  Last = Reserved37,
};
}  // namespace list_view_prop

// Arguments in parentheses, in the order the handler receives them.
namespace list_view_event {
enum : int32_t {
  CurrentItemChanged = 0,  // an item became the focused item
  ItemActivated = 1,
  ColumnClicked = 2,  // (column)
  KeyDown = 3,        // (virtual key)
  Clicked = 4,  // (); from the menu key or Shift+F10 on a selected row: (x, y) for its menu
  RightClicked = 5,
  LabelEditStarting = 6,  // (item); a present 0 keeps editing from beginning
  LabelEditEnded = 7,     // (item); a present 0 rejects the new text
  CheckToggled = 8,       // (item, 1 checked or 0)
};
}  // namespace list_view_event

namespace unit_rows {

using LV = ListViewProps;
inline constexpr PropertyRow<LV> kListViewRows[] = {
    {list_view_prop::Border, "Border", Choice, 0, 0, &LV::border, field, clamp, 0, 5},
    {list_view_prop::TextColour, "TextColour", Colour, 1, 0, &LV::textColour, field, store},
    {list_view_prop::TextBackColour, "TextBackColour", Colour, 2, 0, &LV::textBackColour, field, store},
    {list_view_prop::BackColour, "BackColour", Colour, 3, 0, &LV::backColour, field, store},
    {list_view_prop::Font, "Font", Font, 24, 0, &LV::font, field, store},
    {list_view_prop::ViewType, "ViewType", Choice, 4, 0, &LV::viewType, field, setByHand},
    {list_view_prop::IconAlign, "IconAlign", Choice, 5, 0, &LV::iconAlign, field, store},
    {list_view_prop::AutoArrange, "AutoArrange", Logical, 6, 0, &LV::autoArrange, field, flag},
    {list_view_prop::LabelWrap, "LabelWrap", Logical, 7, 0, &LV::labelWrap, field, flag},
    {list_view_prop::Columns, "Columns", Data, 27, 0, &LV::columns, getByHand, setByHand},
    {list_view_prop::HideHeaders, "HideHeaders", Logical, 8, 0, &LV::hideHeaders, field, flag},
    {list_view_prop::HeaderImages, "HeaderImages", Data, 25, 0, &LV::headerImages, field, store},
    {list_view_prop::ClickableHeaders, "ClickableHeaders", Logical, 9, 0, &LV::clickableHeaders, field, flag},
    {list_view_prop::FullRowSelect, "FullRowSelect", Logical, 10, 0, &LV::fullRowSelect, field, flag},
    {list_view_prop::GridLines, "GridLines", Logical, 11, 0, &LV::gridLines, field, flag},
    {list_view_prop::HeaderDragDrop, "HeaderDragDrop", Logical, 12, 0, &LV::headerDragDrop, field, flag},
    {list_view_prop::ItemImages, "ItemImages", Data, 26, 0, &LV::itemImages, field, store},
    {list_view_prop::StateImages, "StateImages", Data, 28, 0, &LV::stateImages, field, store},
    {list_view_prop::HotTracking, "HotTracking", Logical, 13, 0, &LV::hotTracking, field, flag},
    {list_view_prop::HandCursor, "HandCursor", Logical, 14, 0, &LV::handCursor, field, flag},
    {list_view_prop::UnderlineCold, "UnderlineCold", Logical, 15, 0, &LV::underlineCold, field, flag},
    {list_view_prop::UnderlineHot, "UnderlineHot", Logical, 16, 0, &LV::underlineHot, field, flag},
    {list_view_prop::LabelEdit, "LabelEdit", Logical, 17, 0, &LV::labelEdit, field, flag},
    {list_view_prop::Sorting, "Sorting", Choice, 18, 0, &LV::sorting, field, clamp, 0, 2},
    {list_view_prop::CheckBoxes, "CheckBoxes", Logical, 19, 0, &LV::checkBoxes, field, flag},
    {list_view_prop::FlatScrollBars, "FlatScrollBars", Logical, 20, 0, &LV::flatScrollBars, field, flag},
    {list_view_prop::SingleSelection, "SingleSelection", Logical, 21, 0, &LV::singleSelection, field, flag},
    {list_view_prop::CurrentItem, "CurrentItem", Integer, 22, 0, &LV::currentItem, getByHand, clamp, -1, noLimit},
    {list_view_prop::AlwaysShowSelection, "AlwaysShowSelection", Logical, 23, 0, &LV::alwaysShowSelection, field,
     flag},
    {list_view_prop::Reserved37, "Reserved37", Data, 29, 0, &LV::reserved37, field, store},
};
inline constexpr PropertyTable<LV> kListViewTable = {kListViewRows, std::size(kListViewRows), 1};

static_assert(IsWellFormed(kListViewRows, list_view_prop::Last), "list view rows");

}  // namespace unit_rows

using unit_rows::kListViewTable;

// Reads the kind's block (empty: the defaults); false with the failure in `in`.
inline bool DecodeListViewProps(ByteReader& in, ListViewProps* out) { return DecodeByTable(kListViewTable, in, out); }
// Writes the kind's block at its highest version.
inline void EncodeListViewProps(const ListViewProps& p, ByteWriter& out) { EncodeByTable(kListViewTable, p, out); }

}  // namespace lw
