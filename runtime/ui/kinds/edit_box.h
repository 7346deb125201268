// The edit box kind's properties: its record, its property and event numbers, and
// its table of rows, in number order (number, name, value kind, place in the block
// after the version word, first block version that holds it, the record's field,
// and how the property services get and set it). Pure; its windows are
// edit_box_win.cpp, and its row in the table of kinds is in table.cpp.
#pragma once
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/ui/properties/block_codec.h"
#include "runtime/ui/properties/table.h"

namespace lw {

struct EditProps {
  int32_t border = 1;                 // 0-5
  uint32_t textColour = 0;
  uint32_t backColour = 0xFFFFFF;
  int32_t hideSelection = 1;
  int32_t maxLength = 0;              // 0 platform default
  int32_t multiLine = 0;
  int32_t scrollBars = 0;             // 0 none, 1 h, 2 v, 3 both
  int32_t alignment = 0;
  int32_t inputMode = 0;              // 0 normal, 1 read-only, 2 password, 3-11
  uint16_t maskChar = '*';            // a 16-bit field
  int32_t caseConversion = 0;
  int32_t spinMode = 0;
  int32_t spinLower = 0;
  int32_t spinUpper = 100;
  int32_t selStart = 0;
  int32_t selLength = 0;
  Bytes font;
  std::string text;
  std::string extraText1;             // stored
  std::string extraText2;             // stored
};

namespace edit_prop {
enum : int32_t {
  Text = 8,
  Border = 9,
  TextColour = 10,
  BackColour = 11,
  Font = 12,
  HideSelection = 13,
  MaxLength = 14,
  MultiLine = 15,
  ScrollBars = 16,
  Alignment = 17,
  InputMode = 18,
  MaskChar = 19,
  CaseConversion = 20,
  SpinMode = 21,
  SpinLower = 22,
  SpinUpper = 23,
  SelStart = 24,
  SelLength = 25,
  SelText = 26,  // the selected text; writing it replaces the selection
  ExtraText1 = 27,
  ExtraText2 = 28,
  Last = ExtraText2,
};
}  // namespace edit_prop

namespace edit_event {
enum : int32_t {
  Changed = 0,  // the content changed: typed by the user or written as Text
};
}  // namespace edit_event

namespace unit_rows {

using E = EditProps;
inline constexpr PropertyRow<E> kEditRows[] = {
    {edit_prop::Text, "Text", Text, 17, 0, &E::text, getByHand, store},
    {edit_prop::Border, "Border", Choice, 0, 0, &E::border, field, clamp, 0, 5},
    {edit_prop::TextColour, "TextColour", Colour, 1, 0, &E::textColour, field, store},
    {edit_prop::BackColour, "BackColour", Colour, 2, 0, &E::backColour, field, store},
    {edit_prop::Font, "Font", Font, 16, 0, &E::font, field, store},
    {edit_prop::HideSelection, "HideSelection", Logical, 3, 0, &E::hideSelection, field, flag},
    {edit_prop::MaxLength, "MaxLength", Integer, 4, 0, &E::maxLength, field, clamp, 0, noLimit},
    {edit_prop::MultiLine, "MultiLine", Logical, 5, 0, &E::multiLine, field, flag},
    {edit_prop::ScrollBars, "ScrollBars", Choice, 6, 0, &E::scrollBars, field, clamp, 0, 3},
    {edit_prop::Alignment, "Alignment", Choice, 7, 0, &E::alignment, field, clamp, 0, 2},
    {edit_prop::InputMode, "InputMode", Choice, 8, 0, &E::inputMode, field, clamp, 0, 11},
    {edit_prop::MaskChar, "MaskChar", Text, 9, 0, &E::maskChar, getByHand, setByHand},
    {edit_prop::CaseConversion, "CaseConversion", Choice, 10, 0, &E::caseConversion, field, clamp, 0, 2},
    {edit_prop::SpinMode, "SpinMode", Choice, 11, 0, &E::spinMode, field, clamp, 0, 2},
    {edit_prop::SpinLower, "SpinLower", Integer, 12, 0, &E::spinLower, field, store},
    {edit_prop::SpinUpper, "SpinUpper", Integer, 13, 0, &E::spinUpper, field, store},
    {edit_prop::SelStart, "SelStart", Integer, 14, 0, &E::selStart, getByHand, setByHand},
    {edit_prop::SelLength, "SelLength", Integer, 15, 0, &E::selLength, getByHand, setByHand},
    {edit_prop::SelText, "SelText", Text, none, 0, {}, getByHand, setByHand},
    {edit_prop::ExtraText1, "ExtraText1", Text, 18, 2, &E::extraText1, field, store},
    {edit_prop::ExtraText2, "ExtraText2", Text, 19, 2, &E::extraText2, field, store},
};
inline constexpr PropertyTable<E> kEditTable = {kEditRows, std::size(kEditRows), 2};

static_assert(IsWellFormed(kEditRows, edit_prop::Last), "edit box rows");

}  // namespace unit_rows

using unit_rows::kEditTable;

// Reads the kind's block (empty: the defaults); false with the failure in `in`.
inline bool DecodeEditProps(ByteReader& in, EditProps* out) { return DecodeByTable(kEditTable, in, out); }
// Writes the kind's block at its highest version.
inline void EncodeEditProps(const EditProps& p, ByteWriter& out) { EncodeByTable(kEditTable, p, out); }

}  // namespace lw
