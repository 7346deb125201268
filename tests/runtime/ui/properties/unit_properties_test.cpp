#include "runtime/ui/kinds/table.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace lw {
namespace {

// Field-by-field fixtures in block order, so that the decoders are checked against
// the layout rather than against the encoders.
struct Block {
  std::vector<uint8_t> b;
  Block& i(uint32_t v) {
    for (int k = 0; k < 4; ++k) b.push_back(static_cast<uint8_t>(v >> (8 * k)));
    return *this;
  }
  Block& h(uint16_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
    return *this;
  }
  Block& text(const char* s) {  // counted text, also a byte block
    i(static_cast<uint32_t>(std::strlen(s)));
    b.insert(b.end(), s, s + std::strlen(s));
    return *this;
  }
  Block& run(uint32_t first, int count) {  // first, first + 1, ...
    for (int k = 0; k < count; ++k) i(first + k);
    return *this;
  }
};

template <class P>
bool Decode(bool (*decode)(ByteReader&, P*), const std::vector<uint8_t>& b, P* p, std::string* why = nullptr) {
  ByteReader in(b.data(), b.size());
  bool ok = decode(in, p);
  if (why) *why = in.failure() ? in.failure() : "";
  if (ok) {
    EXPECT_EQ(in.remaining(), 0u) << "block not read to its end";
  }
  return ok;
}

template <class P>
std::vector<uint8_t> Encode(void (*encode)(const P&, ByteWriter&), const P& p) {
  ByteWriter w;
  encode(p, w);
  EXPECT_TRUE(w.ok());
  return w.release();
}

TEST(UnitProperties, EmptyBlocksGiveTheDefaults) {
  std::vector<uint8_t> none;
  WindowProps w;
  w.caption = "x";
  ASSERT_TRUE(Decode(DecodeWindowProps, none, &w));
  EXPECT_EQ(w.border, 2);
  EXPECT_EQ(w.backColour, kDefaultColour);
  EXPECT_EQ(w.minButton, 1);
  EXPECT_EQ(w.maxButton, 0);
  EXPECT_EQ(w.startPosition, 1);
  EXPECT_EQ(w.closable, 1);
  EXPECT_EQ(w.caption, "");
  EXPECT_EQ(w.className, "");

  EditProps e;
  ASSERT_TRUE(Decode(DecodeEditProps, none, &e));
  EXPECT_EQ(e.border, 1);
  EXPECT_EQ(e.backColour, 0xFFFFFFu);
  EXPECT_EQ(e.hideSelection, 1);
  EXPECT_EQ(e.maskChar, '*');
  EXPECT_EQ(e.spinUpper, 100);

  GroupBoxProps g;
  ASSERT_TRUE(Decode(DecodeGroupBoxProps, none, &g));
  EXPECT_EQ(g.backColour, kDefaultColour);
  EXPECT_EQ(g.caption, "");
}

TEST(UnitProperties, WindowBlockFieldsByVersion) {
  // Version 6: thirteen words, the words at places 13-15, always on top, the word at 17, class name, three blocks, two texts.
  Block v6;
  v6.i(6).run(100, 13).run(200, 5).text("Cls").text("P").text("U").text("V").text("Cap").text("W");
  WindowProps p;
  ASSERT_TRUE(Decode(DecodeWindowProps, v6.b, &p));
  EXPECT_EQ(p.border, 100);
  EXPECT_EQ(p.wordAt1, 101);
  EXPECT_EQ(p.backColour, 102u);
  EXPECT_EQ(p.maxButton, 103);
  EXPECT_EQ(p.minButton, 104);
  EXPECT_EQ(p.controlBox, 105);
  EXPECT_EQ(p.startPosition, 106);
  EXPECT_EQ(p.closable, 107);
  EXPECT_EQ(p.wordAt12, 112);
  EXPECT_EQ(p.wordAt13, 200);
  EXPECT_EQ(p.wordAt15, 202);
  EXPECT_EQ(p.alwaysOnTop, 203);
  EXPECT_EQ(p.wordAt17, 204);
  EXPECT_EQ(p.className, "Cls");
  EXPECT_EQ(p.backPicture, std::vector<uint8_t>({'P'}));
  EXPECT_EQ(p.blockAt21, std::vector<uint8_t>({'V'}));
  EXPECT_EQ(p.caption, "Cap");
  EXPECT_EQ(p.textAt23, "W");
  EXPECT_EQ(Encode(EncodeWindowProps, p), v6.b);

  // Version 3: the words at places 13-15 only; always on top, the word at 17 and the class name keep their defaults.
  Block v3;
  v3.i(3).run(100, 13).run(200, 3).text("").text("").text("").text("Cap").text("");
  ASSERT_TRUE(Decode(DecodeWindowProps, v3.b, &p));
  EXPECT_EQ(p.wordAt15, 202);
  EXPECT_EQ(p.alwaysOnTop, 0);
  EXPECT_EQ(p.className, "");
  EXPECT_EQ(p.caption, "Cap");

  // Version 1: none of the later words.
  Block v1;
  v1.i(1).run(100, 13).text("").text("").text("").text("Old").text("");
  ASSERT_TRUE(Decode(DecodeWindowProps, v1.b, &p));
  EXPECT_EQ(p.wordAt13, 1);
  EXPECT_EQ(p.caption, "Old");
}

TEST(UnitProperties, LabelAndEditBlockFields) {
  Block label;
  label.i(2).run(10, 3).run(20, 3).i(30).i(31).i(32).i(33).run(40, 3).i(50).i(51).i(52);
  label.text("F").text("").text("Cap").text("A").text("B");
  LabelProps l;
  ASSERT_TRUE(Decode(DecodeLabelProps, label.b, &l));
  EXPECT_EQ(l.textEffect, 10);
  EXPECT_EQ(l.gradientBorderWidth, 11);
  EXPECT_EQ(l.border, 12);
  EXPECT_EQ(l.gradientBorderColours[2], 22u);
  EXPECT_EQ(l.textColour, 30u);
  EXPECT_EQ(l.backColour, 31u);
  EXPECT_EQ(l.pictureMode, 32);
  EXPECT_EQ(l.gradientBackground, 33);
  EXPECT_EQ(l.gradientColours[0], 40u);
  EXPECT_EQ(l.hAlign, 50);
  EXPECT_EQ(l.vAlign, 51);
  EXPECT_EQ(l.wordWrap, 52);
  EXPECT_EQ(l.font, std::vector<uint8_t>({'F'}));
  EXPECT_EQ(l.caption, "Cap");
  EXPECT_EQ(l.extraText2, "B");
  EXPECT_EQ(Encode(EncodeLabelProps, l), label.b);

  // Version 1 stops after the caption.
  Block label1;
  label1.i(1).run(10, 16).text("").text("").text("Cap");
  ASSERT_TRUE(Decode(DecodeLabelProps, label1.b, &l));
  EXPECT_EQ(l.caption, "Cap");
  EXPECT_EQ(l.extraText1, "");

  // The mask character is a 16-bit field between the input mode and the case conversion.
  Block edit;
  edit.i(2).run(1, 9).h(0x2323).run(20, 6).text("").text("Text").text("").text("");
  EditProps e;
  ASSERT_TRUE(Decode(DecodeEditProps, edit.b, &e));
  EXPECT_EQ(e.border, 1);
  EXPECT_EQ(e.multiLine, 6);
  EXPECT_EQ(e.inputMode, 9);
  EXPECT_EQ(e.maskChar, 0x2323);
  EXPECT_EQ(e.caseConversion, 20);
  EXPECT_EQ(e.selLength, 25);
  EXPECT_EQ(e.text, "Text");
  EXPECT_EQ(Encode(EncodeEditProps, e), edit.b);
}

TEST(UnitProperties, SmallKindsBlockFields) {
  Block pic;
  pic.i(2).i(3).i(0x123456).i(2).i(1).text("GIF").text("").text("t14");
  PicBoxProps p;
  ASSERT_TRUE(Decode(DecodePicBoxProps, pic.b, &p));
  EXPECT_EQ(p.border, 3);
  EXPECT_EQ(p.backColour, 0x123456u);
  EXPECT_EQ(p.displayMode, 2);
  EXPECT_EQ(p.animate, 1);
  EXPECT_EQ(p.picture.size(), 3u);
  EXPECT_EQ(p.extraText2, "t14");
  EXPECT_EQ(Encode(EncodePicBoxProps, p), pic.b);

  Block group;
  group.i(1).i(2).i(0xFF).i(0xFF00).text("").text("Frame");
  GroupBoxProps g;
  ASSERT_TRUE(Decode(DecodeGroupBoxProps, group.b, &g));
  EXPECT_EQ(g.captionAlign, 2);
  EXPECT_EQ(g.textColour, 0xFFu);
  EXPECT_EQ(g.backColour, 0xFF00u);
  EXPECT_EQ(g.caption, "Frame");
  EXPECT_EQ(Encode(EncodeGroupBoxProps, g), group.b);

  Block button;
  button.i(1).i(1).i(2).i(0).text("").text("").text("Go");
  ButtonProps b;
  ASSERT_TRUE(Decode(DecodeButtonProps, button.b, &b));
  EXPECT_EQ(b.defaultButton, 1);
  EXPECT_EQ(b.hAlign, 2);
  EXPECT_EQ(b.vAlign, 0);
  EXPECT_EQ(b.caption, "Go");
  EXPECT_EQ(Encode(EncodeButtonProps, b), button.b);
}

TEST(UnitProperties, ListViewBlockAndColumns) {
  std::vector<uint8_t> columns = {1, 2, 0, 0, 0, 1, 0, 0, 0, 100, 0, 0, 0, 'A', 0,
                                  0, 0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0, 50, 0, 0, 0, 0};
  Block list;
  list.i(1).run(10, 24).text("").text("").text("");
  list.i(static_cast<uint32_t>(columns.size()));
  list.b.insert(list.b.end(), columns.begin(), columns.end());
  list.text("").text("");
  ListViewProps l;
  ASSERT_TRUE(Decode(DecodeListViewProps, list.b, &l));
  EXPECT_EQ(l.border, 10);
  EXPECT_EQ(l.textColour, 11u);
  EXPECT_EQ(l.backColour, 13u);
  EXPECT_EQ(l.viewType, 14);
  EXPECT_EQ(l.currentItem, 32);
  EXPECT_EQ(l.alwaysShowSelection, 33);
  ASSERT_EQ(l.columns.size(), 2u);
  EXPECT_TRUE(l.columns[0].imageRight);
  EXPECT_EQ(l.columns[0].image, 2);
  EXPECT_EQ(l.columns[0].alignment, 1);
  EXPECT_EQ(l.columns[0].width, 100);
  EXPECT_EQ(l.columns[0].header, "A");
  EXPECT_EQ(l.columns[1].image, -1);
  EXPECT_EQ(l.columns[1].header, "");
  EXPECT_EQ(Encode(EncodeListViewProps, l), list.b);

  // A column entry cut short spoils the whole block.
  std::vector<ListViewColumn> out;
  EXPECT_FALSE(DecodeListViewColumns(std::vector<uint8_t>(columns.begin(), columns.end() - 1), &out));
  EXPECT_TRUE(out.empty());
  Block cut = list;
  cut.b[4 + 24 * 4 + 12] = static_cast<uint8_t>(columns.size() - 3);  // column list length
  cut.b.erase(cut.b.begin() + 4 + 24 * 4 + 16 + columns.size() - 3, cut.b.begin() + 4 + 24 * 4 + 16 + columns.size());
  std::string why;
  EXPECT_FALSE(Decode(DecodeListViewProps, cut.b, &l, &why));
  EXPECT_EQ(why, "list view column list is damaged");
}

TEST(UnitProperties, VersionsAboveTheKindsMaximumAreRejected) {
  struct Case {
    uint32_t type;
    int32_t max;
  } cases[] = {{unit_type::Window, 6},   {unit_type::Label, 2},    {unit_type::EditBox, 2}, {unit_type::PicBox, 2},
               {unit_type::GroupBox, 1}, {unit_type::Button, 1},   {unit_type::ListView, 1}};
  for (const Case& c : cases) {
    const UnitKind* kind = FindUnitKind(c.type);
    ASSERT_NE(kind, nullptr);
    EXPECT_EQ(kind->maxVersion, c.max);
    UnitProps props;
    const char* reason = nullptr;
    std::vector<uint8_t> b = Block().i(c.max + 1).b;
    EXPECT_FALSE(DecodeUnitProperties(c.type, b.data(), b.size(), &props, &reason)) << std::hex << c.type;
    EXPECT_STREQ(reason, "property block version too high");
    b = Block().i(0xFFFFFFFF).b;
    EXPECT_FALSE(DecodeUnitProperties(c.type, b.data(), b.size(), &props, &reason));
    EXPECT_STREQ(reason, "negative property block version");
  }
}

TEST(UnitProperties, EveryCutOfAWrittenBlockIsRejected) {
  // A block of every kind with all its fields written, cut at each length.
  WindowProps w;
  w.caption = "c";
  LabelProps l;
  l.extraText2 = "t";
  EditProps e;
  e.extraText1 = "x";
  PicBoxProps p;
  p.picture = {1, 2};
  GroupBoxProps g;
  ButtonProps b;
  ListViewProps v;
  v.columns = {{false, -1, 0, 10, "h"}};
  const UnitProps all[] = {w, l, e, p, g, b, v};
  const uint32_t types[] = {unit_type::Window, unit_type::Label, unit_type::EditBox, unit_type::PicBox,
                            unit_type::GroupBox, unit_type::Button, unit_type::ListView};
  for (size_t k = 0; k < 7; ++k) {
    std::vector<uint8_t> block;
    ASSERT_TRUE(EncodeUnitProperties(types[k], all[k], &block));
    UnitProps back;
    size_t used = 0;
    ASSERT_TRUE(DecodeUnitProperties(types[k], block.data(), block.size(), &back, nullptr, &used));
    EXPECT_EQ(used, block.size());
    std::vector<uint8_t> again;
    ASSERT_TRUE(EncodeUnitProperties(types[k], back, &again));
    EXPECT_EQ(again, block);
    for (size_t n = 1; n < block.size(); ++n)
      EXPECT_FALSE(DecodeUnitProperties(types[k], block.data(), n, &back, nullptr))
          << std::hex << types[k] << std::dec << " cut to " << n;
  }
}

TEST(UnitProperties, KindTable) {
  for (size_t i = 0; i < kUnitKindCount; ++i) EXPECT_EQ(FindUnitKind(kUnitKinds[i].typeId), &kUnitKinds[i]);
  const UnitKind* menu = FindUnitKind(unit_type::MenuItem);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->decode, nullptr);
  EXPECT_TRUE(menu->flags & type_flag::MenuItem);
  const uint32_t group = FindUnitKind(unit_type::GroupBox)->flags;
  EXPECT_TRUE((group & type_flag::HasWindow) && (group & type_flag::MovesChildren))
      << "re-creating a group box moves the units inside it";
  EXPECT_TRUE(FindUnitKind(unit_type::Button)->flags & type_flag::HasWindow);
  EXPECT_TRUE(FindUnitKind(unit_type::Window)->flags & type_flag::IsWindow);
  EXPECT_EQ(FindUnitKind(0x00010002), nullptr);
  EXPECT_STREQ(FindUnitKind(unit_type::ListView)->typeName, "超级列表框");

