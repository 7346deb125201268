// The fixed table of service entries through which application code reaches the
// runtime. Slot order is part of the program's contract with compiled code.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/core/values/types.h"

namespace lw {

struct ServiceTable {
  [[noreturn]] void (*reportRuntimeError)(int number);                                 // 0
  uint64_t (*callDllCommand)(int index, int argc, const uint32_t* args);               // 1
  ResultRecord (*callUnitCommand)(LibraryCommand cmd, int argc, ArgRecord* args, int libraryPosition);  // 2
  ResultRecord (*callLibraryCommand)(LibraryCommand cmd, int argc, ArgRecord* args);   // 3
  uint64_t (*readProperty)(uint32_t windowId, uint32_t unitId, int property, int index);  // 4
  void (*writeProperty)(uint32_t windowId, uint32_t unitId, int property, int index, Word low, Word high);  // 5
  void* (*allocMemory)(size_t n);                                                      // 6
  void* (*resizeMemory)(void* p, size_t n);                                            // 7
  void (*freeMemory)(void* p);                                                         // 8
  [[noreturn]] void (*endProgram)(int exitCode);                                       // 9
  void (*run)();                                                                       // 10
  void (*loadStartWindow)(uint32_t windowId);                                          // 11
  intptr_t (*callService)(int number, ...);                                            // 12
};

// The runtime's table, filled at build time.
extern const ServiceTable kServices;

// Numbered services reached through slot 12.
namespace service {
constexpr int FindNextFile = 0;
constexpr int EndFileSearch = 1;
constexpr int MakeArrayPrivate = 2;
constexpr int RegisterCleanup = 3;
constexpr int ReadVariableUnitProperty = 4;
constexpr int WriteVariableUnitProperty = 5;
constexpr int InitialiseRuntime = 6;
}  // namespace service

// Library-command calls: the result record is zeroed before the command runs.
ResultRecord CallLibraryCommand(LibraryCommand cmd, int argc, ArgRecord* args);
ResultRecord CallUnitCommand(LibraryCommand cmd, int argc, ArgRecord* args, int libraryPosition);

}  // namespace lw
