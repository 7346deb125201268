// The one table of unit kinds. Every fact about a kind is read from its row: its
// type number, names and flags, how its property block is read and written, the
// descriptors of its own properties and, in the Windows build, the routines of its
// windows (each kind's own file under runtime/ui/kinds). The static_asserts below
// tie each row to its type number and its place.
#include <array>
#include <cstddef>
#include <utility>

#include "runtime/ui/properties/kind_tables.h"
#include "runtime/ui/properties/unit_properties.h"
#include "runtime/ui/unit.h"

namespace lw {

#if defined(_WIN32)
extern const UnitKindRoutines kWindowRoutines, kEditBoxRoutines, kPicBoxRoutines, kGroupBoxRoutines, kLabelRoutines,
    kButtonRoutines, kListViewRoutines;
#define LW_ROUTINES(routines) &routines
#else
#define LW_ROUTINES(routines) nullptr  // the native build makes no windows
#endif

namespace {

// Menu items have no window of their own, so no routines.
constexpr UnitKindRoutines kMenuItemRoutines = {unit_type::MenuItem, nullptr, nullptr, nullptr, nullptr};

// One descriptor per property row; the rows are in number order.
template <class P, size_t N>
constexpr std::array<PropertyDescriptor, N> descriptorsOf(const PropertyRow<P> (&rows)[N]) {
  std::array<PropertyDescriptor, N> out{};
  for (size_t i = 0; i < N; ++i) out[i] = {0, 0, 0, rows[i].kind, 0};
  return out;
}

constexpr auto kWindowProps = descriptorsOf(unit_rows::kWindowRows);
constexpr auto kLabelProps = descriptorsOf(unit_rows::kLabelRows);
constexpr auto kEditProps = descriptorsOf(unit_rows::kEditRows);
constexpr auto kPicBoxProps = descriptorsOf(unit_rows::kPicBoxRows);
constexpr auto kGroupBoxProps = descriptorsOf(unit_rows::kGroupBoxRows);
constexpr auto kButtonProps = descriptorsOf(unit_rows::kButtonRows);
constexpr auto kListViewProps = descriptorsOf(unit_rows::kListViewRows);

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

#define LW_BLOCK(P, table) table.version, decodeAs<P, Decode##P>, encodeAs<P, Encode##P>
#define LW_OWN(props) props.data(), uint32_t(props.size())

// The places of the rows, which the asserts below hold to.
enum KindRow : size_t { WindowRow, MenuItemRow, EditBoxRow, PicBoxRow, GroupBoxRow, LabelRow, ButtonRow, ListViewRow };

}  // namespace

extern const UnitKind kUnitKinds[];
constexpr UnitKind kUnitKinds[] = {
    {unit_type::Window, "窗口", "window", 0x800000D0, LW_BLOCK(WindowProps, kWindowTable), LW_OWN(kWindowProps),
     LW_ROUTINES(kWindowRoutines)},
    {unit_type::MenuItem, "菜单", "menu", 0x80000004, -1, nullptr, nullptr, nullptr, 0, &kMenuItemRoutines},
    {unit_type::EditBox, "编辑框", "EditBox", 0x80000040, LW_BLOCK(EditProps, kEditTable), LW_OWN(kEditProps),
     LW_ROUTINES(kEditBoxRoutines)},
    {unit_type::PicBox, "图片框", "PicBox", 0x840100C0, LW_BLOCK(PicBoxProps, kPicBoxTable), LW_OWN(kPicBoxProps),
     LW_ROUTINES(kPicBoxRoutines)},
    {unit_type::GroupBox, "分组框", "GroupBox", 0x840140C0, LW_BLOCK(GroupBoxProps, kGroupBoxTable),
     LW_OWN(kGroupBoxProps), LW_ROUTINES(kGroupBoxRoutines)},
    {unit_type::Label, "标签", "Label", 0x84012040, LW_BLOCK(LabelProps, kLabelTable), LW_OWN(kLabelProps),
     LW_ROUTINES(kLabelRoutines)},
    {unit_type::Button, "按钮", "Button", 0x80000840, LW_BLOCK(ButtonProps, kButtonTable), LW_OWN(kButtonProps),
     LW_ROUTINES(kButtonRoutines)},
    {unit_type::ListView, "超级列表框", "ListView", 0x00000040, LW_BLOCK(ListViewProps, kListViewTable),
     LW_OWN(kListViewProps), LW_ROUTINES(kListViewRoutines)},
};
const size_t kUnitKindCount = std::size(kUnitKinds);

#undef LW_BLOCK
#undef LW_OWN
#undef LW_ROUTINES

static_assert(std::size(kUnitKinds) == ListViewRow + 1, "a row for every place");
static_assert(kUnitKinds[WindowRow].typeId == unit_type::Window, "the window's row");
static_assert(kUnitKinds[MenuItemRow].typeId == unit_type::MenuItem, "the menu item's row");
static_assert(kUnitKinds[EditBoxRow].typeId == unit_type::EditBox, "the edit box's row");
static_assert(kUnitKinds[PicBoxRow].typeId == unit_type::PicBox, "the picture box's row");
static_assert(kUnitKinds[GroupBoxRow].typeId == unit_type::GroupBox, "the group box's row");
static_assert(kUnitKinds[LabelRow].typeId == unit_type::Label, "the label's row");
static_assert(kUnitKinds[ButtonRow].typeId == unit_type::Button, "the button's row");
static_assert(kUnitKinds[ListViewRow].typeId == unit_type::ListView, "the list view's row");
static_assert(kUnitKinds[MenuItemRow].routines->typeId == unit_type::MenuItem, "the menu item's routines");
static_assert(kUnitKinds[LabelRow].propertyCount == std::size(unit_rows::kLabelRows), "descriptors by the rows");

const PropertyDescriptor* OwnPropertyDescriptors(uint32_t typeId, size_t* count) {
  const UnitKind* kind = FindUnitKind(typeId);
  *count = kind ? kind->propertyCount : 0;
  return kind ? kind->properties : nullptr;
}

uint16_t OwnPropertyKind(const UnitTypeInfo* type, int ownIndex) {
  if (!type || ownIndex < 0 || uint32_t(ownIndex) >= type->propertyCount) return 0;
  return uint16_t(type->properties[ownIndex].kind & 0xFFFF);
}

}  // namespace lw
