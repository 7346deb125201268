// The own properties of each unit kind, by number from kFirstOwnProperty, with their
// value kinds.
#include <cstddef>

#include "runtime/ui/unit.h"

namespace lw {
namespace {

using namespace value_kind;

constexpr PropertyDescriptor P(uint16_t kind) { return {0, 0, 0, kind, 0}; }

const PropertyDescriptor kWindowProps[] = {
    P(Text),    P(Choice),  P(Colour),  P(Picture), P(Choice),  P(Data),    P(Choice),  P(Logical),
    P(Logical), P(Logical), P(Choice),  P(Logical), P(Data),    P(Logical), P(Logical), P(Logical),
    P(Text),    P(Integer), P(Logical), P(Logical), P(Choice),  P(Logical), P(Logical), P(Text)};
const PropertyDescriptor kLabelProps[] = {
    P(Text),   P(Choice), P(Choice),  P(Integer), P(Colour), P(Colour), P(Colour), P(Font),   P(Colour), P(Colour),
    P(Picture), P(Choice), P(Choice), P(Colour),  P(Colour), P(Colour), P(Choice), P(Logical), P(Choice), P(Text),
    P(Text)};
const PropertyDescriptor kEditProps[] = {
    P(Text),    P(Choice),  P(Colour),  P(Colour),  P(Font),    P(Logical), P(Integer),
    P(Logical), P(Choice),  P(Choice),  P(Choice),  P(Text),    P(Choice),  P(Choice),
    P(Integer), P(Integer), P(Integer), P(Integer), P(Text),    P(Text),    P(Text)};
const PropertyDescriptor kPicBoxProps[] = {P(Choice), P(Colour), P(Picture), P(Choice),
                                           P(Logical), P(Text), P(Text)};
const PropertyDescriptor kGroupBoxProps[] = {P(Text), P(Choice), P(Colour), P(Colour), P(Font)};
const PropertyDescriptor kButtonProps[] = {P(Picture), P(Logical), P(Text), P(Choice), P(Choice), P(Font)};
const PropertyDescriptor kListViewProps[] = {
    P(Choice),  P(Colour),  P(Colour),  P(Colour),  P(Font),    P(Choice),  P(Choice),  P(Logical),
    P(Logical), P(Data),    P(Logical), P(Data),    P(Logical), P(Logical), P(Logical), P(Logical),
    P(Data),    P(Data),    P(Logical), P(Logical), P(Logical), P(Logical), P(Logical), P(Choice),
    P(Logical), P(Logical), P(Logical), P(Integer), P(Logical), P(Data)};

// One descriptor for each of a kind's own property numbers.
template <size_t N>
constexpr bool coversOwnNumbers(const PropertyDescriptor (&)[N], int32_t last) {
  return N == size_t(OwnPropertyIndex(last) + 1);
}
static_assert(coversOwnNumbers(kWindowProps, window_prop::Last), "window descriptors and numbers differ");
static_assert(coversOwnNumbers(kLabelProps, label_prop::Last), "label descriptors and numbers differ");
static_assert(coversOwnNumbers(kEditProps, edit_prop::Last), "edit box descriptors and numbers differ");
static_assert(coversOwnNumbers(kPicBoxProps, pic_box_prop::Last), "picture box descriptors and numbers differ");
static_assert(coversOwnNumbers(kGroupBoxProps, group_box_prop::Last), "group box descriptors and numbers differ");
static_assert(coversOwnNumbers(kButtonProps, button_prop::Last), "button descriptors and numbers differ");
static_assert(coversOwnNumbers(kListViewProps, list_view_prop::Last), "list view descriptors and numbers differ");

struct Row {
  uint32_t typeId;
  const PropertyDescriptor* props;
  size_t count;
};
#define ROW(id, table) {id, table, sizeof table / sizeof table[0]}
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
