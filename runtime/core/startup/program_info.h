// The fixed descriptor of the compiled application that the runtime reads at
// start-up, the runtime library descriptors it lists, and the image record a
// program hands to the runtime's entry.
#pragma once
#include <cstddef>
#include <cstdint>

namespace lw {

// Thirteen 32-bit words in the program's read-only data; addresses are absolute.
struct ProgramInfoBlock {
  uint32_t buildKind;             // 3 in this program
  uint32_t reserved1;             // kept, not consulted
  uint32_t reserved2;             // kept, not consulted
  const void* codeBase;           // handler entries in the templates are relative to it
  const void* constStart;         // the application's constant data
  uint32_t constLength;           // 0: no constant area
  const uint8_t* sectionStart;    // window template section
  uint32_t sectionLength;         // 0: no windows
  uint32_t libraryCount;
  const struct LibraryDescriptor* const* libraries;
  uint32_t dllCommandCount;
  const char* const* dllLibraryNames;  // "" means: search the system libraries
  const char* const* dllExportNames;   // "#n" names an ordinal
};

// A runtime library's notification entry: (code, argument 1, argument 2).
using LibraryNotify = intptr_t(__attribute__((stdcall)) *)(int code, intptr_t arg1, intptr_t arg2);
// The runtime's callback entry handed to every library with notification 1.
using RuntimeRequestEntry = intptr_t(__attribute__((stdcall)) *)(int code, intptr_t arg1, intptr_t arg2);

constexpr uint32_t kLibraryMagic = 20000101;  // 0x01312D65

// A read-only record per runtime library, 36 words. The runtime relies on the magic
// word and the notification entry; the rest describes the library's commands and types.
struct LibraryDescriptor {
  uint32_t magic;
  uint32_t words1to29[29];
  LibraryNotify notify;  // word 30, or null
  uint32_t words31to35[5];
};

// Library notification codes.
namespace notify {
constexpr int Start = 1;     // argument 1: the runtime's callback entry
constexpr int Shutdown = 6;  // argument 1: the library's per-library word
}  // namespace notify

// What a program image hands to the runtime: its block and its entry routine.
struct ProgramImage {
  const ProgramInfoBlock* info;
  int (*entry)();             // the application entry routine; returns 0
  size_t handlerTableBytes;   // size of the handler table at the code base
};

#if UINTPTR_MAX == 0xFFFFFFFFu
static_assert(sizeof(ProgramInfoBlock) == 13 * 4, "the information block is thirteen words");
static_assert(sizeof(LibraryDescriptor) == 36 * 4, "a library descriptor is 36 words");
static_assert(__builtin_offsetof(LibraryDescriptor, notify) == 120, "notification entry at word 30");
#endif

}  // namespace lw
