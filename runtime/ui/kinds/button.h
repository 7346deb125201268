// The button kind's properties: its record, its property and event numbers, and
// its table of rows, in number order (number, name, value kind, place in the block
// after the version word, first block version that holds it, the record's field,
// and how the property services get and set it). Pure; its windows are
// button_win.cpp, and its row in the table of kinds is in table.cpp.
#pragma once
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/ui/properties/block_codec.h"
#include "runtime/ui/properties/table.h"

namespace lw {

struct ButtonProps {
  int32_t defaultButton = 0;
  int32_t hAlign = 1;
  int32_t vAlign = 1;
  Bytes picture;
  Bytes font;
  std::string caption;
};

namespace button_prop {
enum : int32_t {
  Picture = 8,
  DefaultButton = 9,
  Caption = 10,
  HAlign = 11,
  VAlign = 12,
  Font = 13,
  Last = Font,
};
}  // namespace button_prop

namespace button_event {
enum : int32_t {
  Clicked = 0,
};
}  // namespace button_event

namespace unit_rows {

using B = ButtonProps;
inline constexpr PropertyRow<B> kButtonRows[] = {
    {button_prop::Picture, "Picture", Picture, 3, 0, &B::picture, field, store},
    {button_prop::DefaultButton, "DefaultButton", Logical, 0, 0, &B::defaultButton, field, flag},
    {button_prop::Caption, "Caption", Text, 5, 0, &B::caption, getByHand, store},
    {button_prop::HAlign, "HAlign", Choice, 1, 0, &B::hAlign, field, clamp, 0, 2},
    {button_prop::VAlign, "VAlign", Choice, 2, 0, &B::vAlign, field, clamp, 0, 2},
    {button_prop::Font, "Font", Font, 4, 0, &B::font, field, store},
};
inline constexpr PropertyTable<B> kButtonTable = {kButtonRows, std::size(kButtonRows), 1};

static_assert(IsWellFormed(kButtonRows, button_prop::Last), "button rows");

}  // namespace unit_rows

using unit_rows::kButtonTable;

// Reads the kind's block (empty: the defaults); false with the failure in `in`.
inline bool DecodeButtonProps(ByteReader& in, ButtonProps* out) { return DecodeByTable(kButtonTable, in, out); }
// Writes the kind's block at its highest version.
inline void EncodeButtonProps(const ButtonProps& p, ByteWriter& out) { EncodeByTable(kButtonTable, p, out); }

}  // namespace lw
