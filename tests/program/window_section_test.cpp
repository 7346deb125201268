// Checks the window template section embedded in the program image against the
// program's window layout, with a small decoder of its own (not the runtime's
// reader), so that a fault shared by the runtime's reader and writer still shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/window_definition.h"
#include "program/window_section_data.h"
#include "tests/support/start_window_layout.h"

namespace lw::program {
namespace {

using namespace ::app;

// A bounds-checked cursor; any read past the end sets `bad` and yields zeros.
struct Cursor {
  const uint8_t* p;
  size_t n;
  size_t at = 0;
  bool bad = false;

  bool has(size_t k) {
    if (bad || k > n - at) bad = true;
    return !bad;
  }
  uint32_t u32() {
    if (!has(4)) return 0;
    uint32_t v = p[at] | p[at + 1] << 8 | p[at + 2] << 16 | static_cast<uint32_t>(p[at + 3]) << 24;
    at += 4;
    return v;
  }
  int32_t i32() { return static_cast<int32_t>(u32()); }
  uint8_t u8() { return has(1) ? p[at++] : 0; }
  std::string bytes(size_t k) {
    if (!has(k)) return {};
    std::string s(reinterpret_cast<const char*>(p + at), k);
    at += k;
    return s;
  }
  std::string counted() { return bytes(u32()); }
  std::string zeroEnded() {
    size_t k = 0;
    while (at + k < n && p[at + k] != 0) ++k;
    std::string s = bytes(k);
    if (u8() != 0) bad = true;
    return s;
  }
  bool done() const { return !bad && at == n; }
};

constexpr int kNone = -1;

struct Expected {
  uint32_t id;
  uint32_t type;
  const char* name;
  int32_t left, top, width, height;
  uint32_t parent;
  uint32_t flags;
  int32_t event;    // the first bound event, or kNone
  int32_t handler;  // its entry
  int32_t event2 = kNone;  // a second bound event, or kNone
  int32_t handler2 = 0;
};

// A start window control: its name, place and container from the shared layout.
constexpr Expected placed(uint32_t id, uint32_t type, uint32_t flags, int32_t event = kNone, int32_t handler = 0,
                          int32_t event2 = kNone, int32_t handler2 = 0) {
  const lw::testing::PlacedControl& p = lw::testing::PlacedControlOf(id);
  return {id, type, p.name, p.left, p.top, p.width, p.height, p.parent, flags, event, handler, event2, handler2};
}

// The start window's units in record order (the menu items are records 6 and 7).
const Expected kStartUnits[] = {
    {0x0601EA06, 0x00010001, "", 50, 50, 400, 504, 0, 1, 0, HandlerEntry(slot::onStartWindowCreated)},
    placed(0x1601EA5C, 0x0001000A, 1),
    placed(0x1601EA5D, 0x0001000B, 5, 0, HandlerEntry(slot::onFetchFeedClicked)),
    placed(0x1601EA5E, 0x00010005, 5),
    placed(0x1601EA5F, 0x00030004, 5, 4, HandlerEntry(slot::onListClicked), 1, HandlerEntry(slot::onListRowActivated)),
    placed(0x1601EA5A, 0x00010009, 1),
    {0, 0, nullptr, 0, 0, 0, 0, 0, 0, 0, 0},  // menu item
    {0, 0, nullptr, 0, 0, 0, 0, 0, 0, 0, 0},  // menu item
    placed(0x1601EA07, 0x0001000B, 5, 0, HandlerEntry(slot::onQrTriggerClicked)),
    placed(0x1601EA08, 0x0001000A, 1),
    placed(0x1601EA09, 0x0001000B, 5, 0, HandlerEntry(slot::onConvertClicked)),
    placed(0x1601EA0A, 0x0001000A, 1),
    placed(0x1601EA0B, 0x00010005, 5),
    placed(0x1601EA0C, 0x00010005, 5),
};

const Expected kQrUnits[] = {
    {0x0601E9FE, 0x00010001, "", 50, 50, 309, 312, 0, 1, 0, HandlerEntry(slot::onQrWindowCreated)},
    {0x1601EA20, 0x00010006, "图片二维码", 11, 4, 270, 270, 0, 1, kNone, 0},
};

struct Unit {
  uint32_t id = 0, type = 0;
  std::string name, caption;  // caption: menu items only
  int32_t left = 0, top = 0, width = 0, height = 0;
  uint32_t parent = 0, flags = 0;
  std::vector<uint32_t> children;
  std::string pointer, tag;
  std::vector<std::pair<int32_t, int32_t>> events;
  int32_t level = 0, shortcut = 0, handler = 0;
  std::string props;
};

struct Window {
  uint32_t id = 0, module = 0;
  std::vector<Unit> units;
};

// Decodes one unit record; every field must end exactly at the record's length.
Unit DecodeUnit(uint32_t id, const std::string& record) {
  Cursor c{reinterpret_cast<const uint8_t*>(record.data()), record.size()};
  Unit u;
  u.id = id;
  u.type = c.u32();
  EXPECT_EQ(c.u32(), 0u) << "event source";
  EXPECT_EQ(c.bytes(16), std::string(16, '\0'));
  u.name = c.zeroEnded();
  EXPECT_EQ(c.zeroEnded(), "") << "remark";
  if ((id >> 24) == 0x26) {
    u.shortcut = c.i32();
    u.level = c.i32();
    u.flags = c.u32();
    u.caption = c.zeroEnded();
    u.handler = c.i32();
    EXPECT_EQ(c.u32(), 0u);
    EXPECT_EQ(c.bytes(12), std::string(12, '\0'));
    EXPECT_TRUE(c.done()) << std::hex << id << ": menu record not read to its end";
    return u;
  }
  EXPECT_EQ(c.u32(), 0u) << "live object slot";
  u.left = c.i32();
  u.top = c.i32();
  u.width = c.i32();
  u.height = c.i32();
  EXPECT_EQ(c.u32(), 0u) << "cursor slot";
  u.parent = c.u32();
  uint32_t children = c.u32();
  for (uint32_t i = 0; i < children && !c.bad; ++i) u.children.push_back(c.u32());
  u.pointer = c.counted();
  u.tag = c.zeroEnded();
  EXPECT_EQ(c.u32(), 0u);
  u.flags = c.u32();
  EXPECT_EQ(c.u32(), 0u);
  uint32_t events = c.u32();
  for (uint32_t i = 0; i < events && !c.bad; ++i) {
    int32_t e = c.i32();
    u.events.push_back({e, c.i32()});
  }
  EXPECT_EQ(c.bytes(20), std::string(20, '\0'));
  EXPECT_FALSE(c.bad) << std::hex << id << ": record ends inside its fields";
  u.props = c.bytes(c.n - c.at);
  return u;
}

std::vector<Window> DecodeSection() {
  Cursor c{kWindowSection, kWindowSectionLength};
  Cursor index{nullptr, 0};
  std::string indexBytes = c.counted();
  index.p = reinterpret_cast<const uint8_t*>(indexBytes.data());
  index.n = indexBytes.size();
  EXPECT_EQ(index.n % 8, 0u);
  std::vector<Window> windows(index.n / 8);
  for (Window& w : windows) w.id = index.u32();
  for (Window& w : windows) {
    c.u32();  // reserved word
    w.module = c.u32();
    EXPECT_EQ(c.counted(), "");
    EXPECT_EQ(c.counted(), "");
    uint32_t count = c.u32();
    std::string table = c.counted();
    Cursor t{reinterpret_cast<const uint8_t*>(table.data()), table.size()};
    std::vector<uint32_t> ids, offsets;
    for (uint32_t i = 0; i < count && !t.bad; ++i) ids.push_back(t.u32());
    for (uint32_t i = 0; i < count && !t.bad; ++i) offsets.push_back(t.u32());
    size_t base = t.at;
    size_t expectedOffset = 0;
    for (uint32_t i = 0; i < count && !t.bad; ++i) {
      EXPECT_EQ(offsets[i], expectedOffset) << "records lie end to end";
      t.at = base + offsets[i];
      std::string record = t.counted();
      expectedOffset += 4 + record.size();
      w.units.push_back(DecodeUnit(ids[i], record));
    }
    EXPECT_TRUE(t.done()) << "unit table read to its end";
  }
  EXPECT_TRUE(c.done()) << "section read to its end: " << c.at << " of " << c.n;
  return windows;
}

uint32_t Word(const std::string& b, size_t at) {
  Cursor c{reinterpret_cast<const uint8_t*>(b.data()), b.size(), at};
  return c.u32();
}

void CheckUnits(const Window& w, const Expected* expected, size_t count) {
  ASSERT_EQ(w.units.size(), count);
  for (size_t i = 0; i < count; ++i) {
    const Expected& e = expected[i];
    const Unit& u = w.units[i];
    if (!e.name) continue;
    SCOPED_TRACE(e.name);
    EXPECT_EQ(u.id, e.id);
    EXPECT_EQ(u.type, e.type);
    EXPECT_EQ(u.name, e.name);
    EXPECT_EQ(u.left, e.left);
    EXPECT_EQ(u.top, e.top);
    EXPECT_EQ(u.width, e.width);
    EXPECT_EQ(u.height, e.height);
    EXPECT_EQ(u.parent, e.parent);
    EXPECT_EQ(u.flags, e.flags);
    EXPECT_EQ(u.pointer, std::string(4, '\0')) << "pointer block holding 0";
    EXPECT_EQ(u.tag, "");
    std::vector<std::pair<int32_t, int32_t>> bound;
    if (e.event != kNone) bound.push_back({e.event, e.handler});
    if (e.event2 != kNone) bound.push_back({e.event2, e.handler2});
    EXPECT_EQ(u.events, bound);
  }
}

TEST(WindowSection, HoldsTheTwoWindowsInOrder) {
  ASSERT_EQ(kWindowSectionLength, 2793u);
  std::vector<Window> windows = DecodeSection();
  ASSERT_EQ(windows.size(), 2u);
  EXPECT_EQ(windows[0].id, 0x5201E9FFu);
  EXPECT_EQ(windows[0].module, 0x1901EA03u);
  EXPECT_EQ(windows[1].id, 0x5201EA05u);
  EXPECT_EQ(windows[1].module, 0x1901EA0Du);
  CheckUnits(windows[0], kQrUnits, 2);
  CheckUnits(windows[1], kStartUnits, 14);
}

TEST(WindowSection, QrWindowProperties) {
  std::vector<Window> windows = DecodeSection();
  ASSERT_EQ(windows.size(), 2u);
  const Window& qr = windows[0];
  ASSERT_EQ(qr.units.size(), 2u);
  EXPECT_EQ(qr.units[0].props, "") << "all defaults, empty caption";
  // Picture box, version 2: border 0, default background, stretched, animated, no picture, two empty texts.
  const std::string& p = qr.units[1].props;
  ASSERT_EQ(p.size(), 32u);
  EXPECT_EQ(Word(p, 0), 2u);
  EXPECT_EQ(Word(p, 4), 0u);
  EXPECT_EQ(Word(p, 8), 0xFF000000u);
  EXPECT_EQ(Word(p, 12), 1u);
  EXPECT_EQ(Word(p, 16), 1u);
  EXPECT_EQ(p.substr(20), std::string(12, '\0'));
}

// The caption of a label block (version 2, no font or picture) and its text colour.
void CheckLabel(const std::string& b, const char* caption, uint32_t textColour) {
  Cursor c{reinterpret_cast<const uint8_t*>(b.data()), b.size()};
  EXPECT_EQ(c.u32(), 2u);
  const uint32_t words[] = {0, 8, 0, 0x808080, 0xFFFFFF, 0x808080, textColour, 0xFF000000,
                            1, 0, 0x808080, 0xFFFFFF, 0x808080, 0, 1, 0};
  for (uint32_t w : words) EXPECT_EQ(c.u32(), w);
  EXPECT_EQ(c.counted(), "") << "font";
  EXPECT_EQ(c.counted(), "") << "picture";
  EXPECT_EQ(c.counted(), caption);
  EXPECT_EQ(c.counted(), "");
  EXPECT_EQ(c.counted(), "");
  EXPECT_TRUE(c.done());
}

void CheckButton(const std::string& b, const char* caption) {
  Cursor c{reinterpret_cast<const uint8_t*>(b.data()), b.size()};
  EXPECT_EQ(c.u32(), 1u);
  EXPECT_EQ(c.u32(), 0u) << "not a default button";
  EXPECT_EQ(c.u32(), 1u);
  EXPECT_EQ(c.u32(), 1u);
  EXPECT_EQ(c.counted(), "") << "picture";
  EXPECT_EQ(c.counted(), "") << "font";
  EXPECT_EQ(c.counted(), caption);
  EXPECT_TRUE(c.done());
}

TEST(WindowSection, StartWindowProperties) {
  std::vector<Window> windows = DecodeSection();
  ASSERT_EQ(windows.size(), 2u);
  const std::vector<Unit>& u = windows[1].units;
  ASSERT_EQ(u.size(), 14u);

  // The window: version 6 with every default but the caption.
  {
    Cursor c{reinterpret_cast<const uint8_t*>(u[0].props.data()), u[0].props.size()};
    EXPECT_EQ(c.u32(), 6u);
    const uint32_t words[] = {2, 1, 0xFF000000, 0, 1, 1, 1, 1, 0, 0, 1, 0, 0, 1, 0, 0, 0, 0};
    for (uint32_t w : words) EXPECT_EQ(c.u32(), w);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c.counted(), "") << "class name and blocks";
    EXPECT_EQ(c.counted(), "Linkwright");
    EXPECT_EQ(c.counted(), "");
    EXPECT_TRUE(c.done());
  }
  CheckLabel(u[1].props, "QQ号：", 0);
  CheckButton(u[2].props, "获取");
  EXPECT_EQ(u[3].props, "") << "编辑框QQ: defaults";
  EXPECT_EQ(u[5].props, "") << "分组框1: defaults";
  EXPECT_EQ(u[5].children, std::vector<uint32_t>({0x1601EA5C, 0x1601EA5D, 0x1601EA5E, 0x1601EA5F}));
  CheckButton(u[8].props, "显示二维码");
  CheckLabel(u[9].props, "提示：", 0x0000FF);
  CheckButton(u[10].props, "生成识别链接");
  CheckLabel(u[11].props, "说说或者日志地址", 0);
  EXPECT_EQ(u[13].props, "") << "链接框: defaults";

