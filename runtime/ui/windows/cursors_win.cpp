// The mouse pointer a unit shows: one of the system's standard cursors by number,
// or a cursor file the unit's mouse-pointer block carries.
#include "runtime/ui/windows/cursors_win.h"

#include <cstring>

#include "runtime/core/text/wide_text_win.h"
#include "runtime/ui/pictures/draw_win.h"

namespace lw {
namespace {

// Standard cursors a mouse-pointer number may name; entry 0 is the class default.
const LPCWSTR kStandardCursors[] = {
    nullptr,    IDC_ARROW,   IDC_CROSS, IDC_IBEAM, IDC_ICON,        IDC_SIZE, IDC_SIZENESW, IDC_SIZENS, IDC_SIZENWSE,
    IDC_SIZEWE, IDC_UPARROW, IDC_WAIT,  IDC_NO,    IDC_APPSTARTING, IDC_HELP, IDC_SIZEALL,  IDC_HAND,
};
constexpr int kStandardCursorCount = sizeof kStandardCursors / sizeof kStandardCursors[0];

// A cursor file as the picture decoder reads it, made into a platform cursor; icon
// files and damaged data give none.
HCURSOR cursorFromFile(const uint8_t* data, size_t size) {
  DecodedPicture picture;
  if (DecodeIconPicture(data, size, &picture)) return nullptr;
  HCURSOR cursor = picture.kind == kPictureCursor ? HCURSOR(MakePictureIcon(picture)) : nullptr;
  ReleasePictureContents(&picture);
  return cursor;
}

}  // namespace

void ReleaseUnitCursor(void** cursor) {
  HCURSOR c = HCURSOR(*cursor);
  *cursor = nullptr;
  if (!c) return;
  // The standard cursors are the system's, shared by every window: never destroyed.
  for (int i = 1; i < kStandardCursorCount; ++i)
    if (SystemCursor(kStandardCursors[i]) == c) return;
  DestroyCursor(c);
}

HCURSOR MakeUnitCursor(const uint8_t* block, size_t size) {
  if (size == 0) return nullptr;
  int32_t number = 0;
  if (size < 4) {
    number = block[0];
  } else {
    memcpy(&number, block, 4);
  }
  if (number == -1) return size > 4 ? cursorFromFile(block + 4, size - 4) : nullptr;
  if (size > 10) {
    if (HCURSOR c = cursorFromFile(block, size)) return c;
  }
  LPCWSTR id = nullptr;
  if (number > 0 && number < kStandardCursorCount) {
    id = kStandardCursors[number];
  } else {
    for (int i = 1; i < kStandardCursorCount; ++i)
      if (uintptr_t(kStandardCursors[i]) == uintptr_t(number)) id = kStandardCursors[i];
  }
  return id ? SystemCursor(id) : nullptr;
}

}  // namespace lw