  UnitProps props;
  const char* reason = nullptr;
  EXPECT_FALSE(DecodeUnitProperties(unit_type::MenuItem, nullptr, 0, &props, &reason));
  std::vector<uint8_t> out;
  EXPECT_FALSE(EncodeUnitProperties(unit_type::Label, ButtonProps{}, &out, &reason));
  EXPECT_STREQ(reason, "properties of another kind");
}

}  // namespace
}  // namespace lw

namespace lw {
namespace {

// The plain writes and reads the property services take from the kinds' tables.
TEST(UnitPropertyTables, PlainWritesFollowTheRowsRules) {
  struct Case {
    const char* why;
    int32_t number;
    int32_t given;
    bool stored;
    int32_t expected;  // the value read back
  };
  const Case kCases[] = {
      {"a clamped choice is held at its top", label_prop::TextEffect, 9, true, 3},
      {"a clamped choice is held at its bottom", label_prop::HAlign, -4, true, 0},
      {"a lower bound without an upper one", label_prop::GradientBorderWidth, 2, true, 5},
      {"no upper bound", label_prop::GradientBorderWidth, 500, true, 500},
      {"a colour of a trio is stored in its element", label_prop::GradientColour2, 0x123456, true, 0x123456},
      {"a stored integer as given", label_prop::WordWrap, -7, true, -7},
      {"a number past the kind's last", label_prop::Last + 1, 1, false, 0},
  };
  for (const Case& c : kCases) {
    LabelProps p;
    PropertyValue v;
    v.i = c.given;
    EXPECT_EQ(StorePlainProperty(kLabelTable, &p, c.number, v), c.stored) << c.why;
    PropertyValue back;
    EXPECT_EQ(LoadPlainProperty(kLabelTable, p, c.number, &back), c.stored) << c.why;
    if (c.stored) {
      EXPECT_EQ(back.i, c.expected) << c.why << ": expected " << c.expected << ", got " << back.i;
    }
  }
}

TEST(UnitPropertyTables, FlagsAndHandWrittenRows) {
  EditProps p;
  PropertyValue v;
  v.i = -3;
  bool changed = false;
  ASSERT_TRUE(StorePlainProperty(kEditTable, &p, edit_prop::MultiLine, v, &changed));
  EXPECT_EQ(p.multiLine, 1) << "any non-zero flag stores 1";
  EXPECT_TRUE(changed);
  ASSERT_TRUE(StorePlainProperty(kEditTable, &p, edit_prop::MultiLine, v, &changed));
  EXPECT_FALSE(changed) << "the same flag again is no change";
  v.text = "#";
  EXPECT_FALSE(StorePlainProperty(kEditTable, &p, edit_prop::MaskChar, v)) << "the mask is written by hand";
  EXPECT_FALSE(LoadPlainProperty(kEditTable, p, edit_prop::SelText, &v)) << "the selection is the box's own";
  EXPECT_EQ(kEditTable.row(edit_prop::SelText)->place, kNotInBlock);
}

// A write tells whether the field now holds another value, for texts and blocks as
// for integers: a label announces its caption only when the text changed.
TEST(UnitPropertyTables, AWriteSaysWhetherTheFieldChanged) {
  struct Case {
    const char* why;
    int32_t number;
    const char* text;  // a text, or the bytes of a block
    bool changed;
  };
  const Case kCases[] = {
      {"a new caption", label_prop::Caption, "状态", true},
      {"the same caption again", label_prop::Caption, "状态", false},
      {"another caption", label_prop::Caption, "状态。", true},
      {"a picture's bytes", label_prop::Picture, "BM", true},
      {"the same bytes again", label_prop::Picture, "BM", false},
  };
  LabelProps p;
  for (const Case& c : kCases) {
    PropertyValue v;
    v.text = c.text;
    v.data.assign(c.text, c.text + strlen(c.text));
    bool changed = !c.changed;
    ASSERT_TRUE(StorePlainProperty(kLabelTable, &p, c.number, v, &changed)) << c.why;
    EXPECT_EQ(changed, c.changed) << c.why;
  }
}

}  // namespace
}  // namespace lw
