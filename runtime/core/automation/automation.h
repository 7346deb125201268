// Automation objects and variants: the blocks that hold them, the per-thread last
// automation result, and the tables the object and variant commands follow. The
// commands themselves touch the platform (automation_commands_win.h); what is
// decided here is pure and builds natively.
//
// An object value is a pointer to an ObjectBlock, a variant value a pointer to a
// VariantBlock. Both blocks come from AllocMemory and are all zero when empty.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "runtime/core/values/types.h"

namespace lw {

// 8 bytes on the target: the object's base interface (one reference held) and, for
// a structure value received from a component, its data (the interface is then the
// record's type-information interface).
struct ObjectBlock {
  void* iface;
  void* record;
};
using ObjectRef = ObjectBlock*;

// 16 bytes holding one platform VARIANT, owned by the variable.
struct alignas(8) VariantBlock {
  uint8_t bytes[16];
};
using VariantRef = VariantBlock*;

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(ObjectBlock) == 8, "an object block is two words");
#endif
static_assert(sizeof(VariantBlock) == 16, "a variant block holds one VARIANT");

namespace automation {

// The last automation result: 0 on success, else one of these.
enum Code : int32_t {
  kOk = 0,
  kEmptyObject = -1,
  kNoDispatch = -2,
  kUnknownName = -3,
  kNoTypeInfo = -4,
  kTooManyArguments = -5,
  kBadArgumentType = -7,
  kBadResultType = -8,
  kBadParamCount = -9,
  kBadVarType = -10,
  kException = -11,
  kMemberNotFound = -12,
  kNoNamedArgs = -13,
  kOverflow = -14,
  kParamNotFound = -15,
  kTypeMismatch = -16,
  kParamNotOptional = -17,
  kOtherFailure = -18,
};

// Kept per thread; set by every read, call and write.
int32_t LastResult();
void SetLastResult(int32_t code);

// The code for a failed invocation's HRESULT.
int32_t CodeForInvokeFailure(uint32_t hresult);

// The three ways InvokeByName uses a name.
enum class Use { Read, Call, Write };

// Invocation kinds as the platform numbers them (they double as dispatch flags).
constexpr uint16_t kInvokeFunc = 1;
constexpr uint16_t kInvokePropertyGet = 2;
constexpr uint16_t kInvokePropertyPut = 4;
constexpr uint16_t kInvokePropertyPutRef = 8;

// The kinds tried, in order, until one binds: a null-terminated list.
const uint16_t* InvokeKindOrder(Use use);

// Arguments that count: those after object and name, less trailing omitted ones.
int CountGivenArguments(int argc, const ArgRecord* args);

// Whether `given` arguments fit a member with `params` parameters of which
// `optional` are optional (-1: a variable argument list in the last one).
// kOk, or kTooManyArguments.
int32_t CheckArgumentCount(int given, int params, int optional);

// Platform VARIANT type numbers used by the tables.
namespace vt {
constexpr uint16_t Empty = 0, I2 = 2, I4 = 3, R4 = 4, R8 = 5, Date = 7, Bstr = 8, Dispatch = 9, Error = 10,
                   Bool = 11, Variant = 12, Unknown = 13, Decimal = 14, I1 = 16, UI1 = 17, UI2 = 18, UI4 = 19,
                   I8 = 20, UI8 = 21, Int = 22, UInt = 23, Void = 24, HResult = 25, Ptr = 26, SafeArray = 27,
                   UserDefined = 29, Record = 36;
constexpr uint16_t Array = 0x2000, ByRef = 0x4000, TypeMask = 0x0FFF;
}  // namespace vt

// The VARIANT type a runtime value of this type becomes (scalars; object values
// depend on the declared parameter type and give Unknown here); vt::Empty when the
// type cannot be passed.
uint16_t VariantTypeFor(TypeWord runtimeType);
// The VARIANT type a result of this runtime type is converted to; vt::Empty when
// no conversion exists. A variant result is copied, not converted (vt::Variant).
uint16_t ResultVariantType(TypeWord runtimeType);
// The element type of a SAFEARRAY made from an array of this runtime type.
uint16_t ArrayElementVariantType(TypeWord elementType);

// The subscripts (one per dimension, first dimension first) of the 1-based element
// `index` in an array whose dimension d has extents[d] elements from lowerBounds[d]
// on; the first dimension varies fastest. False when the index lies outside.
bool ElementSubscripts(int64_t index, const std::vector<uint32_t>& extents, const std::vector<int32_t>& lowerBounds,
                       std::vector<int32_t>* subscripts);

// The byte count of an 8-bit array with these extents; false when it overflows.
bool ByteArraySize(const std::vector<uint32_t>& extents, size_t* size);

// The value code the component passes for a missing optional argument.
constexpr uint32_t kMissingArgument = 0x80020004;

}  // namespace automation

// ---- Argument records for the commands ----
namespace arg {
inline ArgRecord omitted() { return {0, 0, type::None}; }
inline ArgRecord text(const char* s) { return {reinterpret_cast<Word>(s ? s : ""), 0, type::Text}; }
inline ArgRecord textRef(Text* variable) { return {reinterpret_cast<Word>(variable), 0, type::Text | type::ByRef}; }
inline ArgRecord integer(int32_t v) { return {Word(uint32_t(v)), 0, type::Int}; }
inline ArgRecord integerRef(int32_t* variable) { return {reinterpret_cast<Word>(variable), 0, type::Int | type::ByRef}; }
inline ArgRecord logical(bool v) { return {Word(v ? 1 : 0), 0, type::Logical}; }
inline ArgRecord logicalRef(uint32_t* variable) {
  return {reinterpret_cast<Word>(variable), 0, type::Logical | type::ByRef};
}
ArgRecord number(double v);
inline ArgRecord object(ObjectRef o) { return {reinterpret_cast<Word>(o), 0, type::Object}; }
inline ArgRecord variant(VariantRef v) { return {reinterpret_cast<Word>(v), 0, type::Variant}; }
inline ArgRecord byteSet(ByteSet b) { return {reinterpret_cast<Word>(b), 0, type::ByteSet}; }
}  // namespace arg

// ---- Blocks ----
// A fresh, empty object or variant block.
ObjectRef NewObjectBlock();
VariantRef NewVariantBlock();

}  // namespace lw
