// Looking a kind up in the table of kinds (table.h), and reading and writing a
// property block by the kind's row.
#include "runtime/ui/kinds/table.h"
#include "runtime/ui/unit.h"

namespace lw {

const PropertyDescriptor* OwnPropertyDescriptors(uint32_t typeId, size_t* count) {
  const UnitKind* kind = FindUnitKind(typeId);
  *count = kind ? kind->propertyCount : 0;
  return kind ? kind->properties : nullptr;
}

uint16_t OwnPropertyKind(const UnitTypeInfo* type, int ownIndex) {
  if (!type || ownIndex < 0 || uint32_t(ownIndex) >= type->propertyCount) return 0;
  return uint16_t(type->properties[ownIndex].kind & 0xFFFF);
}

const UnitKind* FindUnitKind(uint32_t typeId) {
  for (size_t i = 0; i < kUnitKindCount; ++i)
    if (kUnitKinds[i].typeId == typeId) return &kUnitKinds[i];
  return nullptr;
}

bool DecodeUnitProperties(uint32_t typeId, const uint8_t* data, size_t size, UnitProps* out, const char** reason,
                          size_t* used) {
  *out = std::monostate{};
  if (used) *used = 0;
  const UnitKind* kind = FindUnitKind(typeId);
  if (!kind || !kind->decode) {
    if (reason) *reason = "unit type without a property block";
    return false;
  }
  ByteReader in(data, data ? size : 0);
  if (!kind->decode(in, out)) {
    if (reason) *reason = in.failure() ? in.failure() : "property block is damaged";
    return false;
  }
  if (used) *used = in.consumed();
  return true;
}

bool EncodeUnitProperties(uint32_t typeId, const UnitProps& p, Bytes* out, const char** reason) {
  const UnitKind* kind = FindUnitKind(typeId);
  if (!kind || !kind->encode) {
    if (reason) *reason = "unit type without a property block";
    return false;
  }
  ByteWriter w;
  kind->encode(p, w);
  if (!w.ok()) {
    if (reason) *reason = w.failure();
    return false;
  }
  *out = w.release();
  return true;
}

}  // namespace lw
