// What assistive technology reads of a unit through the platform's accessibility
// interface. The platform's standard object answers for most units; where it
// cannot know the answer (an edit box named by one of the runtime's own labels,
// the runtime's own drawn kinds, a name the application gave), the unit's window
// answers with an object that says that much itself and hands every other question
// to the standard object.
#pragma once
#include <windows.h>

#include "runtime/ui/unit.h"

namespace lw {

struct ArgRecord;
struct ResultRecord;

// WM_GETOBJECT for a unit's window: true with the answer in *result when the unit's
// client object says something the standard object does not; false leaves the
// message to the platform.
bool AnswerAccessibleObject(Unit* unit, WPARAM wp, LPARAM lp, LRESULT* result);

// The unit's window goes away for good (not for a re-creation): the name and value
// given to it go too.
void ForgetAccessibleName(const Unit* unit);

// Tells assistive technology that what a unit's window is called changed, so that a
// screen reader reads it out (a status line's new text).
void AnnounceNameChange(HWND hwnd);

// Whether the application marked the unit as a live region (MarkLiveRegion).
bool IsLiveRegion(const Unit* unit);
// A live region's text was set: the name change, and the live region's change as
// well, for readers that follow live regions. The first one for a window also gives
// it the platform's live setting, polite, where the platform takes it. A unit that
// is no live region is left alone.
void AnnounceLiveRegion(const Unit* unit);

namespace commands {
// SetAccessibleName: 1 window unit (window id, unit id), 2 name text, 3 value text
// (optional: omitted, the standard object's value stands). A unit that is not
// loaded is left alone.
void SetAccessibleName(ResultRecord* r, int argc, ArgRecord* args);
// MarkLiveRegion: 1 window unit (window id, unit id). The unit's text is news each
// time the program sets it, the same text again included, and is read out without
// interrupting the reader (polite). A unit that is not loaded is left alone.
void MarkLiveRegion(ResultRecord* r, int argc, ArgRecord* args);
}  // namespace commands

}  // namespace lw
