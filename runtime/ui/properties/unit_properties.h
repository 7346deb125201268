// The property blocks of the unit kinds: each kind's own properties as a record,
// with their defaults, and one routine pair per kind that reads and writes the
// block. The template writer, the creation of a unit and a unit's serialise
// operation all go through these same routines. Next to each record are the
// numbers of the kind's properties and events, as handlers and the property
// services name them. Pure.
//
// A block begins with a version word; a version above the kind's maximum, or
// fields that run past the block's end, reject the block. An empty block leaves
// every property at its default.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "runtime/ui/properties/template_format.h"

namespace lw {

// Colour value standing for the system's button-face colour.
constexpr uint32_t kDefaultColour = 0xFF000000;

using Bytes = std::vector<uint8_t>;

// ---- Property and event numbers every kind shares -----------------------------------
//
// A property is named by its number. Numbers 0-7 mean the same for every kind with
// a window of its own and are answered by the property services themselves; a
// kind's own properties are numbered from kFirstOwnProperty on, and its get and set
// routines receive them as an own index counted from there (own index 0 is
// property 8). Menu items have a numbering of their own from 0.
//
// An event is named by its number as well: the focus events below are raised by
// every kind with a window, the others are each kind's own (next to its record).

namespace unit_prop {
enum : int32_t {
  Left = 0,
  Top = 1,
  Width = 2,
  Height = 3,
  Tag = 4,
  Visible = 5,
  Disabled = 6,
  MousePointer = 7,
};
}  // namespace unit_prop

constexpr int32_t kFirstOwnProperty = 8;
// The property number of a kind's own index, and back.
constexpr int32_t OwnPropertyNumber(int32_t ownIndex) { return kFirstOwnProperty + ownIndex; }
constexpr int32_t OwnPropertyIndex(int32_t number) { return number - kFirstOwnProperty; }

namespace menu_item_prop {
enum : int32_t {
  Caption = 0,
  Checked = 1,
  Disabled = 2,
  Visible = 3,
};
}  // namespace menu_item_prop

namespace unit_event {
enum : int32_t {
  FocusGained = -7,
  FocusLost = -8,
};
}  // namespace unit_event

// A menu item raises one event; its handler is the item's own, whatever the number.
namespace menu_item_event {
enum : int32_t {
  Chosen = 0,
};
}  // namespace menu_item_event

// ---- The kinds -------------------------------------------------------------------------
//
// Each kind's record, numbers and table of rows are in its own header under
// runtime/ui/kinds (label.h, edit_box.h, ...), and every kind is a row of the table
// of kinds (runtime/ui/kinds/table.h). A property marked "stored" has no effect in
// this program: it is kept so that a block reads back as written, and a
// handler reads back what it wrote. A stored field whose meaning is not known is
// named by its place in the block, counted from 0 after the version word (the place
// column of the kind's table): `wordAt1` is the integer at place 1.

// One column of a list view, and the column list's byte block (entries until the
// block ends); the rows of every kind may hold such a list.
struct ListViewColumn {
  bool imageRight = false;  // the column image drawn right of the header text
  int32_t image = -1;       // -1 none
  int32_t alignment = 0;    // 0 left, 1 centre, 2 right
  int32_t width = 0;
  std::string header;
};

bool DecodeListViewColumns(const Bytes& block, std::vector<ListViewColumn>* out);
bool EncodeListViewColumns(const std::vector<ListViewColumn>& columns, Bytes* block);

// Type flags of the kinds' type records.
namespace type_flag {
constexpr uint32_t MenuItem = 0x04;
constexpr uint32_t IsWindow = 0x10;       // never re-created
constexpr uint32_t HasWindow = 0x40;      // the unit has a window of its own
constexpr uint32_t MovesChildren = 0x80;  // re-creation moves the child windows
constexpr uint32_t Container = 0x100;
constexpr uint32_t NeverVisible = 0x8000;
constexpr uint32_t NotifiesParent = 0x100000;  // a kind whose parent would hear of its re-creation; no kind here has it
}  // namespace type_flag

}  // namespace lw
