// The picture box kind's properties: its record, its property and event numbers, and
// its table of rows, in number order (number, name, value kind, place in the block
// after the version word, first block version that holds it, the record's field,
// and how the property services get and set it). Pure; its windows are
// picture_box_win.cpp, and its row in the table of kinds is in table.cpp.
#pragma once
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/ui/properties/block_codec.h"
#include "runtime/ui/properties/table.h"

namespace lw {

struct PicBoxProps {
  int32_t border = 0;                 // 0-5
  uint32_t backColour = kDefaultColour;
  int32_t displayMode = 0;            // 0 natural, 1 stretched, 2 fitted and centred
  int32_t animate = 0;
  Bytes picture;
  std::string extraText1;             // stored
  std::string extraText2;             // stored
};

namespace pic_box_prop {
enum : int32_t {
  Border = 8,
  BackColour = 9,
  Picture = 10,
  DisplayMode = 11,
  Animate = 12,
  ExtraText1 = 13,
  ExtraText2 = 14,
  Last = ExtraText2,
};
}  // namespace pic_box_prop

namespace unit_rows {

using PB = PicBoxProps;
inline constexpr PropertyRow<PB> kPicBoxRows[] = {
    {pic_box_prop::Border, "Border", Choice, 0, 0, &PB::border, field, clamp, 0, 5},
    {pic_box_prop::BackColour, "BackColour", Colour, 1, 0, &PB::backColour, field, store},
    {pic_box_prop::Picture, "Picture", Picture, 4, 0, &PB::picture, field, store},
    {pic_box_prop::DisplayMode, "DisplayMode", Choice, 2, 0, &PB::displayMode, field, clamp, 0, 2},
    {pic_box_prop::Animate, "Animate", Logical, 3, 0, &PB::animate, field, setByHand},
    {pic_box_prop::ExtraText1, "ExtraText1", Text, 5, 2, &PB::extraText1, field, store},
    {pic_box_prop::ExtraText2, "ExtraText2", Text, 6, 2, &PB::extraText2, field, store},
};
inline constexpr PropertyTable<PB> kPicBoxTable = {kPicBoxRows, std::size(kPicBoxRows), 2};

static_assert(IsWellFormed(kPicBoxRows, pic_box_prop::Last), "picture box rows");

}  // namespace unit_rows

using unit_rows::kPicBoxTable;

// Reads the kind's block (empty: the defaults); false with the failure in `in`.
inline bool DecodePicBoxProps(ByteReader& in, PicBoxProps* out) { return DecodeByTable(kPicBoxTable, in, out); }
// Writes the kind's block at its highest version.
inline void EncodePicBoxProps(const PicBoxProps& p, ByteWriter& out) { EncodeByTable(kPicBoxTable, p, out); }

}  // namespace lw
