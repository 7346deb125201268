#include "runtime/ui/properties/template_format.h"

#include "runtime/core/values/memory.h"
#include "runtime/ui/kinds/table.h"

namespace lw {

// ---- ByteWriter ---------------------------------------------------------------------

void ByteWriter::u16(uint16_t v) {
  out_.push_back(static_cast<uint8_t>(v));
  out_.push_back(static_cast<uint8_t>(v >> 8));
}

void ByteWriter::u32(uint32_t v) {
  for (int i = 0; i < 4; ++i) out_.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void ByteWriter::block(const uint8_t* data, size_t n) {
  if (n > INT32_MAX) {
    fail("block too long to store");
    return;
  }
  u32(static_cast<uint32_t>(n));
  if (n) raw(data, n);
}

void ByteWriter::countedText(const std::string& s) {
  block(reinterpret_cast<const uint8_t*>(s.data()), s.size());
}

void ByteWriter::terminatedText(const std::string& s) {
  if (s.find('\0') != std::string::npos) {
    fail("terminated text holds a 0 byte");
    return;
  }
  raw(reinterpret_cast<const uint8_t*>(s.data()), s.size());
  u8(0);
}

void ByteWriter::patch32(size_t at, uint32_t v) {
  if (at > out_.size() || out_.size() - at < 4) {
    fail("patch outside the written bytes");
    return;
  }
  for (int i = 0; i < 4; ++i) out_[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// ---- Reading ------------------------------------------------------------------------

namespace {

// Fixed parts of the records, used to reject counts before allocating for them.
constexpr size_t kMinWindowRecord = 6 * 4;  // five words and the table's length word
constexpr size_t kUnitSlotBytes = 8;        // an id and an offset per unit

// The rest of a menu item record, which must end with its fields.
bool ReadMenuItemFields(ByteReader& in, MenuItemFields* m) {
  m->shortcut = in.i32();
  m->level = in.i32();
  m->state = in.u32();
  m->caption = in.terminatedText();
  m->entry = in.i32();
  in.skip(4);   // popup slot: made while loaded
  in.skip(12);  // reserved
  if (!in.ok()) return false;
  if (m->shortcut < 0 || m->shortcut > kShortcutKeyCount) {
    in.fail("menu shortcut outside the key table");
    return false;
  }
  if (m->level < 0) {
    in.fail("negative menu level");
    return false;
  }
  if (in.remaining() != 0) {
    in.fail("menu item record longer than its fields");
    return false;
  }
  return true;
}

bool ReadWindowRecord(ByteReader& in, uint32_t windowId, WindowRecord* w) {
  w->id = windowId;
  w->reserved = in.u32();
  w->moduleId = in.u32();
  w->text1 = in.countedText();
  w->text2 = in.countedText();
  uint32_t unitCount = in.u32();
  uint32_t tableLength = in.u32();
  ByteReader table = in.take(tableLength);
  if (!in.ok()) return false;
  if (unitCount == 0) {
    in.fail("window has no units");
    return false;
  }
  if (unitCount > table.remaining() / kUnitSlotBytes) {
    in.fail("unit count does not fit the unit table");
    return false;
  }
  std::vector<uint32_t> ids(unitCount), offsets(unitCount);
  for (uint32_t& id : ids) id = table.u32();
  for (uint32_t& o : offsets) o = table.u32();
  size_t regionOrigin = table.offset();
  size_t regionSize = table.remaining();
  const uint8_t* region = table.bytes(regionSize);
  in.adopt(table);
  if (!in.ok()) return false;

  // Records are read through their offsets. Their spans together must fit the
  // region, so that offsets pointing at one record many times cannot multiply the
  // memory a small section asks for.
  size_t spans = 0;
  w->units.resize(unitCount);
  for (uint32_t i = 0; i < unitCount; ++i) {
    size_t o = offsets[i];
    if (o > regionSize || regionSize - o < 4) {
      in.fail("unit offset outside the unit table");
      return false;
    }
    ByteReader lengthWord(region + o, 4, regionOrigin + o);
    uint32_t length = lengthWord.u32();
    if (length > regionSize - o - 4) {
      in.fail("unit record runs past the unit table");
      return false;
    }
    if (!checkedAdd(spans, size_t{4} + length, &spans) || spans > regionSize) {
      in.fail("unit records exceed the unit table");
      return false;
    }
    ByteReader record(region + o + 4, length, regionOrigin + o + 4);
    if (!ReadUnitRecord(record, ids[i], &w->units[i])) {
      in.adopt(record);
      return false;
    }
  }
  if (w->units[0].menuItem) {
    in.fail("first unit of a window is a menu item");
    return false;
  }
  return true;
}

}  // namespace

bool ReadUnitRecord(ByteReader& in, uint32_t id, UnitRecord* u) {
  *u = UnitRecord{};
  u->id = id;
  u->menuItem = IsMenuItemId(id);
  u->typeId = in.u32();
  u->eventSource = in.u32();
  in.skip(16);
  u->name = in.terminatedText();
  u->remark = in.terminatedText();
  if (!in.ok()) return false;

  if (u->menuItem) {
    if (u->typeId != unit_type::MenuItem) {
      in.fail("menu item id on a record of another type");
      return false;
    }
    return ReadMenuItemFields(in, &u->menu);
  }

  if (u->typeId == unit_type::MenuItem) {
    in.fail("menu record under an id that is not a menu item");
    return false;
  }
  in.skip(4);  // live object slot: set while loaded
  u->left = in.i32();
  u->top = in.i32();
  u->width = in.i32();
  u->height = in.i32();
  in.skip(4);  // cursor slot: set while loaded
  u->parentId = in.u32();
  uint32_t childCount = in.u32();
  if (in.ok() && childCount > in.remaining() / 4) {
    in.fail("child count does not fit the record");
    return false;
  }
  u->children.resize(in.ok() ? childCount : 0);
  for (uint32_t& c : u->children) c = in.u32();
  u->mousePointer = in.byteBlock();
  u->tag = in.terminatedText();
  in.skip(4);  // reserved
  u->state = in.u32();
  in.skip(4);  // reserved
  uint32_t eventCount = in.u32();
  if (in.ok() && eventCount > in.remaining() / 8) {
    in.fail("event count does not fit the record");
    return false;
  }
  u->events.resize(in.ok() ? eventCount : 0);
  for (EventBinding& e : u->events) {
    e.event = in.i32();
    e.entry = in.i32();
  }
  in.skip(20);  // reserved
  if (!in.ok()) return false;
  // The property block is the rest of the record.
  size_t n = in.remaining();
  const uint8_t* props = in.bytes(n);
  u->properties.assign(props, props + n);
  return in.ok();
}

bool ReadWindowSection(const uint8_t* data, size_t size, WindowTemplate* out, TemplateFailure* failure,
                       size_t* consumed) {
  *out = WindowTemplate{};
  if (failure) *failure = TemplateFailure{};
  if (consumed) *consumed = 0;
  if (size == 0) return true;  // no windows
  if (!data) {
    if (failure) failure->reason = "no section data";
    return false;
  }

  ByteReader in(data, size);
  uint32_t indexLength = in.u32();
  ByteReader index = in.take(indexLength);
  size_t count = indexLength / 8;  // a remainder of the block is ignored
  std::vector<uint32_t> ids(in.ok() ? count : 0);
  for (uint32_t& id : ids) id = index.u32();  // the placeholders follow; never read
  if (in.ok() && count > in.remaining() / kMinWindowRecord) in.fail("more windows than the section can hold");

  if (in.ok()) {
    out->windows.resize(count);
    for (size_t i = 0; i < count; ++i) {
      if (!ReadWindowRecord(in, ids[i], &out->windows[i])) break;
    }
  }
  if (!in.ok()) {
    if (failure) {
      failure->reason = in.failure();
      failure->offset = in.failureOffset();
    }
    *out = WindowTemplate{};
    return false;
  }
  if (consumed) *consumed = in.consumed();
  return true;
}

// ---- Writing ------------------------------------------------------------------------

void WriteUnitRecord(const UnitRecord& u, ByteWriter& out) {
  out.u32(u.typeId);
  out.u32(u.eventSource);
  out.zeros(16);
  out.terminatedText(u.name);
  out.terminatedText(u.remark);
  if (u.menuItem) {
    const MenuItemFields& m = u.menu;
    out.i32(m.shortcut);
    out.i32(m.level);
    out.u32(m.state);
    out.terminatedText(m.caption);
    out.i32(m.entry);
    out.u32(0);  // popup slot
    out.zeros(12);
    return;
  }
  out.u32(0);  // live object slot
  out.i32(u.left);
  out.i32(u.top);
  out.i32(u.width);
  out.i32(u.height);
  out.u32(0);  // cursor slot
  out.u32(u.parentId);
  out.u32(static_cast<uint32_t>(u.children.size()));
  for (uint32_t c : u.children) out.u32(c);
  out.byteBlock(u.mousePointer);
  out.terminatedText(u.tag);
  out.u32(0);
  out.u32(u.state);
  out.u32(0);
  out.u32(static_cast<uint32_t>(u.events.size()));
  for (const EventBinding& e : u.events) {
    out.i32(e.event);
    out.i32(e.entry);
  }
  out.zeros(20);
  out.raw(u.properties.data(), u.properties.size());
}

bool WriteWindowSection(const WindowTemplate& t, std::vector<uint8_t>* out, const char** reason) {
  ByteWriter w;
  std::vector<uint8_t> index;
  {
    ByteWriter ix;
    for (const WindowRecord& win : t.windows) ix.u32(win.id);
    for (size_t i = 0; i < t.windows.size(); ++i) ix.u32(0);  // placeholders for the loader
    w.byteBlock(ix.bytes());
  }
  for (const WindowRecord& win : t.windows) {
    if (win.units.empty() || win.units[0].menuItem) {
      w.fail("window needs its own unit first");
      break;
    }
    w.u32(win.reserved);
    w.u32(win.moduleId);
    w.countedText(win.text1);
    w.countedText(win.text2);
    w.u32(static_cast<uint32_t>(win.units.size()));

    // Records laid end to end; offset i is where record i's length word starts.
    ByteWriter records;
    std::vector<uint32_t> offsets;
    for (const UnitRecord& u : win.units) {
      if (u.menuItem != IsMenuItemId(u.id)) {
        w.fail("unit id does not match its record form");
        break;
      }
      size_t at = records.size();
      offsets.push_back(static_cast<uint32_t>(at));
      records.u32(0);
      WriteUnitRecord(u, records);
      records.patch32(at, static_cast<uint32_t>(records.size() - at - 4));
    }
    if (!records.ok()) w.fail(records.failure());
    ByteWriter table;
    for (const UnitRecord& u : win.units) table.u32(u.id);
    for (uint32_t o : offsets) table.u32(o);
    table.raw(records.bytes().data(), records.size());
    w.byteBlock(table.bytes());
  }
  if (w.size() > INT32_MAX) w.fail("section too long");
  if (!w.ok()) {
    if (reason) *reason = w.failure();
    return false;
  }
  *out = w.release();
  return true;
}

// ---- Fix-up and lookups ---------------------------------------------------------------

namespace {

bool FixUpEntry(int32_t entry, uintptr_t codeBase, size_t span, size_t slotBytes, uintptr_t* handler) {
  if (entry == kNoHandler) {
    *handler = 0;
    return true;
  }
  // A whole slot, on a slot boundary: an event reads the slot's bytes, so an entry
  // in the table's last bytes or between two slots would read past the table or
  // call an address made of two halves.
  if (entry < 0 || slotBytes == 0 || span < slotBytes) return false;
  if (static_cast<size_t>(entry) % slotBytes != 0 || static_cast<size_t>(entry) > span - slotBytes) return false;
  if (static_cast<uintptr_t>(entry) > UINTPTR_MAX - codeBase) return false;
  *handler = codeBase + static_cast<uintptr_t>(entry);
  return true;
}

}  // namespace

bool FixUpHandlers(WindowTemplate* t, uintptr_t codeBase, size_t span, size_t slotBytes, const char** reason) {
  for (WindowRecord& w : t->windows) {
    for (UnitRecord& u : w.units) {
      bool fine = true;
      if (u.menuItem) {
        fine = FixUpEntry(u.menu.entry, codeBase, span, slotBytes, &u.menu.handler);
      } else {
        for (EventBinding& e : u.events) fine = fine && FixUpEntry(e.entry, codeBase, span, slotBytes, &e.handler);
      }
      if (!fine) {
        if (reason) *reason = "handler entry outside the handler table";
        return false;
      }
    }
  }
  return true;
}

WindowRecord* FindWindowRecord(WindowTemplate& t, uint32_t windowId) {
  for (WindowRecord& w : t.windows)
    if (w.id == windowId) return &w;
  return nullptr;
}

const WindowRecord* FindWindowRecord(const WindowTemplate& t, uint32_t windowId) {
  return FindWindowRecord(const_cast<WindowTemplate&>(t), windowId);
}

UnitRecord* FindUnitRecord(WindowRecord& w, uint32_t unitId) {
  for (UnitRecord& u : w.units)
    if (u.id == unitId) return &u;
  return nullptr;
}

const UnitRecord* FindUnitRecord(const WindowRecord& w, uint32_t unitId) {
  return FindUnitRecord(const_cast<WindowRecord&>(w), unitId);
}

UnitRecord* UnitRecordAt(WindowRecord& w, size_t index) {
  return index < w.units.size() ? &w.units[index] : nullptr;
}

bool CheckPropertyBlocks(const WindowTemplate& t, const char** reason, uint32_t* unitId) {
  for (const WindowRecord& w : t.windows) {
    for (const UnitRecord& u : w.units) {
      if (u.menuItem) continue;
      UnitProps props;
      const char* why = nullptr;
      if (!DecodeUnitProperties(u.typeId, u.properties.data(), u.properties.size(), &props, &why)) {
        if (reason) *reason = why;
        if (unitId) *unitId = u.id;
        return false;
      }
    }
  }
  return true;
}

}  // namespace lw
