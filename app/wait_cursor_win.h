// The wait cursor while a network exchange runs: every exchange is synchronous,
// so the window cannot answer until it is done, and the pointer says so. The
// normal pointer comes back when the scope ends, whether the exchange worked or not.
#pragma once
#include "runtime/core/services/core_commands_win.h"
#include "runtime/core/services/service_table.h"

namespace app {

struct WaitCursor {
  WaitCursor() { lw::kServices.callLibraryCommand(&lw::core::ShowWaitCursor, 0, nullptr); }
  ~WaitCursor() { lw::kServices.callLibraryCommand(&lw::core::RestoreCursor, 0, nullptr); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace app
