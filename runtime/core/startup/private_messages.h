// The runtime's private window messages, every one named here once. They lie in the
// range from WM_APP (0x8000) up, where no platform control answers them.
#pragma once
#include <cstdint>

namespace lw {
namespace private_message {

// To the program's hidden owner window: end the program. Another thread (or another
// program) asks the main thread with it; wParam is the exit code.
constexpr uint32_t EndRequest = 0x83E7;

// All units of the window exist and sit in their containers. Sent to every unit
// with a window, last record first, when a window is made, and to a re-created
// unit once it stands in the old one's place. The edit box makes its up-down
// buddy beside it then.
constexpr uint32_t AllUnitsExist = 0x806F;

// The window's units are ready (to the window, or for a re-created unit of a kind
// that asks for it, to its parent), and creation is over (to every unit). These
// numbers are kept for kinds that would need them; none the program is built with
// does, so the runtime does not send them.
constexpr uint32_t WindowUnitsReady = 0x8004;
constexpr uint32_t CreationFinished = 0x8076;

// Posted by a list to itself after a batch of changes made without redrawing: the
// list draws again once the batch is over.
constexpr uint32_t ReleaseRedraw = 0x8301;

static_assert(EndRequest >= 0x8000 && AllUnitsExist >= 0x8000 && WindowUnitsReady >= 0x8000 &&
                  CreationFinished >= 0x8000 && ReleaseRedraw >= 0x8000,
              "private messages lie at or above WM_APP");

}  // namespace private_message
}  // namespace lw
