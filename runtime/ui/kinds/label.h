// The label kind's properties: its record, its property and event numbers, and
// its table of rows, in number order (number, name, value kind, place in the block
// after the version word, first block version that holds it, the record's field,
// and how the property services get and set it). Pure; its windows are
// label_win.cpp, and its row in the table of kinds is in table.cpp.
#pragma once
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/ui/properties/block_codec.h"
#include "runtime/ui/properties/table.h"

namespace lw {

struct LabelProps {
  int32_t textEffect = 0;             // 0-3
  int32_t gradientBorderWidth = 8;    // at least 5
  int32_t border = 0;                 // 0-6, 6 gradient border
  uint32_t gradientBorderColours[3] = {0x808080, 0xFFFFFF, 0x808080};
  uint32_t textColour = 0;
  uint32_t backColour = kDefaultColour;
  int32_t pictureMode = 1;            // 0-2
  int32_t gradientBackground = 0;     // 0 none, 1-8 a style
  uint32_t gradientColours[3] = {0x808080, 0xFFFFFF, 0x808080};
  int32_t hAlign = 0;                 // 0 left, 1 centre, 2 right
  int32_t vAlign = 1;                 // 0 top, 1 centre, 2 bottom
  int32_t wordWrap = 0;
  Bytes font;                         // 60-byte logical font, empty default
  Bytes picture;
  std::string caption;
  std::string extraText1;             // stored
  std::string extraText2;             // stored
};

namespace label_prop {
enum : int32_t {
  Caption = 8,
  TextEffect = 9,
  Border = 10,
  GradientBorderWidth = 11,
  GradientBorderColour1 = 12,
  GradientBorderColour2 = 13,
  GradientBorderColour3 = 14,
  Font = 15,
  TextColour = 16,
  BackColour = 17,
  Picture = 18,
  PictureMode = 19,
  GradientBackground = 20,
  GradientColour1 = 21,
  GradientColour2 = 22,
  GradientColour3 = 23,
  HAlign = 24,
  WordWrap = 25,
  VAlign = 26,
  ExtraText1 = 27,
  ExtraText2 = 28,
  Last = ExtraText2,
};
}  // namespace label_prop

namespace unit_rows {

using L = LabelProps;
inline constexpr PropertyRow<L> kLabelRows[] = {
    {label_prop::Caption, "Caption", Text, 18, 0, &L::caption, field, store},
    {label_prop::TextEffect, "TextEffect", Choice, 0, 0, &L::textEffect, field, clamp, 0, 3},
    {label_prop::Border, "Border", Choice, 2, 0, &L::border, field, clamp, 0, 6},
    {label_prop::GradientBorderWidth, "GradientBorderWidth", Integer, 1, 0, &L::gradientBorderWidth, field, clamp, 5,
     noLimit},
    {label_prop::GradientBorderColour1, "GradientBorderColour1", Colour, 3, 0, {&L::gradientBorderColours, 0}, field,
     store},
    {label_prop::GradientBorderColour2, "GradientBorderColour2", Colour, 4, 0, {&L::gradientBorderColours, 1}, field,
     store},
    {label_prop::GradientBorderColour3, "GradientBorderColour3", Colour, 5, 0, {&L::gradientBorderColours, 2}, field,
     store},
    {label_prop::Font, "Font", Font, 16, 0, &L::font, field, store},
    {label_prop::TextColour, "TextColour", Colour, 6, 0, &L::textColour, field, store},
    {label_prop::BackColour, "BackColour", Colour, 7, 0, &L::backColour, field, store},
    {label_prop::Picture, "Picture", Picture, 17, 0, &L::picture, field, store},
    {label_prop::PictureMode, "PictureMode", Choice, 8, 0, &L::pictureMode, field, clamp, 0, 2},
    {label_prop::GradientBackground, "GradientBackground", Choice, 9, 0, &L::gradientBackground, field, clamp, 0, 8},
    {label_prop::GradientColour1, "GradientColour1", Colour, 10, 0, {&L::gradientColours, 0}, field, store},
    {label_prop::GradientColour2, "GradientColour2", Colour, 11, 0, {&L::gradientColours, 1}, field, store},
    {label_prop::GradientColour3, "GradientColour3", Colour, 12, 0, {&L::gradientColours, 2}, field, store},
    {label_prop::HAlign, "HAlign", Choice, 13, 0, &L::hAlign, field, clamp, 0, 2},
    {label_prop::WordWrap, "WordWrap", Logical, 15, 0, &L::wordWrap, field, store},
    {label_prop::VAlign, "VAlign", Choice, 14, 0, &L::vAlign, field, clamp, 0, 2},
    {label_prop::ExtraText1, "ExtraText1", Text, 19, 2, &L::extraText1, field, store},
    {label_prop::ExtraText2, "ExtraText2", Text, 20, 2, &L::extraText2, field, store},
};
inline constexpr PropertyTable<L> kLabelTable = {kLabelRows, std::size(kLabelRows), 2};

static_assert(IsWellFormed(kLabelRows, label_prop::Last), "label rows");

}  // namespace unit_rows

using unit_rows::kLabelTable;

// Reads the kind's block (empty: the defaults); false with the failure in `in`.
inline bool DecodeLabelProps(ByteReader& in, LabelProps* out) { return DecodeByTable(kLabelTable, in, out); }
// Writes the kind's block at its highest version.
inline void EncodeLabelProps(const LabelProps& p, ByteWriter& out) { EncodeByTable(kLabelTable, p, out); }

}  // namespace lw
