// A plain text put on the clipboard, as another program would put it there.
#pragma once
#include <windows.h>

#include <cstring>
#include <string>

namespace lw::testing {

// Replaces the clipboard's content with a plain text.
inline bool PutOnClipboard(const std::string& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
  memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
  GlobalUnlock(block);
  bool ok = SetClipboardData(CF_TEXT, block) != nullptr;
  CloseClipboard();
  return ok;
}

}  // namespace lw::testing
