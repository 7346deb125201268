// The window kind's properties: its record, its property and event numbers, and
// its table of rows, in number order (number, name, value kind, place in the block
// after the version word, first block version that holds it, the record's field,
// and how the property services get and set it). Pure; its windows are
// window_win.cpp, and its row in the table of kinds is in table.cpp.
#pragma once
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/ui/properties/block_codec.h"
#include "runtime/ui/properties/table.h"

namespace lw {

struct WindowProps {
  int32_t border = 2;                 // 0-6, 2 fixed frame
  int32_t wordAt1 = 1;                // stored
  uint32_t backColour = kDefaultColour;
  int32_t maxButton = 0;
  int32_t minButton = 1;
  int32_t controlBox = 1;
  int32_t startPosition = 1;          // 0 stored, 1 centred, 2 minimised, 3 maximised
  int32_t closable = 1;
  int32_t wordAt8 = 0;                // stored
  int32_t wordAt9 = 0;                // stored
  int32_t wordAt10 = 1;               // stored
  int32_t wordAt11 = 0;               // stored
  int32_t wordAt12 = 0;               // stored
  int32_t wordAt13 = 1;               // stored
  int32_t wordAt14 = 0;               // stored
  int32_t wordAt15 = 0;               // stored
  int32_t alwaysOnTop = 0;
  int32_t wordAt17 = 0;               // stored
  std::string className;              // empty: "JVWindow"
  Bytes backPicture;
  Bytes blockAt20;                    // stored
  Bytes blockAt21;                    // stored
  std::string caption;
  std::string textAt23;               // stored
};

namespace window_prop {
enum : int32_t {
  Caption = 8,
  Border = 9,
  BackColour = 10,
  BackPicture = 11,
  WordAt1 = 12,
  BlockAt21 = 13,
  WordAt8 = 14,
  ControlBox = 15,
  MaxButton = 16,
  MinButton = 17,
  StartPosition = 18,
  Closable = 19,
  BlockAt20 = 20,
  WordAt9 = 21,
  WordAt10 = 22,
  WordAt11 = 23,
  TextAt23 = 24,
  WordAt12 = 25,
  WordAt13 = 26,
  WordAt14 = 27,
  WordAt15 = 28,
  AlwaysOnTop = 29,
  WordAt17 = 30,
  ClassName = 31,
  Last = ClassName,
};
}  // namespace window_prop

namespace window_event {
enum : int32_t {
  Created = 0,     // after creation, before the first showing
  QueryClose = 1,  // may the window close? a present 0 says no; also when the session ends
  Destroying = 2,
  Moved = 3,
  Resized = 4,
  Idle = 7,               // argument: milliseconds idle; a non-zero answer asks for more
  QueryWindowClose = 12,  // asked before QueryClose when the window itself is closed
};
}  // namespace window_event

namespace unit_rows {

using W = WindowProps;
inline constexpr PropertyRow<W> kWindowRows[] = {
    {window_prop::Caption, "Caption", Text, 22, 0, &W::caption, getByHand, store},
    {window_prop::Border, "Border", Choice, 0, 0, &W::border, field, clamp, INT32_MIN, 6},
    {window_prop::BackColour, "BackColour", Colour, 2, 0, &W::backColour, field, store},
    {window_prop::BackPicture, "BackPicture", Picture, 19, 0, &W::backPicture, field, store},
    {window_prop::WordAt1, "WordAt1", Choice, 1, 0, &W::wordAt1, field, store},
    {window_prop::BlockAt21, "BlockAt21", Data, 21, 0, &W::blockAt21, field, store},
    {window_prop::WordAt8, "WordAt8", Choice, 8, 0, &W::wordAt8, field, store},
    {window_prop::ControlBox, "ControlBox", Logical, 5, 0, &W::controlBox, field, store},
    {window_prop::MaxButton, "MaxButton", Logical, 3, 0, &W::maxButton, field, store},
    {window_prop::MinButton, "MinButton", Logical, 4, 0, &W::minButton, field, store},
    {window_prop::StartPosition, "StartPosition", Choice, 6, 0, &W::startPosition, field, store},
    {window_prop::Closable, "Closable", Logical, 7, 0, &W::closable, field, store},
    {window_prop::BlockAt20, "BlockAt20", Data, 20, 0, &W::blockAt20, field, store},
    {window_prop::WordAt9, "WordAt9", Logical, 9, 0, &W::wordAt9, field, store},
    {window_prop::WordAt10, "WordAt10", Logical, 10, 0, &W::wordAt10, field, store},
    {window_prop::WordAt11, "WordAt11", Logical, 11, 0, &W::wordAt11, field, store},
    {window_prop::TextAt23, "TextAt23", Text, 23, 0, &W::textAt23, field, store},
    {window_prop::WordAt12, "WordAt12", Integer, 12, 0, &W::wordAt12, field, store},
    {window_prop::WordAt13, "WordAt13", Logical, 13, 2, &W::wordAt13, field, store},
    {window_prop::WordAt14, "WordAt14", Logical, 14, 3, &W::wordAt14, field, store},
    {window_prop::WordAt15, "WordAt15", Choice, 15, 3, &W::wordAt15, field, store},
    {window_prop::AlwaysOnTop, "AlwaysOnTop", Logical, 16, 4, &W::alwaysOnTop, field, store},
    {window_prop::WordAt17, "WordAt17", Logical, 17, 5, &W::wordAt17, field, store},
    {window_prop::ClassName, "ClassName", Text, 18, 6, &W::className, field, store},  // used at the next load
};
inline constexpr PropertyTable<W> kWindowTable = {kWindowRows, std::size(kWindowRows), 6};

static_assert(IsWellFormed(kWindowRows, window_prop::Last), "window rows");

}  // namespace unit_rows

using unit_rows::kWindowTable;

// Reads the kind's block (empty: the defaults); false with the failure in `in`.
inline bool DecodeWindowProps(ByteReader& in, WindowProps* out) { return DecodeByTable(kWindowTable, in, out); }
// Writes the kind's block at its highest version.
inline void EncodeWindowProps(const WindowProps& p, ByteWriter& out) { EncodeByTable(kWindowTable, p, out); }

}  // namespace lw
