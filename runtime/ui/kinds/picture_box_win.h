// What the picture box kind offers beyond its properties: the picture it shows can
// be taken away (copied, or saved as PNG under a name the program may suggest).
#pragma once
#include <windows.h>

#include "runtime/ui/unit.h"

namespace lw {

// The file name the save dialog suggests for the box's picture (a GBK text); a box
// the program names nothing for suggests "图片.png".
void SetPictureBoxSaveName(Unit* box, const char* name);

// The one visible picture box under `window` that shows a picture: where the keys
// of a window that has the focus itself (Ctrl+C, the context-menu key) go. Null
// when there is none, or more than one and so no telling which is meant.
HWND ShownPictureBoxOf(HWND window);

}  // namespace lw
