#include "runtime/core/values/memory.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "runtime/core/values/error_texts.h"
#include "runtime/core/values/runtime_error.h"

namespace lw {
namespace {

HeapOps g_heap = {&malloc, &realloc, &free};
const uint8_t* g_constStart = nullptr;
const uint8_t* g_constEnd = nullptr;

[[noreturn]] void allocationFailed(size_t n) {
  char msg[64];
  snprintf(msg, sizeof msg, error_text::AllocationFailed, int(n));
  ReportFatalError(msg, 0);
}

}  // namespace

void SetHeapOps(const HeapOps& ops) { g_heap = ops; }
HeapOps CurrentHeapOps() { return g_heap; }

void SetConstantArea(const void* start, size_t length) {
  if (!start || length == 0) return ClearConstantArea();
  g_constStart = static_cast<const uint8_t*>(start);
  g_constEnd = g_constStart + length;
}

void ClearConstantArea() { g_constStart = g_constEnd = nullptr; }

bool IsInConstantArea(const void* p) {
  auto b = static_cast<const uint8_t*>(p);
  return g_constStart && b >= g_constStart && b < g_constEnd;
}

void* TryAllocMemory(size_t n) { return g_heap.alloc(n ? n : 1); }

void* AllocMemory(size_t n) {
  void* p = TryAllocMemory(n);
  if (!p) allocationFailed(n);
  return p;
}

void FreeMemory(void* p) {
  if (!p || IsInConstantArea(p)) return;
  g_heap.release(p);
}

void* ResizeMemory(void* p, size_t n) {
  if (!p) return AllocMemory(n);
  if (IsInConstantArea(p)) {
    // Constant data is never resized in place: the caller gets a fresh copy.
    void* copy = AllocMemory(n);
    size_t avail = size_t(g_constEnd - static_cast<const uint8_t*>(p));
    memcpy(copy, p, n < avail ? n : avail);
    return copy;
  }
  void* q = g_heap.resize(p, n ? n : 1);
  if (!q) allocationFailed(n);
  return q;
}

void MakeArrayPrivate(size_t elementSize, void** arrayVariable) {
  void* block = *arrayVariable;
  if (!block || !IsInConstantArea(block)) return;
  uint32_t dims;
  memcpy(&dims, block, 4);
  size_t header = 4 + size_t(dims) * 4, count = 1, bytes = 0;
  for (uint32_t i = 0; i < dims; ++i) {
    uint32_t size;
    memcpy(&size, static_cast<uint8_t*>(block) + 4 + 4 * i, 4);
    if (!checkedMul(count, size, &count)) allocationFailed(SIZE_MAX);
  }
  if (!checkedMul(count, elementSize, &bytes) || !checkedAdd(bytes, header, &bytes)) allocationFailed(SIZE_MAX);
  void* copy = AllocMemory(bytes);
  memcpy(copy, block, bytes);
  *arrayVariable = copy;
}

}  // namespace lw
