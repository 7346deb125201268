// The core library's built-in commands. Each is a LibraryCommand reached through
// CallLibraryCommand: it reads its argument records by position (an omitted
// optional argument has type word 0), calls the text and value routines and writes
// its result into the result record. Every text, byte set or array it returns is a
// new block owned by the caller; an empty result is null.
//
// The commands that touch the platform are declared in core_commands_win.h;
// everything here is pure.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/core/values/types.h"

namespace lw::core {

// Texts
void TextLength(ResultRecord* r, int argc, ArgRecord* args);
void TextLeft(ResultRecord* r, int argc, ArgRecord* args);
void TextRight(ResultRecord* r, int argc, ArgRecord* args);
void TextMiddle(ResultRecord* r, int argc, ArgRecord* args);
void CharFromCode(ResultRecord* r, int argc, ArgRecord* args);
void FindText(ResultRecord* r, int argc, ArgRecord* args);
void FindTextBackward(ResultRecord* r, int argc, ArgRecord* args);
void ToLowerCase(ResultRecord* r, int argc, ArgRecord* args);
void TrimSpaces(ResultRecord* r, int argc, ArgRecord* args);
void RemoveAllSpaces(ResultRecord* r, int argc, ArgRecord* args);
void ReplaceSubText(ResultRecord* r, int argc, ArgRecord* args);
void SplitText(ResultRecord* r, int argc, ArgRecord* args);
void BlankText(ResultRecord* r, int argc, ArgRecord* args);
// Conversions
void ToInteger(ResultRecord* r, int argc, ArgRecord* args);
void ToText(ResultRecord* r, int argc, ArgRecord* args);
void ToByteSet(ResultRecord* r, int argc, ArgRecord* args);
// Byte sets
void ByteSetLength(ResultRecord* r, int argc, ArgRecord* args);
void ByteSetLeft(ResultRecord* r, int argc, ArgRecord* args);
void BlankByteSet(ResultRecord* r, int argc, ArgRecord* args);
void GetByteSetData(ResultRecord* r, int argc, ArgRecord* args);
void BitOr(ResultRecord* r, int argc, ArgRecord* args);

// The pure commands by name (kPlatformCommands in core_commands_win.h holds the
// rest). The lookup gives null for an unknown name.
struct CommandEntry {
  const char* name;
  LibraryCommand routine;
};
extern const CommandEntry kCoreCommands[];
extern const size_t kCoreCommandCount;
LibraryCommand FindCoreCommand(const char* name);

// A text argument as the commands read it (through its address when passed by
// reference); never null: an argument of another type reads as empty.
const char* TextArgument(const ArgRecord& a);

// What ShowMessageBox asks the platform for, worked out from its arguments.
struct MessageBoxRequest {
  std::string text;
  std::string caption;
  uint32_t style = 0;   // with the task-modal flag added unless system-modal was asked
  bool ownerIsUnit = false;  // owner is the window of (windowId)
  uint32_t windowId = 0;
  uintptr_t ownerHandle = 0;  // an owner given as a window handle; 0: none
};
constexpr uint32_t kSystemModal = 0x1000;
constexpr uint32_t kTaskModal = 0x2000;
MessageBoxRequest PrepareMessageBox(int argc, const ArgRecord* args);

}  // namespace lw::core
