// The group box kind's properties: its record, its property and event numbers, and
// its table of rows, in number order (number, name, value kind, place in the block
// after the version word, first block version that holds it, the record's field,
// and how the property services get and set it). Pure; its windows are
// group_box_win.cpp, and its row in the table of kinds is in table.cpp.
#pragma once
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/ui/properties/block_codec.h"
#include "runtime/ui/properties/table.h"

namespace lw {

struct GroupBoxProps {
  int32_t captionAlign = 0;
  uint32_t textColour = 0;
  uint32_t backColour = kDefaultColour;
  Bytes font;
  std::string caption;
};

namespace group_box_prop {
enum : int32_t {
  Caption = 8,
  CaptionAlign = 9,
  TextColour = 10,
  BackColour = 11,
  Font = 12,
  Last = Font,
};
}  // namespace group_box_prop

namespace unit_rows {

using G = GroupBoxProps;
inline constexpr PropertyRow<G> kGroupBoxRows[] = {
    {group_box_prop::Caption, "Caption", Text, 4, 0, &G::caption, field, store},
    {group_box_prop::CaptionAlign, "CaptionAlign", Choice, 0, 0, &G::captionAlign, field, clamp, 0, 2},
    {group_box_prop::TextColour, "TextColour", Colour, 1, 0, &G::textColour, field, store},
    {group_box_prop::BackColour, "BackColour", Colour, 2, 0, &G::backColour, field, store},
    {group_box_prop::Font, "Font", Font, 3, 0, &G::font, field, store},
};
inline constexpr PropertyTable<G> kGroupBoxTable = {kGroupBoxRows, std::size(kGroupBoxRows), 1};

static_assert(IsWellFormed(kGroupBoxRows, group_box_prop::Last), "group box rows");

}  // namespace unit_rows

using unit_rows::kGroupBoxTable;

// Reads the kind's block (empty: the defaults); false with the failure in `in`.
inline bool DecodeGroupBoxProps(ByteReader& in, GroupBoxProps* out) { return DecodeByTable(kGroupBoxTable, in, out); }
// Writes the kind's block at its highest version.
inline void EncodeGroupBoxProps(const GroupBoxProps& p, ByteWriter& out) { EncodeByTable(kGroupBoxTable, p, out); }

}  // namespace lw
