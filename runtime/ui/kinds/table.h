// The unit kinds the program is built with, each from its own header, and the one
// table of them: any kind's properties as one value, and each kind's row with every
// fact about it (type number, names, flags, block routines, property descriptors
// and, in the Windows build, the routines of its windows). A new kind is its own
// header and window file, and a row here. Pure.
#pragma once
#include <cstddef>
#include <cstdint>
#include <array>
#include <utility>
#include <variant>

#include "runtime/ui/kinds/button.h"
#include "runtime/ui/kinds/edit_box.h"
#include "runtime/ui/kinds/group_box.h"
#include "runtime/ui/kinds/label.h"
#include "runtime/ui/kinds/list_view.h"
#include "runtime/ui/kinds/picture_box.h"
#include "runtime/ui/kinds/window.h"
#include "runtime/ui/unit.h"

namespace lw {

// Any kind's properties.
using UnitProps = std::variant<std::monostate, WindowProps, LabelProps, EditProps, PicBoxProps, GroupBoxProps,
                               ButtonProps, ListViewProps>;

// One row per unit kind, in the table below:
// how its type is named and flagged, its block routines, its own properties'
// descriptors and, in the Windows build, the routines of its windows.
struct UnitKind {
  uint32_t typeId;
  const char* typeName;     // name in its library's type table
  const char* englishName;
  uint32_t flags;
  int32_t maxVersion;       // highest block version accepted; -1: the kind has no block
  bool (*decode)(ByteReader& in, UnitProps* out);         // null: no block
  void (*encode)(const UnitProps& p, ByteWriter& out);    // null: no block
  const PropertyDescriptor* properties;                   // own properties, by number
  uint32_t propertyCount;
  const UnitKindRoutines* routines;                       // null in the native build
};

const UnitKind* FindUnitKind(uint32_t typeId);

// Decodes a unit's block by its type id. `used` (optional) tells how many bytes of
// the block the fields took.
bool DecodeUnitProperties(uint32_t typeId, const uint8_t* data, size_t size, UnitProps* out, const char** reason,
                          size_t* used = nullptr);
// Encodes properties as a block of the kind `typeId`; false when the kind has no
// block or `p` holds another kind's properties.
bool EncodeUnitProperties(uint32_t typeId, const UnitProps& p, Bytes* out, const char** reason = nullptr);

// ---- The table: every fact about a kind in its row, tied by the asserts below to its
// type number and its place. Each kind's routines are exported by its window file.

#if defined(_WIN32)
extern const UnitKindRoutines kWindowRoutines, kEditBoxRoutines, kPicBoxRoutines, kGroupBoxRoutines, kLabelRoutines,
    kButtonRoutines, kListViewRoutines;
#define LW_ROUTINES(routines) &routines
#else
#define LW_ROUTINES(routines) nullptr  // the native build makes no windows
#endif

namespace kind_table {

// Menu items have no window of their own, so no routines.
inline constexpr UnitKindRoutines kMenuItemRoutines = {unit_type::MenuItem, nullptr, nullptr, nullptr, nullptr};

// One descriptor per property row; the rows are in number order.
template <class P, size_t N>
constexpr std::array<PropertyDescriptor, N> descriptorsOf(const PropertyRow<P> (&rows)[N]) {
  std::array<PropertyDescriptor, N> out{};
  for (size_t i = 0; i < N; ++i) out[i] = {0, 0, 0, rows[i].kind, 0};
  return out;
}

inline constexpr auto kWindowProps = descriptorsOf(unit_rows::kWindowRows);
inline constexpr auto kLabelProps = descriptorsOf(unit_rows::kLabelRows);
inline constexpr auto kEditProps = descriptorsOf(unit_rows::kEditRows);
inline constexpr auto kPicBoxProps = descriptorsOf(unit_rows::kPicBoxRows);
inline constexpr auto kGroupBoxProps = descriptorsOf(unit_rows::kGroupBoxRows);
inline constexpr auto kButtonProps = descriptorsOf(unit_rows::kButtonRows);
inline constexpr auto kListViewProps = descriptorsOf(unit_rows::kListViewRows);

// Adapters from the kind's own record to the common form of the table.
template <class P, bool (*Decode)(ByteReader&, P*)>
bool decodeAs(ByteReader& in, UnitProps* out) {
  P p;
  bool ok = Decode(in, &p);
  *out = std::move(p);
  return ok;
}

template <class P, void (*Encode)(const P&, ByteWriter&)>
void encodeAs(const UnitProps& v, ByteWriter& out) {
  if (const P* p = std::get_if<P>(&v))
    Encode(*p, out);
  else
    out.fail("properties of another kind");
}

#define LW_BLOCK(P, table) table.version, kind_table::decodeAs<P, Decode##P>, kind_table::encodeAs<P, Encode##P>
#define LW_OWN(props) props.data(), uint32_t(props.size())

// The places of the rows, which the asserts below hold to.
enum KindRow : size_t { WindowRow, MenuItemRow, EditBoxRow, PicBoxRow, GroupBoxRow, LabelRow, ButtonRow, ListViewRow };

}  // namespace kind_table

inline constexpr UnitKind kUnitKinds[] = {
    {unit_type::Window, "窗口", "window", 0x800000D0, LW_BLOCK(WindowProps, kWindowTable), LW_OWN(kind_table::kWindowProps),
     LW_ROUTINES(kWindowRoutines)},
    {unit_type::MenuItem, "菜单", "menu", 0x80000004, -1, nullptr, nullptr, nullptr, 0, &kind_table::kMenuItemRoutines},
    {unit_type::EditBox, "编辑框", "EditBox", 0x80000040, LW_BLOCK(EditProps, kEditTable), LW_OWN(kind_table::kEditProps),
     LW_ROUTINES(kEditBoxRoutines)},
    {unit_type::PicBox, "图片框", "PicBox", 0x840100C0, LW_BLOCK(PicBoxProps, kPicBoxTable), LW_OWN(kind_table::kPicBoxProps),
     LW_ROUTINES(kPicBoxRoutines)},
    {unit_type::GroupBox, "分组框", "GroupBox", 0x840140C0, LW_BLOCK(GroupBoxProps, kGroupBoxTable),
     LW_OWN(kind_table::kGroupBoxProps), LW_ROUTINES(kGroupBoxRoutines)},
    {unit_type::Label, "标签", "Label", 0x84012040, LW_BLOCK(LabelProps, kLabelTable), LW_OWN(kind_table::kLabelProps),
     LW_ROUTINES(kLabelRoutines)},
    {unit_type::Button, "按钮", "Button", 0x80000840, LW_BLOCK(ButtonProps, kButtonTable), LW_OWN(kind_table::kButtonProps),
     LW_ROUTINES(kButtonRoutines)},
    {unit_type::ListView, "超级列表框", "ListView", 0x00000040, LW_BLOCK(ListViewProps, kListViewTable),
     LW_OWN(kind_table::kListViewProps), LW_ROUTINES(kListViewRoutines)},
};
inline constexpr size_t kUnitKindCount = std::size(kUnitKinds);

#undef LW_BLOCK
#undef LW_OWN
#undef LW_ROUTINES

static_assert(std::size(kUnitKinds) == kind_table::ListViewRow + 1, "a row for every place");
static_assert(kUnitKinds[kind_table::WindowRow].typeId == unit_type::Window, "the window's row");
static_assert(kUnitKinds[kind_table::MenuItemRow].typeId == unit_type::MenuItem, "the menu item's row");
static_assert(kUnitKinds[kind_table::EditBoxRow].typeId == unit_type::EditBox, "the edit box's row");
static_assert(kUnitKinds[kind_table::PicBoxRow].typeId == unit_type::PicBox, "the picture box's row");
static_assert(kUnitKinds[kind_table::GroupBoxRow].typeId == unit_type::GroupBox, "the group box's row");
static_assert(kUnitKinds[kind_table::LabelRow].typeId == unit_type::Label, "the label's row");
static_assert(kUnitKinds[kind_table::ButtonRow].typeId == unit_type::Button, "the button's row");
static_assert(kUnitKinds[kind_table::ListViewRow].typeId == unit_type::ListView, "the list view's row");
static_assert(kUnitKinds[kind_table::MenuItemRow].routines->typeId == unit_type::MenuItem, "the menu item's routines");
static_assert(kUnitKinds[kind_table::LabelRow].propertyCount == std::size(unit_rows::kLabelRows), "descriptors by the rows");

}  // namespace lw
