#include "runtime/ui/windows/events.h"

#include <cstring>

#include "runtime/core/values/error_texts.h"
#include "runtime/core/values/runtime_error.h"
#include "runtime/ui/kinds/table.h"
#include "runtime/ui/windows/table.h"

namespace lw {
namespace {

int g_suspension = 0;
EventContext g_context = {0, 0};

// The handler bound to `event` of a unit, following the unit's event source chain;
// 0 when there is none. Fatal errors for unknown windows, units and invalid units.
uintptr_t findHandler(uint32_t windowId, uint32_t* unitId, int32_t event) {
  WindowRecord* w = FindLoadedWindow(windowId);
  if (!w) ReportFatalError(error_text::EventWindowNotFound, 0);
  UnitRecord* u = *unitId == 0 ? UnitRecordAt(*w, 0) : FindUnitRecord(*w, *unitId);
  if (!u) ReportFatalError(error_text::EventUnitNotFound, 0);
  *unitId = u->id;
  // A unit may use the bindings of another unit of its type; the chain is bounded
  // by the number of units so that a loop in the data cannot hang the program.
  for (size_t steps = 0; u->eventSource != 0 && steps < w->units.size(); ++steps) {
    UnitRecord* source = FindUnitRecord(*w, u->eventSource);
    if (!source || source->typeId != u->typeId) break;
    u = source;
  }
  const UnitKind* kind = FindUnitKind(u->typeId);
  if (!kind || !(kind->flags & (type_flag::HasWindow | type_flag::MenuItem)))
    ReportFatalError(error_text::EventUnitInvalid, 0);
  if (u->menuItem) return u->menu.handler;
  for (const EventBinding& b : u->events)
    if (b.event == event) return b.handler;
  return 0;
}

HandlerResult callHandler(uintptr_t handler, uint32_t windowId, uint32_t unitId, int argc, const uint32_t* args) {
  EventHandler routine;
  memcpy(&routine, reinterpret_cast<const void*>(handler), sizeof routine);
  // The context of an event raised from inside a handler lasts only as long as that
  // inner handler; the outer one reads its own again afterwards.
  EventContext outer = g_context;
  g_context = {windowId, unitId};
  HandlerResult r = routine ? routine(argc, args) : HandlerResult{0, 0};
  g_context = outer;
  return r;
}

}  // namespace

int RaiseEvent(EventRequest* r) {
  if (g_suspension > 0) return 0;
  uint32_t unitId = r->unitId;
  uintptr_t handler = findHandler(r->windowId, &unitId, r->event);
  if (!handler) return 0;
  uint32_t argc = r->argc > 5 ? 5 : r->argc;
  HandlerResult res = callHandler(handler, r->windowId, unitId, int(argc), r->args);
  if (res.present) {
    r->resultPresent = 1;
    r->result = int32_t(res.value);
  }
  return 1;
}

int RaiseTypedEvent(TypedEventRequest* r) {
  if (g_suspension > 0) return 0;
  uint32_t unitId = r->unitId;
  uintptr_t handler = findHandler(r->windowId, &unitId, r->event);
  if (!handler) return 0;
  // Each slot becomes one or two words by its flags and type.
  uint32_t words[24];
  int n = 0;
  uint32_t argc = r->argc > 12 ? 12 : r->argc;
  for (uint32_t i = 0; i < argc; ++i) {
    const TypedEventArg& a = r->args[i];
    uint32_t lo = uint32_t(a.value), hi = uint32_t(a.value >> 32);
    if (a.flags & 1) {
      words[n++] = lo;
    } else if ((a.flags & 2) || a.type == 0x00010003 || a.type == 0x80000003 || a.type == 0x80000008 ||
               a.type == 0x80000401 || a.type == 0x80000601) {
      words[n++] = lo;
      words[n++] = hi;
    } else if (a.type == 0x80000101) {
      words[n++] = lo & 0xFF;
    } else if (a.type == 0x80000201) {
      words[n++] = uint32_t(int32_t(int16_t(lo & 0xFFFF)));
    } else {
      words[n++] = lo;
    }
  }
  HandlerResult res = callHandler(handler, r->windowId, unitId, n, words);
  if (res.present) {
    r->resultPresent = 1;
    r->result = res.value;
  }
  return 1;
}

bool FireUnitEvent(uint32_t windowId, uint32_t unitId, int32_t event, int32_t* result, int argc,
                   const uint32_t* args) {
  EventRequest r = {windowId, unitId, event, 0, {0, 0, 0, 0, 0}, 0, 0};
  for (int i = 0; i < argc && i < 5; ++i) r.args[r.argc++] = args[i];
  RaiseEvent(&r);
  if (r.resultPresent && result) *result = r.result;
  return r.resultPresent != 0;
}

bool FireCancellableEvent(uint32_t windowId, uint32_t unitId, int32_t event) {
  int32_t result = 1;
  return FireUnitEvent(windowId, unitId, event, &result) && result == 0;
}

void SuspendEvents() { ++g_suspension; }
void ResumeEvents() {
  if (g_suspension > 0) --g_suspension;
}
int EventSuspension() { return g_suspension; }

EventContext CurrentEvent() { return g_context; }

}  // namespace lw
