// The runtime's allocator. Every text, byte set, array and automation wrapper that
// crosses between application and runtime is a block of this allocator, so any party
// can free what another allocated. Blocks inside the application's constant area are
// never freed or changed. Pure: the heap itself is plugged in by the platform layer.
#pragma once
#include <cstddef>
#include <cstdint>

namespace lw {

// Where blocks come from: the process heap on Windows, the C library natively.
struct HeapOps {
  void* (*alloc)(size_t n);
  void* (*resize)(void* p, size_t n);  // null on failure, p left intact
  void (*release)(void* p);
};
void SetHeapOps(const HeapOps& ops);
HeapOps CurrentHeapOps();

// The application's constant data: [start, start + length). Length 0 means none.
void SetConstantArea(const void* start, size_t length);
void ClearConstantArea();
bool IsInConstantArea(const void* p);

// Failing allocations and resizes end the program with a fatal run-time error.
void* AllocMemory(size_t n);
void* ResizeMemory(void* p, size_t n);
void FreeMemory(void* p);
// An allocation that returns null on failure instead of ending the program.
void* TryAllocMemory(size_t n);

// Replaces an array block that lies in the constant area by a heap copy, so the
// caller may change or grow it; arrays elsewhere are left alone.
void MakeArrayPrivate(size_t elementSize, void** arrayVariable);

// Overflow-checked size arithmetic: false when the result does not fit.
inline bool checkedMul(size_t a, size_t b, size_t* out) {
  if (a != 0 && b > SIZE_MAX / a) return false;
  *out = a * b;
  return true;
}
inline bool checkedAdd(size_t a, size_t b, size_t* out) {
  if (b > SIZE_MAX - a) return false;
  *out = a + b;
  return true;
}

}  // namespace lw
