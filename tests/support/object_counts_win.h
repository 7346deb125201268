// How many GDI objects and icons or cursors this process holds, to show that
// opening and closing windows leaves nothing behind.
//
// GetGuiResources answers these counts on Windows; under Wine it answers 0, but
// Wine takes a handle's low 16 bits alone as the whole handle, so every handle
// number is tried instead: GDI handles by their object type, icons and cursors by
// their icon information.
#pragma once
#include <windows.h>

namespace lw::testing {

struct ObjectCounts {
  int gdi = 0;
  int user = 0;  // icons and cursors under Wine; every USER object on Windows
};

inline ObjectCounts CountObjects() {
  ObjectCounts c;
  c.gdi = int(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
  c.user = int(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
  if (c.gdi != 0 || c.user != 0) return c;
  for (uintptr_t h = 0x20; h < 0x10000; h += 4)
    if (GetObjectType(HGDIOBJ(h))) ++c.gdi;
  for (uintptr_t h = 0x20; h < 0x10000; h += 2) {
    ICONINFO info = {};
    if (!GetIconInfo(HICON(h), &info)) continue;
    ++c.user;
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
  }
  return c;
}

}  // namespace lw::testing