  // 编辑框生成: version 2, multi-line on, the rest default.
  {
    Cursor c{reinterpret_cast<const uint8_t*>(u[12].props.data()), u[12].props.size()};
    EXPECT_EQ(c.u32(), 2u);
    const uint32_t words[] = {1, 0, 0xFFFFFF, 1, 0, 1, 0, 0, 0};
    for (uint32_t w : words) EXPECT_EQ(c.u32(), w);
    EXPECT_EQ(c.u8(), '*');
    EXPECT_EQ(c.u8(), 0) << "16-bit mask character";
    const uint32_t more[] = {0, 0, 0, 100, 0, 0};
    for (uint32_t w : more) EXPECT_EQ(c.u32(), w);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(c.counted(), "");
    EXPECT_TRUE(c.done());
  }

  // 超级列表框日志: report view with the columns "日志" (250) and "ID" (150).
  {
    Cursor c{reinterpret_cast<const uint8_t*>(u[4].props.data()), u[4].props.size()};
    EXPECT_EQ(c.u32(), 1u);
    const uint32_t words[] = {1, 0, 0xFFFFFF, 0xFFFFFF, 3, 0, 1, 1, 0, 1, 0, 0,
                              0, 0, 1, 1, 1, 0, 0, 0, 0, 1, 0xFFFFFFFF, 0};
    for (uint32_t w : words) EXPECT_EQ(c.u32(), w);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(c.counted(), "") << "font and image lists";
    std::string columns = c.counted();
    for (int i = 0; i < 2; ++i) EXPECT_EQ(c.counted(), "");
    EXPECT_TRUE(c.done());
    Cursor col{reinterpret_cast<const uint8_t*>(columns.data()), columns.size()};
    const struct {
      uint32_t width;
      const char* header;
    } expected[] = {{250, "日志"}, {150, "ID"}};
    for (const auto& e : expected) {
      EXPECT_EQ(col.u8(), 0) << "image not at the right";
      EXPECT_EQ(col.i32(), -1) << "no image";
      EXPECT_EQ(col.u32(), 0u) << "left-aligned";
      EXPECT_EQ(col.u32(), e.width);
      EXPECT_EQ(col.zeroEnded(), e.header);
    }
    EXPECT_TRUE(col.done());
  }
}

TEST(WindowSection, StartWindowMenu) {
  std::vector<Window> windows = DecodeSection();
  ASSERT_EQ(windows.size(), 2u);
  const std::vector<Unit>& u = windows[1].units;
  ASSERT_EQ(u.size(), 14u);
  EXPECT_EQ(u[6].id, 0x2601EA52u);
  EXPECT_EQ(u[6].type, 0x00010003u);
  EXPECT_EQ(u[6].caption, "生成识别连接");
  EXPECT_EQ(u[6].level, 0);
  EXPECT_EQ(u[6].flags, 1u) << "hidden";
  EXPECT_EQ(u[6].shortcut, 0);
  EXPECT_EQ(u[6].handler, -1);
  EXPECT_EQ(u[7].id, 0x2601EA53u);
  EXPECT_EQ(u[7].caption, "生成链接");
  EXPECT_EQ(u[7].level, 1);
  EXPECT_EQ(u[7].flags, 0u);
  EXPECT_EQ(u[7].handler, HandlerEntry(slot::onMenuItemChosen));
}

TEST(WindowSection, HandlerEntriesAreDistinctSlotsOfTheTable) {
  // Entry 0 is the first slot; every bound routine has its own slot inside the table.
  std::vector<int32_t> seen;
  for (const Window& w : DecodeSection())
    for (const Unit& u : w.units) {
      for (const auto& e : u.events) seen.push_back(e.second);
      if ((u.id >> 24) == 0x26 && u.handler != -1) seen.push_back(u.handler);
    }
  ASSERT_EQ(seen.size(), 8u);
  std::sort(seen.begin(), seen.end());
  for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], static_cast<int32_t>(i) * kHandlerSlotBytes);
}

}  // namespace
}  // namespace lw::program
