// Calling the program's DLL commands from application code, as compiled code does:
// through the service table, every argument a 32-bit word.
#pragma once
#include <cstdint>
#include <initializer_list>

#include "runtime/core/services/service_table.h"

namespace lw {

// A pointer as the argument word a DLL command takes.
inline uint32_t word(const void* p) { return uint32_t(reinterpret_cast<uintptr_t>(p)); }

// Calls DLL command `index` of the program's table with `args`; its 32-bit result.
inline uint32_t callDll(int index, std::initializer_list<uint32_t> args) {
  return uint32_t(kServices.callDllCommand(index, int(args.size()), args.size() ? args.begin() : nullptr));
}

}  // namespace lw
