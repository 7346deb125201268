#include "runtime/ui/properties/template_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "program/window_section_data.h"
#include "runtime/ui/kinds/table.h"

namespace lw {
namespace {

// ---- Hand-built byte fixtures ---------------------------------------------------------

struct Bytes8 {
  std::vector<uint8_t> b;
  Bytes8& u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  Bytes8& zeros(size_t n) {
    b.insert(b.end(), n, 0);
    return *this;
  }
  Bytes8& text0(const char* s) {  // terminated text
    b.insert(b.end(), s, s + std::strlen(s) + 1);
    return *this;
  }
  Bytes8& counted(const char* s) {
    u32(static_cast<uint32_t>(std::strlen(s)));
    b.insert(b.end(), s, s + std::strlen(s));
    return *this;
  }
  Bytes8& raw(const std::vector<uint8_t>& more) {
    b.insert(b.end(), more.begin(), more.end());
    return *this;
  }
  Bytes8& block(const std::vector<uint8_t>& more) { return u32(static_cast<uint32_t>(more.size())).raw(more); }
  size_t size() const { return b.size(); }
};

struct Binding {
  int32_t event, entry;
};

// A control record: every field in order, with a 4-byte pointer block holding 0.
std::vector<uint8_t> ControlRecord(uint32_t type, const char* name, int32_t left, uint32_t parent,
                                   std::vector<uint32_t> children, uint32_t state, std::vector<Binding> events,
                                   std::vector<uint8_t> props) {
  Bytes8 r;
  r.u32(type).u32(0).zeros(16).text0(name).text0("");
  r.u32(0).u32(static_cast<uint32_t>(left)).u32(20).u32(30).u32(40);  // live slot, left, top, width, height
  r.u32(0).u32(parent).u32(static_cast<uint32_t>(children.size()));   // cursor slot, parent, children
  for (uint32_t c : children) r.u32(c);
  r.block({0, 0, 0, 0}).text0("tag").u32(0).u32(state).u32(0);
  r.u32(static_cast<uint32_t>(events.size()));
  for (const Binding& e : events) r.u32(static_cast<uint32_t>(e.event)).u32(static_cast<uint32_t>(e.entry));
  r.zeros(20).raw(props);
  return r.b;
}

std::vector<uint8_t> MenuRecord(int32_t level, uint32_t state, const char* caption, int32_t entry) {
  Bytes8 r;
  r.u32(unit_type::MenuItem).u32(0).zeros(16).text0("").text0("");
  r.u32(0).u32(static_cast<uint32_t>(level)).u32(state).text0(caption).u32(static_cast<uint32_t>(entry));
  r.u32(0).zeros(12);
  return r.b;
}

// A window record whose unit records lie end to end after the id and offset arrays.
std::vector<uint8_t> WindowBytes(uint32_t module, const std::vector<uint32_t>& ids,
                                 const std::vector<std::vector<uint8_t>>& records) {
  Bytes8 table;
  for (uint32_t id : ids) table.u32(id);
  uint32_t offset = 0;
  for (const auto& r : records) {
    table.u32(offset);
    offset += 4 + static_cast<uint32_t>(r.size());
  }
  for (const auto& r : records) table.block(r);
  Bytes8 w;
  w.u32(7).u32(module).counted("").counted("").u32(static_cast<uint32_t>(ids.size())).block(table.b);
  return w.b;
}

std::vector<uint8_t> Section(const std::vector<uint32_t>& windowIds, const std::vector<std::vector<uint8_t>>& windows,
                             size_t indexExtra = 0) {
  Bytes8 index;
  for (uint32_t id : windowIds) index.u32(id);
  index.zeros(4 * windowIds.size() + indexExtra);
  Bytes8 s;
  s.block(index.b);
  for (const auto& w : windows) s.raw(w);
  return s.b;
}

constexpr uint32_t kWin = 0x52000001, kOwn = 0x06000001, kLabel = 0x16000002, kBox = 0x16000003;
constexpr uint32_t kMenuTop = 0x26000004, kMenuItem = 0x26000005;

// One window: its own unit, a group box holding a label, a hidden menu entry with one item.
std::vector<uint8_t> SampleSection(size_t indexExtra = 0) {
  std::vector<uint8_t> labelProps;
  {
    ByteWriter w;
    LabelProps p;
    p.caption = "Name:";
    EncodeLabelProps(p, w);
    labelProps = w.release();
  }
  return Section({kWin}, {WindowBytes(0x19000001, {kOwn, kLabel, kBox, kMenuTop, kMenuItem},
                                      {ControlRecord(unit_type::Window, "", 50, 0, {}, 1, {{0, 8}, {3, -1}}, {}),
                                       ControlRecord(unit_type::Label, "L", 5, kBox, {}, 1, {}, labelProps),
                                       ControlRecord(unit_type::GroupBox, "G", 1, 0, {kLabel}, 5, {}, {}),
                                       MenuRecord(0, menu_state::Hidden, "Top", -1),
                                       MenuRecord(1, 0, "Item", 0)})},
                 indexExtra);
}

bool Read(const std::vector<uint8_t>& s, WindowTemplate* t, TemplateFailure* f = nullptr) {
  TemplateFailure local;
  return ReadWindowSection(s.data(), s.size(), t, f ? f : &local);
}

std::string FailureOf(const std::vector<uint8_t>& s) {
  WindowTemplate t;
  TemplateFailure f;
  if (ReadWindowSection(s.data(), s.size(), &t, &f)) return "read";
  EXPECT_LE(f.offset, s.size());
  EXPECT_TRUE(t.windows.empty()) << "a failed read leaves no windows";
  return f.reason ? f.reason : "";
}

void Put32(std::vector<uint8_t>& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Offsets in SampleSection: index block 4 + 8 bytes, then the window record.
constexpr size_t kWindowAt = 12;
constexpr size_t kUnitCountAt = kWindowAt + 16;
constexpr size_t kTableAt = kWindowAt + 24;           // first byte of the unit table
constexpr size_t kOffsetsAt = kTableAt + 5 * 4;       // the offset array
constexpr size_t kRecordsAt = kTableAt + 5 * 8;       // first record's length word
constexpr size_t kOwnRecordAt = kRecordsAt + 4;       // own unit's first field
constexpr size_t kOwnChildCountAt = kOwnRecordAt + 4 + 4 + 16 + 1 + 1 + 4 + 16 + 4 + 4;

// ---- Reading ----------------------------------------------------------------------------

TEST(TemplateRead, SampleFieldsComeBackAsStored) {
  std::vector<uint8_t> s = SampleSection();
  WindowTemplate t;
  size_t consumed = 0;
  TemplateFailure f;
  ASSERT_TRUE(ReadWindowSection(s.data(), s.size(), &t, &f, &consumed)) << f.reason;
  EXPECT_EQ(consumed, s.size());
  ASSERT_EQ(t.windows.size(), 1u);
  const WindowRecord& w = t.windows[0];
  EXPECT_EQ(w.id, kWin);
  EXPECT_EQ(w.reserved, 7u);
  EXPECT_EQ(w.moduleId, 0x19000001u);
  ASSERT_EQ(w.units.size(), 5u);

  const UnitRecord& own = w.units[0];
  EXPECT_EQ(own.id, kOwn);
  EXPECT_FALSE(own.menuItem);
  EXPECT_EQ(own.typeId, unit_type::Window);
  EXPECT_EQ(own.left, 50);
  EXPECT_EQ(own.top, 20);
  EXPECT_EQ(own.width, 30);
  EXPECT_EQ(own.height, 40);
  EXPECT_EQ(own.tag, "tag");
  EXPECT_EQ(own.mousePointer, std::vector<uint8_t>({0, 0, 0, 0}));
  ASSERT_EQ(own.events.size(), 2u);
  EXPECT_EQ(own.events[0].event, 0);
  EXPECT_EQ(own.events[0].entry, 8);
  EXPECT_EQ(own.events[1].entry, -1);
  EXPECT_TRUE(own.properties.empty());

  const UnitRecord& label = w.units[1];
  EXPECT_EQ(label.name, "L");
  EXPECT_EQ(label.parentId, kBox);
  UnitProps props;
  size_t used = 0;
  ASSERT_TRUE(DecodeUnitProperties(label.typeId, label.properties.data(), label.properties.size(), &props, nullptr,
                                   &used));
  EXPECT_EQ(used, label.properties.size());
  EXPECT_EQ(std::get<LabelProps>(props).caption, "Name:");

  EXPECT_EQ(w.units[2].children, std::vector<uint32_t>({kLabel}));
  EXPECT_EQ(w.units[2].state, 5u);

  const UnitRecord& top = w.units[3];
  ASSERT_TRUE(top.menuItem);
  EXPECT_EQ(top.menu.caption, "Top");
  EXPECT_EQ(top.menu.state, menu_state::Hidden);
  EXPECT_EQ(top.menu.entry, -1);
  EXPECT_EQ(w.units[4].menu.level, 1);
  EXPECT_EQ(w.units[4].menu.entry, 0);
}

TEST(TemplateRead, EmptySectionAndIndexRemainder) {
  WindowTemplate t;
  size_t consumed = 99;
  TemplateFailure f;
  EXPECT_TRUE(ReadWindowSection(nullptr, 0, &t, &f, &consumed));
  EXPECT_TRUE(t.windows.empty());
  EXPECT_EQ(consumed, 0u);

  // An index of 8·1 + 5 bytes names one window; the 5 bytes are skipped.
  std::vector<uint8_t> s = SampleSection(5);
  ASSERT_TRUE(Read(s, &t));
  ASSERT_EQ(t.windows.size(), 1u);
  EXPECT_EQ(t.windows[0].units.size(), 5u);

  // An empty index: no windows, whatever follows is not read.
  std::vector<uint8_t> empty = {0, 0, 0, 0, 0xEE};
  ASSERT_TRUE(ReadWindowSection(empty.data(), empty.size(), &t, &f, &consumed));
  EXPECT_TRUE(t.windows.empty());
  EXPECT_EQ(consumed, 4u);
}

TEST(TemplateRead, CountsThatDoNotFitAreRejected) {
  const std::vector<uint8_t> s = SampleSection();
  auto with = [&](size_t at, uint32_t v) {
    std::vector<uint8_t> d = s;
    Put32(d, at, v);
    return FailureOf(d);
  };
  EXPECT_EQ(with(0, 0xFFFFFFF8), "block runs past its end");                      // index length
  EXPECT_EQ(with(0, 8 * 300), "block runs past its end");
  EXPECT_EQ(with(kUnitCountAt, 0xFFFFFFFF), "unit count does not fit the unit table");
  EXPECT_EQ(with(kUnitCountAt, 0), "window has no units");
  EXPECT_EQ(with(kUnitCountAt + 4, 0x7FFFFFFF), "block runs past its end");       // unit table length
  EXPECT_EQ(with(kOffsetsAt + 4, 0xFFFFFFF0), "unit offset outside the unit table");
  EXPECT_EQ(with(kRecordsAt, 0x10000), "unit record runs past the unit table");  // own unit's length
  EXPECT_EQ(with(kOwnChildCountAt, 0x40000000), "child count does not fit the record");
  EXPECT_EQ(with(kWindowAt + 8, 1000), "text runs past its end");                 // text 1
  // Ten ids in the index and nothing after it.
  EXPECT_EQ(FailureOf(Section({1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {})), "more windows than the section can hold");
}

TEST(TemplateRead, OffsetsMayNotReuseOneRecordToMultiplyMemory) {
  std::vector<uint8_t> s = SampleSection();
  // The group box's offset pointed at the (longer) label record.
  uint32_t labelOffset = s[kOffsetsAt + 4] | s[kOffsetsAt + 5] << 8;
  Put32(s, kOffsetsAt + 8, labelOffset);
  EXPECT_EQ(FailureOf(s), "unit records exceed the unit table");
}

TEST(TemplateRead, RecordsThatBreakTheirFormAreRejected) {
  auto one = [](uint32_t id, std::vector<uint8_t> record) {
    return FailureOf(Section({kWin}, {WindowBytes(0, {id}, {record})}));
  };
  auto two = [](uint32_t id, std::vector<uint8_t> record) {
    return FailureOf(Section(
        {kWin}, {WindowBytes(0, {kOwn, id}, {ControlRecord(unit_type::Window, "", 0, 0, {}, 1, {}, {}), record})}));
  };
  EXPECT_EQ(one(kMenuTop, MenuRecord(0, 0, "x", -1)), "first unit of a window is a menu item");
  std::vector<uint8_t> longMenu = MenuRecord(0, 0, "x", -1);
  longMenu.push_back(0);
  EXPECT_EQ(two(kMenuTop, longMenu), "menu item record longer than its fields");
  EXPECT_EQ(two(kLabel, MenuRecord(0, 0, "x", -1)), "menu record under an id that is not a menu item");
  EXPECT_EQ(two(kMenuTop, ControlRecord(unit_type::Label, "", 0, 0, {}, 1, {}, {})),
            "menu item id on a record of another type");
  std::vector<uint8_t> badKey = MenuRecord(0, 0, "x", -1);
  Put32(badKey, 26, 78);  // shortcut beyond the key table
  EXPECT_EQ(two(kMenuTop, badKey), "menu shortcut outside the key table");

  std::vector<uint8_t> noName = ControlRecord(unit_type::Label, "", 0, 0, {}, 1, {}, {});
  noName.resize(25);  // ends inside the name
  noName[24] = 'a';
  EXPECT_EQ(two(kLabel, noName), "text has no terminator");

  std::vector<uint8_t> events = ControlRecord(unit_type::Label, "", 0, 0, {}, 1, {{0, 0}}, {});
  Put32(events, events.size() - 20 - 8 - 4, 0x20000000);  // event count
  EXPECT_EQ(two(kLabel, events), "event count does not fit the record");
}

TEST(TemplateRead, DamagedPropertyBlockDoesNotStopTheSectionButFailsTheCheck) {
  // Creating the unit rejects the block; reading the section does not.
  std::vector<uint8_t> tooNew = Bytes8().u32(7).b;  // window blocks go up to version 6
  WindowTemplate t;
  ASSERT_TRUE(Read(Section({kWin}, {WindowBytes(0, {kOwn}, {ControlRecord(unit_type::Window, "", 0, 0, {}, 1, {},
                                                                            tooNew)})}),
                   &t));
  const char* reason = nullptr;
  uint32_t unit = 0;
  EXPECT_FALSE(CheckPropertyBlocks(t, &reason, &unit));
  EXPECT_STREQ(reason, "property block version too high");
  EXPECT_EQ(unit, kOwn);
}

TEST(TemplateRead, ByteFlipsNeverReadOutsideTheSection) {
  // Runs under the address sanitizer natively: any stray read or huge allocation shows.
  std::vector<uint8_t> s = SampleSection();
  for (size_t i = 0; i < s.size(); ++i) {
    for (uint8_t v : {uint8_t{0x00}, uint8_t{0x7F}, uint8_t{0xFF}}) {
      std::vector<uint8_t> d = s;
      d[i] = v;
      WindowTemplate t;
      TemplateFailure f;
      if (ReadWindowSection(d.data(), d.size(), &t, &f)) CheckPropertyBlocks(t, nullptr);
    }
  }
}

// ---- Writing ----------------------------------------------------------------------------

TEST(TemplateWrite, WritesTheSameBytesItReads) {
  std::vector<uint8_t> s = SampleSection();
  WindowTemplate t;
  ASSERT_TRUE(Read(s, &t));
  std::vector<uint8_t> again;
  const char* reason = nullptr;
  ASSERT_TRUE(WriteWindowSection(t, &again, &reason)) << reason;
  EXPECT_EQ(again, s);
}

TEST(TemplateWrite, RefusesRecordsItCannotEncode) {
  std::vector<uint8_t> out;
  const char* reason = nullptr;
  WindowTemplate t;
  t.windows.resize(1);
  EXPECT_FALSE(WriteWindowSection(t, &out, &reason));
  EXPECT_STREQ(reason, "window needs its own unit first");

  t.windows[0].units.resize(1);
  t.windows[0].units[0].id = kOwn;
  t.windows[0].units[0].name = std::string("a\0b", 3);
  EXPECT_FALSE(WriteWindowSection(t, &out, &reason));
  EXPECT_STREQ(reason, "terminated text holds a 0 byte");

  t.windows[0].units[0].name = "ok";
  t.windows[0].units.emplace_back();
  t.windows[0].units[1].id = kMenuItem;  // a menu item id without the menu item form
  EXPECT_FALSE(WriteWindowSection(t, &out, &reason));
  EXPECT_STREQ(reason, "unit id does not match its record form");
}

// ---- Fix-up and lookups -------------------------------------------------------------------

TEST(TemplateFixUp, EntriesBecomeAddressesInsideTheHandlerTable) {
  WindowTemplate t;
  ASSERT_TRUE(Read(SampleSection(), &t));
  const char* reason = nullptr;
  ASSERT_TRUE(FixUpHandlers(&t, 0x401000, 16, 4, &reason));
  const WindowRecord& w = t.windows[0];
  EXPECT_EQ(w.units[0].events[0].handler, 0x401008u);  // entry 8
  EXPECT_EQ(w.units[0].events[1].handler, 0u);         // -1: none
  EXPECT_EQ(w.units[3].menu.handler, 0u);
  EXPECT_EQ(w.units[4].menu.handler, 0x401000u);  // entry 0: the code base itself

  // The stored entries are kept, so fixing up again (another code base) works too.
  ASSERT_TRUE(FixUpHandlers(&t, 0x500000, 16, 4, &reason));
  EXPECT_EQ(t.windows[0].units[0].events[0].handler, 0x500008u);

  EXPECT_FALSE(FixUpHandlers(&t, 0x401000, 8, 4, &reason));  // entry 8 beyond an 8-byte table
  EXPECT_STREQ(reason, "handler entry outside the handler table");
  EXPECT_FALSE(FixUpHandlers(&t, 0x401000, 11, 4, &reason)) << "entry 8 in the table's last 3 bytes: no whole slot";
  EXPECT_FALSE(FixUpHandlers(&t, 0x401000, 32, 16, &reason)) << "entry 8 between two 16-byte slots";
  t.windows[0].units[4].menu.entry = -2;
  EXPECT_FALSE(FixUpHandlers(&t, 0x401000, 16, 4, &reason));
}

TEST(TemplateLookup, WindowsAndUnitsByIdAndIndex) {
  WindowTemplate t;
  ASSERT_TRUE(Read(SampleSection(), &t));
  WindowRecord* w = FindWindowRecord(t, kWin);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(FindWindowRecord(t, kWin + 1), nullptr);
  ASSERT_NE(FindUnitRecord(*w, kMenuItem), nullptr);
  EXPECT_EQ(FindUnitRecord(*w, kMenuItem)->menu.caption, "Item");
  EXPECT_EQ(FindUnitRecord(*w, 0x16FFFFFF), nullptr);
  EXPECT_EQ(UnitRecordAt(*w, 0)->id, kOwn);
  EXPECT_EQ(UnitRecordAt(*w, 5), nullptr);
  EXPECT_TRUE(IsMenuItemId(kMenuTop));
  EXPECT_FALSE(IsMenuItemId(0x16000026));
  EXPECT_FALSE(IsMenuItemId(0x36000000));
}

// ---- The program's own section ---------------------------------------------------------------

TEST(ProgramSection, ReadsExactlyItsLengthAndEveryRecordToItsEnd) {
  using program::kWindowSection;
  using program::kWindowSectionLength;
  ASSERT_EQ(kWindowSectionLength, 2793u);
  WindowTemplate t;
  TemplateFailure f;
  size_t consumed = 0;
  ASSERT_TRUE(ReadWindowSection(kWindowSection, kWindowSectionLength, &t, &f, &consumed)) << f.reason;
  EXPECT_EQ(consumed, kWindowSectionLength);
  ASSERT_EQ(t.windows.size(), 2u);
  size_t units = 0, menus = 0;
  for (const WindowRecord& w : t.windows) {
    for (const UnitRecord& u : w.units) {
      if (u.menuItem) {  // the reader refuses menu records longer than their fields
        ++menus;
        continue;
      }
      ++units;
      UnitProps props;
      size_t used = 0;
      const char* reason = nullptr;
      if (u.properties.empty()) continue;
      ASSERT_TRUE(DecodeUnitProperties(u.typeId, u.properties.data(), u.properties.size(), &props, &reason, &used))
          << std::hex << u.id << ": " << reason;
      EXPECT_EQ(used, u.properties.size()) << "property block of unit " << std::hex << u.id;
    }
  }
  EXPECT_EQ(units, 14u);
  EXPECT_EQ(menus, 2u);

  std::vector<uint8_t> again;
  ASSERT_TRUE(WriteWindowSection(t, &again, nullptr));
  EXPECT_EQ(again, std::vector<uint8_t>(kWindowSection, kWindowSection + kWindowSectionLength));
}

TEST(ProgramSection, EveryTruncationFailsCleanly) {
  for (size_t n = 1; n < program::kWindowSectionLength; ++n) {
    std::vector<uint8_t> cut(program::kWindowSection, program::kWindowSection + n);
    EXPECT_NE(FailureOf(cut), "read") << "section cut to " << n << " bytes";
  }
}

}  // namespace
}  // namespace lw
