// Finding a unit from its window, and passing control notifications from a
// container to the unit that sent them.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "runtime/ui/unit.h"

namespace lw {

// Per-kind handling of the messages a control sends to its parent (WM_COMMAND,
// WM_NOTIFY, WM_CTLCOLOR*, WM_DRAWITEM): the container hands them to the child's unit.
using UnitNotify = LRESULT (*)(Unit* unit, UINT msg, WPARAM wp, LPARAM lp, bool* handled);

// Makes a unit object for a freshly created window and ties it to the window, so
// that UnitFromWindow finds it and the object is freed with the window.
Unit* AttachNewUnit(HWND hwnd, const UnitCreateArgs& args, uint32_t typeId, void* state, UnitNotify notify,
                    void (*freeState)(void*));
Unit* UnitFromWindow(HWND hwnd);
UnitNotify NotifyRoutineOf(Unit* unit);

// The property an edit box's up-down buddy carries: the edit box it serves.
inline constexpr wchar_t kBuddyOfProp[] = L"lw.buddyOf";

// A container's window procedure calls this first: control notifications go to the
// unit of the control that sent them. True when handled (the result in *result).
bool RouteChildNotification(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, LRESULT* result);

// The window record and unit record a live unit belongs to.
struct WindowRecord;
struct UnitRecord;
UnitRecord* RecordOfUnit(const Unit* unit, WindowRecord** window = nullptr);

// Whether a record's unit is live: its slot holds an object whose window exists.
Unit* LiveUnit(UnitRecord* record);

}  // namespace lw
