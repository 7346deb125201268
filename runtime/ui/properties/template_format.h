// The window template section: the stored description of every window, its units
// and menu items, read once at start-up into the loaded-window table and written
// by the build tool from the program's window definition. Pure: the reader takes
// (data, size), carries its end and checks every length, count and offset before
// use; damaged data gives false and a short reason, never a read past the end.
//
// Layout, front to back, all integers 32-bit little-endian:
//   window index   byte block of 8·n bytes: n window ids, then n placeholders
//   n windows      reserved word, module id, two counted texts, unit count,
//                  unit table (byte block: ids, offsets, then length-prefixed records)
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "runtime/core/values/byte_reader.h"

namespace lw {

// ---- Ids: the top byte names the kind of object ----------------------------------

namespace id_kind {
constexpr uint32_t Window = 0x52;      // a window
constexpr uint32_t WindowUnit = 0x06;  // the record describing the window itself
constexpr uint32_t Control = 0x16;     // a control unit
constexpr uint32_t MenuItem = 0x26;    // a menu item
constexpr uint32_t Module = 0x19;      // the code module holding a window's handlers
}  // namespace id_kind

constexpr uint32_t IdKind(uint32_t id) { return id >> 24; }
// The loader's test for a menu item: high nibble 2 and second nibble 6.
constexpr bool IsMenuItemId(uint32_t id) {
  return (id & 0xF0000000u) == 0x20000000u && (id & 0x0F000000u) == 0x06000000u;
}

// ---- Unit type ids: (library number << 16) | 1-based type index -------------------

namespace unit_type {
constexpr uint32_t Window = 0x00010001;
constexpr uint32_t MenuItem = 0x00010003;
constexpr uint32_t EditBox = 0x00010005;
constexpr uint32_t PicBox = 0x00010006;
constexpr uint32_t GroupBox = 0x00010009;
constexpr uint32_t Label = 0x0001000A;
constexpr uint32_t Button = 0x0001000B;
constexpr uint32_t ListView = 0x00030004;
}  // namespace unit_type

// State flags of a unit record.
namespace unit_state {
constexpr uint32_t Visible = 1u << 0;
constexpr uint32_t Disabled = 1u << 1;
constexpr uint32_t TabStop = 1u << 2;
}  // namespace unit_state

// State flags of a menu item record.
namespace menu_state {
constexpr uint32_t Hidden = 1u << 0;
constexpr uint32_t Disabled = 1u << 1;
constexpr uint32_t Checked = 1u << 2;
}  // namespace menu_state

// Stored handler entry that means "no handler".
constexpr int32_t kNoHandler = -1;

// ---- Stream primitives ------------------------------------------------------------

// Appends the section's encodings. A value that cannot be encoded (a terminated
// text holding a 0 byte, a length beyond 31 bits) marks the writer failed.
class ByteWriter {
 public:
  bool ok() const { return failure_ == nullptr; }
  const char* failure() const { return failure_; }
  void fail(const char* reason) {
    if (!failure_) failure_ = reason;
  }

  void u8(uint8_t v) { out_.push_back(v); }
  void u16(uint16_t v);
  void u32(uint32_t v);
  void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
  void zeros(size_t n) { out_.insert(out_.end(), n, 0); }
  void raw(const uint8_t* data, size_t n) { out_.insert(out_.end(), data, data + n); }
  void countedText(const std::string& s);
  void byteBlock(const std::vector<uint8_t>& b) { block(b.data(), b.size()); }
  void block(const uint8_t* data, size_t n);
  void terminatedText(const std::string& s);
  // Overwrites a word written earlier at `at` (a length known only afterwards).
  void patch32(size_t at, uint32_t v);

  size_t size() const { return out_.size(); }
  const std::vector<uint8_t>& bytes() const { return out_; }
  std::vector<uint8_t> release() { return std::move(out_); }

