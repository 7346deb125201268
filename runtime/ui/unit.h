// Live units: the object behind one unit record of a loaded window, the value a
// property read or write carries, and the unit types with the routines of their
// kinds. No platform header: window handles are kept as opaque pointers here and
// cast at the platform edge.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/ui/properties/unit_properties.h"

namespace lw {

// Value kinds of properties: how the property services convert a value.
namespace value_kind {
constexpr uint16_t Integer = 1000;
constexpr uint16_t Integer2 = 1001;
constexpr uint16_t Wide = 1002;  // 8-byte value (also 1004)
constexpr uint16_t Logical = 1003;
constexpr uint16_t Wide2 = 1004;
constexpr uint16_t Text = 1005;
constexpr uint16_t Choice = 1006;
constexpr uint16_t Data = 1009;  // also 1010, 1012, 1023, 1024
constexpr uint16_t Picture = 1010;
constexpr uint16_t MousePointer = 1011;
constexpr uint16_t Data2 = 1012;
constexpr uint16_t Font = 1013;
constexpr uint16_t Colour = 1014;  // also 1015, 1017
constexpr uint16_t Colour2 = 1015;
constexpr uint16_t Colour3 = 1017;
constexpr uint16_t Data3 = 1023;
constexpr uint16_t Data4 = 1024;
}  // namespace value_kind

// How the services treat a kind code.
enum class ValueClass { Integer, Wide, Logical, Choice, Colour, Data, MousePointer, Font, Text };
ValueClass ClassOfValueKind(uint16_t kind);

// A property value as the unit kinds' get and set operations see it.
struct PropertyValue {
  int32_t i = 0;         // integer, logical, choice, colour
  uint64_t wide = 0;     // 8-byte values
  std::vector<uint8_t> data;  // data, mouse pointer, font (60-byte record)
  std::string text;
};

// A property descriptor, 20 bytes: three unused words, the value kind (low 16 bits)
// with flags (high 16 bits), and a zero word.
struct PropertyDescriptor {
  uint32_t name, englishName, description;
  uint32_t kind;
  uint32_t reserved;
};

struct Unit;
struct UnitTypeInfo;

// What a type's create operation gets.
struct UnitCreateArgs {
  void* parent;             // parent window (the loaded window for controls), may be null
  const uint8_t* block;     // the property block, may be empty
  size_t blockSize;
  uint32_t style;           // platform style bits from the record's flags
  void* owner;              // owner window for a top-level window, may be null
  int controlId;
  void* menu;               // menu bar (window only)
  int left, top, width, height;
  uint32_t windowId, unitId;
  uint32_t extra[2];
};

using UnitCreate = Unit* (*)(const UnitCreateArgs& args);
// Returns 1 when the unit must be re-created to show the change.
using UnitSetProperty = int (*)(Unit* unit, int ownIndex, const PropertyValue& value);
// Returns 1 when a value was given.
using UnitGetProperty = int (*)(Unit* unit, int ownIndex, PropertyValue* value);
// The unit's current properties as a property block.
using UnitSerialise = bool (*)(Unit* unit, std::vector<uint8_t>* block);

// The routines of one unit kind. Each kind's file exports its row as a constant,
// and the runtime registers the kinds it is built with from one table of them. A
// null routine: the kind has no such operation (menu items have none at all).
struct UnitKindRoutines {
  uint32_t typeId;
  UnitCreate create;
  UnitSetProperty setProperty;
  UnitGetProperty getProperty;
  UnitSerialise serialise;
};

// A type record as the runtime keeps it: the kind's names, flags and property
// descriptors, with its routines.
struct UnitTypeInfo {
  const char* typeName;
  const char* englishName;
  const char* description;
  uint32_t flags;  // type_flag bits
  uint32_t propertyCount;
  const PropertyDescriptor* properties;  // own properties, kFirstOwnProperty first
  uint32_t eventCount;
  const void* events;
  uint32_t methodCount;
  const void* methods;
  const UnitKindRoutines* routines;
  uint32_t reserved[3];
};
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(UnitTypeInfo) == 56, "type records are 56 bytes");
static_assert(sizeof(PropertyDescriptor) == 20, "property descriptors are 20 bytes");
#endif

// The type record of a type id, or null for a kind the program is not built with.
const UnitTypeInfo* FindUnitType(uint32_t typeId);

// The routines of a type; all null for none.
inline const UnitKindRoutines& RoutinesOf(const UnitTypeInfo* type) {
  static constexpr UnitKindRoutines kNone = {};
  return type && type->routines ? *type->routines : kNone;
}

// The own property descriptors of a kind by type id (kFirstOwnProperty first).
const PropertyDescriptor* OwnPropertyDescriptors(uint32_t typeId, size_t* count);

// The value kind of own property `ownIndex` of a type; 0 when there is none.
uint16_t OwnPropertyKind(const UnitTypeInfo* type, int ownIndex);

// The live object behind a unit record while its window is loaded.
struct Unit {
  void* hwnd = nullptr;  // the unit's platform window (null for units without one)
  uint32_t windowId = 0;
  uint32_t unitId = 0;
  uint32_t typeId = 0;
  const UnitTypeInfo* type = nullptr;
  void* state = nullptr;  // the kind's own state, owned by the kind
  bool recreating = false;  // set while the unit's window is destroyed for a re-creation
};

}  // namespace lw
