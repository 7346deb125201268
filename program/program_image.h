// Data of the program image that the information block points at.
#pragma once
#include <cstdint>

#include "runtime/core/values/types.h"

namespace lw::program {

// The application's constant data. Compiled code passes a text variable that holds
// null as the constant empty text, and a null byte set as the constant empty block.
struct Constants {
  char emptyText[4];
  ByteSetHeader emptyByteSet;
};
extern const Constants kConstants;

}  // namespace lw::program