 private:
  std::vector<uint8_t> out_;
  const char* failure_ = nullptr;
};

// ---- Records ----------------------------------------------------------------------

// One (event number, handler) pair of a unit. `entry` is the stored form: a byte
// offset from the code base, -1 none. `handler` is the fixed-up address, 0 none.
struct EventBinding {
  int32_t event = 0;
  int32_t entry = kNoHandler;
  uintptr_t handler = 0;
};

// Entries of the runtime's shortcut key table, numbered from 1.
constexpr int32_t kShortcutKeyCount = 77;

// The fields of a menu item record that other units do not have.
struct MenuItemFields {
  int32_t shortcut = 0;  // 0 none, else 1..kShortcutKeyCount into the key table
  int32_t level = 0;     // 0 top level, 1 inside the nearest preceding level 0, ...
  uint32_t state = 0;    // menu_state bits
  std::string caption;
  int32_t entry = kNoHandler;  // stored handler
  uintptr_t handler = 0;       // fixed-up handler, 0 none
  void* popup = nullptr;       // popup menu made for the entry while loaded
};

// One record of a window's unit table: the window's own unit, a control or a menu
// item. Which one it is follows from the id (IsMenuItemId). While the window is
// loaded the record doubles as the unit's state: its live object and cursor slots.
struct UnitRecord {
  uint32_t id = 0;  // from the table's id array
  uint32_t typeId = 0;
  uint32_t eventSource = 0;  // 0, or a unit of the same type whose bindings apply
  std::string name;
  std::string remark;
  bool menuItem = false;

  // Every unit other than a menu item.
  void* liveObject = nullptr;  // 0 in the file
  int32_t left = 0, top = 0, width = 0, height = 0;
  void* cursor = nullptr;  // 0 in the file
  uint32_t parentId = 0;   // 0: the window itself
  std::vector<uint32_t> children;
  std::vector<uint8_t> mousePointer;
  std::string tag;
  uint32_t state = 0;  // unit_state bits
  std::vector<EventBinding> events;
  std::vector<uint8_t> properties;  // the kind's property block; empty: defaults

  // Menu items only.
  MenuItemFields menu;
};

struct WindowRecord {
  uint32_t id = 0;
  uint32_t reserved = 0;  // written by the build tool, not read
  uint32_t moduleId = 0;
  std::string text1, text2;  // not read by the window system
  std::vector<UnitRecord> units;  // [0] is the window's own unit
};

// The loaded-window table as read from a section, in index order.
struct WindowTemplate {
  std::vector<WindowRecord> windows;
};

// ---- Reading and writing ----------------------------------------------------------

struct TemplateFailure {
  const char* reason = nullptr;
  size_t offset = 0;  // where in the section reading stopped
};

// Reads a whole section. A section of length 0 holds no windows. An index whose
// length is not a multiple of 8 names length / 8 windows. Bytes after the last
// window are not read; `consumed` (optional) tells how many were.
bool ReadWindowSection(const uint8_t* data, size_t size, WindowTemplate* out, TemplateFailure* failure,
                       size_t* consumed = nullptr);

// Reads one unit record's L bytes (the length word already taken) for unit `id`.
bool ReadUnitRecord(ByteReader& in, uint32_t id, UnitRecord* out);

// Writes the section for `t`. False (with a reason) when a record cannot be encoded.
bool WriteWindowSection(const WindowTemplate& t, std::vector<uint8_t>* out, const char** reason);

// Writes one unit record's bytes, without its length word.
void WriteUnitRecord(const UnitRecord& u, ByteWriter& out);

// Turns every stored handler entry into an address: -1 becomes 0 (none), an entry v
// that starts a whole slot of `slotBytes` inside the table's `span` bytes (v a
// multiple of slotBytes, v + slotBytes <= span) becomes codeBase + v. Any other entry
// is damaged data: false, and the template is left partly fixed up.
bool FixUpHandlers(WindowTemplate* t, uintptr_t codeBase, size_t span, size_t slotBytes, const char** reason);

// Lookups by id (linear, first match) and by index; null when absent.
WindowRecord* FindWindowRecord(WindowTemplate& t, uint32_t windowId);
const WindowRecord* FindWindowRecord(const WindowTemplate& t, uint32_t windowId);
UnitRecord* FindUnitRecord(WindowRecord& w, uint32_t unitId);
const UnitRecord* FindUnitRecord(const WindowRecord& w, uint32_t unitId);
UnitRecord* UnitRecordAt(WindowRecord& w, size_t index);

// Decodes the property block of every unit with its kind's decoder, as creating the
// window would. False with the reason of the first block that is rejected.
bool CheckPropertyBlocks(const WindowTemplate& t, const char** reason, uint32_t* unitId = nullptr);

}  // namespace lw
