// The value forms shared by compiled application code, the runtime's commands and
// the window system: type words, argument and result records, and the block layouts
// of texts, byte sets and arrays. Pure: builds natively too.
#pragma once
#include <cstddef>
#include <cstdint>

namespace lw {

// A 32-bit code naming a value's type. Basic types lie in 0x80000000-0xBFFFFFFF,
// library types are (library number << 16) | type number.
using TypeWord = uint32_t;

namespace type {
constexpr TypeWord None = 0;
constexpr TypeWord Byte = 0x80000101;
constexpr TypeWord Short = 0x80000201;
constexpr TypeWord Int = 0x80000301;
constexpr TypeWord Long = 0x80000401;
constexpr TypeWord Single = 0x80000501;
constexpr TypeWord Double = 0x80000601;
constexpr TypeWord Logical = 0x80000002;
constexpr TypeWord DateTime = 0x80000003;
constexpr TypeWord Text = 0x80000004;
constexpr TypeWord ByteSet = 0x80000005;
constexpr TypeWord SubPointer = 0x80000006;
constexpr TypeWord WindowUnit = 0x00010001;
constexpr TypeWord MenuUnit = 0x00010003;
constexpr TypeWord Object = 0x00010030;
constexpr TypeWord Variant = 0x00010031;
constexpr TypeWord ListViewUnit = 0x00030004;

// Added to a type word when the argument is passed by reference: value low then
// holds the address of the caller's variable (or of the array block).
constexpr TypeWord ByRef = 0x20000000;
// Added to mark an array of the base type.
constexpr TypeWord ArrayFlag = 0x40000000;

constexpr TypeWord base(TypeWord t) { return t & ~(ByRef | ArrayFlag); }
constexpr bool isByRef(TypeWord t) { return (t & ByRef) != 0; }
constexpr bool isArray(TypeWord t) { return (t & ArrayFlag) != 0; }
constexpr bool isBasic(TypeWord t) { return (base(t) & 0xC0000000u) == 0x80000000u; }
constexpr bool isNumeric(TypeWord t) { return isBasic(t) && (base(t) & 0xFF) == 0x01; }
constexpr bool isLibraryType(TypeWord t) { return base(t) >= 1 && base(t) <= 0x3FFFFFFF; }

// Bytes a value of this basic type occupies in a record, an array element or raw
// data; 0 for types that are not basic.
constexpr uint32_t valueSize(TypeWord t) {
  switch (base(t)) {
    case Byte: return 1;
    case Short: return 2;
    case Int: case Single: case Logical: case SubPointer: return 4;
    case Text: case ByteSet: case Object: case Variant: return sizeof(void*);
    case Long: case Double: case DateTime: return 8;
    default: return 0;
  }
}
}  // namespace type

// A value word of a record. On the 32-bit target it is 32 bits; the native test
// build widens it so that a pointer still fits (only the low 32 bits of a 64-bit
// value's halves are then used).
#if UINTPTR_MAX == 0xFFFFFFFFu
using Word = uint32_t;
#else
using Word = uintptr_t;
#endif

// One argument of a library command: 12 bytes, laid out consecutively in argument order.
struct ArgRecord {
  Word low;       // the value, its low half, or a pointer
  Word high;      // high half of 64-bit values; the control id of a window unit
  TypeWord type;  // 0 for an omitted optional argument
};

// What a library command hands back: zero-filled before the command runs.
struct ResultRecord {
  Word low;
  Word high;
  TypeWord type;
};
#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(ArgRecord) == 12, "argument records are 12 bytes");
static_assert(sizeof(ResultRecord) == 12, "result records are 12 bytes");
#endif

// A library command routine: (result record, argument count, first argument record).
using LibraryCommand = void (*)(ResultRecord* result, int argc, ArgRecord* args);

// Texts are NUL-terminated GBK byte strings; null is the empty text.
using Text = char*;

// A byte set block: dimension count 1, length, then the bytes.
struct ByteSetHeader {
  uint32_t dims;    // always 1
  uint32_t length;  // number of data bytes
};
static_assert(sizeof(ByteSetHeader) == 8, "byte set header is two words");
using ByteSet = ByteSetHeader*;

inline uint8_t* byteSetData(ByteSet b) { return reinterpret_cast<uint8_t*>(b + 1); }
inline const uint8_t* byteSetData(const ByteSetHeader* b) { return reinterpret_cast<const uint8_t*>(b + 1); }
inline uint32_t byteSetLength(const ByteSetHeader* b) { return b ? b->length : 0; }

// An array block: dimension count n, n dimension sizes, then the elements.
// Indexing is 1-based; pointer-valued elements are owned by the array.
using ArrayBlock = uint32_t*;

// Unpacking values from the two value words of a record.
inline uint64_t recordValue64(const ArgRecord& a) { return (uint64_t(uint32_t(a.high)) << 32) | uint32_t(a.low); }
template <class T> inline T* recordPointer(const ArgRecord& a) { return reinterpret_cast<T*>(a.low); }
inline void setResult64(ResultRecord* r, uint64_t v) { r->low = Word(uint32_t(v)); r->high = Word(uint32_t(v >> 32)); }
inline void setResultPointer(ResultRecord* r, const void* p) { r->low = reinterpret_cast<Word>(p); r->high = 0; }

}  // namespace lw
