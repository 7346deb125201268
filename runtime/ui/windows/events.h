// Event delivery: the records a unit hands over to raise an event, the lookup of
// the bound handler through the window records, the suspension counter that keeps
// events away while windows are created, and the current-event context. Pure.
#pragma once
#include <cstdint>

namespace lw {

// What a handler gives back: a result and whether it gave one.
struct HandlerResult {
  int32_t present;
  int64_t value;
};

// An application event handler. The fixed-up handler address of a binding points at
// a slot of the application's handler table holding one of these.
using EventHandler = HandlerResult (*)(int argc, const uint32_t* args);

// An event with up to five plain arguments.
struct EventRequest {
  uint32_t windowId;
  uint32_t unitId;  // 0: the window's own unit
  int32_t event;
  uint32_t argc;    // 0 to 5
  uint32_t args[5];
  uint32_t resultPresent;  // set by the runtime
  int32_t result;
};

// An event with typed arguments.
struct TypedEventArg {
  uint64_t value;
  uint32_t type;
  uint32_t flags;  // bit 0: by reference; bit 1: pass both words
};
struct TypedEventRequest {
  uint32_t windowId;
  uint32_t unitId;
  int32_t event;
  uint32_t argc;  // 0 to 12
  TypedEventArg args[12];
  uint32_t resultPresent;
  int64_t result;
};

// Raises an event: 1 when a handler was found and called, 0 otherwise. Missing
// windows and units and invalid units are fatal run-time errors.
int RaiseEvent(EventRequest* request);
int RaiseTypedEvent(TypedEventRequest* request);

// A unit raising one of its own events with up to five arguments; true when a
// handler returned a result, which is then stored in *result.
bool FireUnitEvent(uint32_t windowId, uint32_t unitId, int32_t event, int32_t* result = nullptr, int argc = 0,
                   const uint32_t* args = nullptr);
// A cancellable event counts as cancelled when a result is present and equals 0.
bool FireCancellableEvent(uint32_t windowId, uint32_t unitId, int32_t event);

// While the counter is 1 or more no event reaches the application.
void SuspendEvents();
void ResumeEvents();
int EventSuspension();

// The window and unit of the event whose handler is running; window 0 otherwise.
struct EventContext {
  uint32_t windowId;
  uint32_t unitId;
};
EventContext CurrentEvent();

}  // namespace lw
