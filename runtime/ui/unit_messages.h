// The runtime's private messages to the units of a window being made, each named
// once. They lie above WM_APP (0x8000), where no platform control answers them.
#pragma once
#include <cstdint>

namespace lw {
namespace unit_message {

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

}  // namespace unit_message
}  // namespace lw
