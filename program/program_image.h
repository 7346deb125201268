// Data of the program image that the information block points at.
#pragma once
#include <cstdint>

#include "runtime/core/types.h"

namespace program {

// The application's constant data. Compiled code passes a text variable that holds
// null as the constant empty text, and a null byte set as the constant empty block.
struct Constants {
  char emptyText[4];
  lw::ByteSetHeader emptyByteSet;
};
extern const Constants kConstants;

// The window template section and its length word.
extern const uint8_t kWindowSection[];
extern const uint32_t kWindowSectionSize;

// Handler entries in the section are byte offsets from this address.
extern const uint8_t* const kCodeBase;

}  // namespace program
