// The runtime's requests: what a runtime library asks of the runtime through the
// callback entry it is handed at start (code, argument 1, argument 2). The core
// answers the ones about the program, its memory and its end; the window system
// answers the ones about unit types, windows and events. Each number is written
// here and nowhere else.
#pragma once
#include <cstdint>

namespace lw {
namespace runtime_request {

constexpr int FindUnitType = 1002;      // type id -> the unit type record, or null
constexpr int ProgramDirectory = 2002;  // -> the program's folder, the runtime's own text
constexpr int ProgramFileName = 2003;   // -> the program's file name, the runtime's own text
constexpr int LoadWindow = 2005;        // a LoadWindowRecord -> 0 when loaded, -1 when not
constexpr int FindLiveUnit = 2006;      // window id, unit id (0: the window) -> the live unit, or null
constexpr int GetLiveUnit = 2007;       // as FindLiveUnit, but a missing unit is a fatal error
constexpr int RaiseEvent = 2008;        // an event record -> non-zero when a handler ran
constexpr int SuspendEvents = 2009;     // no event reaches the application until resumed
constexpr int ResumeEvents = 2010;
constexpr int Allocate = 2024;          // byte count, 0: fatal on failure / else null -> the block
constexpr int Free = 2025;              // block
constexpr int Resize = 2026;            // block, byte count -> the block
constexpr int FatalError = 2027;        // message text; does not return
constexpr int EndProgram = 2028;        // exit code; does not return
constexpr int RaiseTypedEvent = 2031;   // a typed event record -> non-zero when a handler ran

}  // namespace runtime_request

// What LoadWindow points at.
struct LoadWindowRecord {
  uint32_t windowId;
  void* parentUnit;  // the parent window's live unit, or null
  uint32_t modal;    // non-zero: the call returns when the window closes
};

}  // namespace lw
