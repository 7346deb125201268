// Window procedures are called by the platform through frames that cannot carry a
// C++ exception: one thrown out of a procedure ends the process. Every procedure
// of the runtime is registered through Guarded, so a block that cannot be had
// while one message is handled ends that message instead of the program.
#pragma once
#include <windows.h>

#include <exception>

namespace lw {

template <WNDPROC Proc>
LRESULT CALLBACK Guarded(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
  try {
    return Proc(hwnd, msg, wp, lp);
  } catch (const std::exception&) {
    // A paint that gave up must still leave the window valid, or it is asked again
    // at once, for ever.
    if (msg == WM_PAINT) ValidateRect(hwnd, nullptr);
    return 0;
  }
}

}  // namespace lw
