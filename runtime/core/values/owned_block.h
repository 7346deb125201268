// An owning handle for a block of the runtime's allocator (a text, a byte set or any
// other block): the block is freed when the handle goes, on every way out of a
// scope. release() hands the block on to whoever takes it over. Pure.
#pragma once
#include <memory>

#include "runtime/core/values/memory.h"
#include "runtime/core/values/types.h"
#include "runtime/core/values/values.h"

namespace lw {

struct BlockFree {
  void operator()(void* block) const { FreeMemory(block); }
};

template <class T> using Owned = std::unique_ptr<T, BlockFree>;
using OwnedText = Owned<char>;
using OwnedByteSet = Owned<ByteSetHeader>;

// An array of texts: each text, then the array block, go with the handle.
struct TextArrayFree {
  void operator()(ArrayBlock block) const { FreeTextArray(block); }
};
using OwnedTextArray = std::unique_ptr<uint32_t, TextArrayFree>;

// Puts a new block into a variable that owns its block (a caller's text, a state
// text), freeing the block it held.
template <class T> void ReplaceBlock(T* variable, T value) {
  T old = *variable;
  *variable = value;
  FreeMemory(old);
}

}  // namespace lw
