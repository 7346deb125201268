// The keys a window of the runtime answers the way the platform's dialogs do: Enter
// clicks the button that belongs to the focus, Shift+F10 and the menu key ask for a
// context menu, and a window that is shown for the first time puts the focus on its
// first control in Tab order. Tab itself, Shift+Tab
// and the arrows are the platform's own dialog keys (IsDialogMessageW), which
// follow the z-order the loader gives the controls.
#pragma once
#include <windows.h>

namespace lw {

// Enter in a control that does not take Enter itself: on a list's selected row, the
// row's action (ActivateSelectedRow); elsewhere the button for that control (see
// DefaultButtonFor) is clicked through the same notification a mouse click sends.
// The focus stays where it is. True when the key was used.
bool PressDefaultButton(HWND window, const MSG* msg);

// Shift+F10 and the menu key ask the control with the focus for its context menu,
// as WM_CONTEXTMENU at (-1, -1), once per press and without entering the menu bar's
// keyboard mode (which a plain F10 keeps). True when the key was used.
bool SendKeyboardContextRequest(const MSG* msg);

// The button Enter clicks when `focus` has the focus: a focused push button itself;
// in a single-line edit box, the push button that Tab goes to next from it (the
// button that stands for the box's job); otherwise the window's default button, if
// one is marked so. Null when there is none or it is disabled.
HWND DefaultButtonFor(HWND window, HWND focus);

// Shows the button DefaultButtonFor gives for the window's focus as the default
// push button and every other push button of the window as a plain one, as the
// platform's dialogs move the default look with the focus. Where Enter presses
// nothing, no button looks like the default.
void ShowDefaultButtonLook(HWND window);

// The first control Tab reaches in a window: the first visible, enabled tab stop in
// z-order, looking into containers that hold controls. Null when there is none.
HWND FirstTabStop(HWND window);

}  // namespace lw
