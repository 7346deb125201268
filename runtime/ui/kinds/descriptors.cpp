// The own properties of each unit kind, by number from kFirstOwnProperty, with their
// value kinds, as the kinds' property tables give them.
#include <array>
#include <cstddef>

#include "runtime/ui/unit.h"
#include "runtime/ui/properties/kind_tables.h"

namespace lw {
namespace {

// One descriptor per row; the rows are in number order.
template <class P, size_t N>
constexpr std::array<PropertyDescriptor, N> DescriptorsOf(const PropertyRow<P> (&rows)[N]) {
  std::array<PropertyDescriptor, N> out{};
  for (size_t i = 0; i < N; ++i) out[i] = {0, 0, 0, rows[i].kind, 0};
  return out;
}

constexpr auto kWindowProps = DescriptorsOf(unit_rows::kWindowRows);
constexpr auto kLabelProps = DescriptorsOf(unit_rows::kLabelRows);
constexpr auto kEditProps = DescriptorsOf(unit_rows::kEditRows);
constexpr auto kPicBoxProps = DescriptorsOf(unit_rows::kPicBoxRows);
constexpr auto kGroupBoxProps = DescriptorsOf(unit_rows::kGroupBoxRows);
constexpr auto kButtonProps = DescriptorsOf(unit_rows::kButtonRows);
constexpr auto kListViewProps = DescriptorsOf(unit_rows::kListViewRows);

struct Row {
  uint32_t typeId;
  const PropertyDescriptor* props;
  size_t count;
};
#define ROW(id, table) {id, table.data(), table.size()}
const Row kRows[] = {
    ROW(unit_type::Window, kWindowProps),     ROW(unit_type::Label, kLabelProps),
    ROW(unit_type::EditBox, kEditProps),      ROW(unit_type::PicBox, kPicBoxProps),
    ROW(unit_type::GroupBox, kGroupBoxProps), ROW(unit_type::Button, kButtonProps),
    ROW(unit_type::ListView, kListViewProps),
};
#undef ROW

}  // namespace

const PropertyDescriptor* OwnPropertyDescriptors(uint32_t typeId, size_t* count) {
  for (const Row& r : kRows)
    if (r.typeId == typeId) {
      *count = r.count;
      return r.props;
    }
  *count = 0;
  return nullptr;
}

uint16_t OwnPropertyKind(const UnitTypeInfo* type, int ownIndex) {
  if (!type || ownIndex < 0 || uint32_t(ownIndex) >= type->propertyCount) return 0;
  return uint16_t(type->properties[ownIndex].kind & 0xFFFF);
}

}  // namespace lw
