// The value forms every party exchanges: making and freeing texts, byte sets and
// arrays as blocks of the runtime allocator, date-time clamping and calendar fields,
// formatting a value as text, and reading a value out of raw bytes. Pure.
//
// Ownership: a block returned by anything here belongs to the caller, who frees it
// with FreeMemory (for arrays of texts or byte sets: FreePointerArray). Empty texts
// and byte sets are null, never a block holding nothing.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/core/values/types.h"

namespace lw {

// A block size that overflows the address space: the fatal allocation failure.
[[noreturn]] void ReportUnaddressableSize();

// ---- Texts ----

// A new text holding the n bytes at p and a NUL; null when n is 0.
Text MakeText(const char* p, size_t n);
// A copy of a NUL-terminated text; null for a null or empty text.
Text CopyText(const char* s);
// A new text of n copies of byte c; null when n is 0.
Text MakeFilledText(char c, size_t n);
// Length of a text that may be null.
size_t TextBytes(const char* s);
// True for a null or empty text.
inline bool IsEmptyText(const char* s) { return !s || !*s; }

// ---- Byte sets ----

// A new byte set holding the n bytes at p (zeros when p is null); null when n is 0.
ByteSet MakeByteSet(const void* p, size_t n);

// ---- Arrays ----

// Bytes of one element of an array of this basic or library type. Pointer-valued
// elements (texts, byte sets, objects, variants) take a machine pointer.
size_t ArrayElementSize(TypeWord elementType);
// True when array elements of this type are separately allocated blocks.
bool IsPointerElement(TypeWord elementType);

// A fresh one-dimensional array of count zero-filled elements.
ArrayBlock MakeArray(size_t count, size_t elementSize);
// Number of elements: the product of the dimension sizes. False when the block
// claims more elements than can be addressed.
bool ArrayElementCount(const uint32_t* block, size_t* count);
// Address of the first element (after the dimension count and sizes).
void* ArrayElements(ArrayBlock block);
// The 1-based element `index` of a checked element access: an index below 1 is
// run-time error 4, one above the element count run-time error 1.
void* ArrayElementAt(ArrayBlock block, int64_t index, size_t elementSize);
// Appends one element to a one-dimensional array held in *variable (null: a new
// array of one element); a block in the constant area is copied first.
void AppendArrayElement(ArrayBlock* variable, const void* element, size_t elementSize);
// Frees an array whose elements are blocks: each non-null element, then the block.
void FreePointerArray(ArrayBlock block);
// Frees an array of texts (the common case of FreePointerArray).
inline void FreeTextArray(ArrayBlock block) { FreePointerArray(block); }

// ---- Logical values ----

inline uint32_t NormaliseLogical(uint32_t word) { return word != 0 ? 1 : 0; }

// ---- Date-times ----

// Days since 1899-12-30, time of day in the fraction.
constexpr double kDateTimeMin = -657434.0;  // 100-01-01
constexpr double kDateTimeMax = 2958465.0;  // 9999-12-31
// Values outside the range become its ends; a NaN (which no calendar can show)
// becomes 0, the start of the day count.
double ClampDateTime(double days);

struct CalendarTime {
  int year, month, day;
  int hour, minute, second;
  int dayOfWeek;  // 0 Sunday .. 6 Saturday
};
// Splits a date-time into calendar fields by the automation-date rules: the whole
// days count from 1899-12-30 (Gregorian), the fraction's absolute value is the time
// of day, rounded to the nearest second. The value is clamped first.
CalendarTime SplitDateTime(double days);

// ---- Value to text ----

// Appends the display form of one basic value: `bits` holds the value's raw bytes
// in its low bytes (for a text, `text` is used instead). False, with nothing
// appended, for a type that has no display form.
bool AppendValueText(std::string& out, TypeWord type, uint64_t bits, const char* text);
// The display form as a new text (null when empty or the type has none).
Text ValueToText(TypeWord type, uint64_t bits, const char* text);

// ---- Raw data to value ----

// Makes a value of a basic type out of the bytes at data: short data is padded
// with zeros to the type's size; a logical becomes 0 or 1; a date-time is clamped;
// a text is the bytes up to the first NUL (or all of them) as a new text. The
// result words receive the value (the caller sets the type word).
void RawDataToValue(TypeWord type, const uint8_t* data, size_t size, ResultRecord* out);

}  // namespace lw
