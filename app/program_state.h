// The application's program-wide state: four texts, empty at start, replaced by
// assignment and released only by the cleanup routine at shutdown.
#pragma once
#include "runtime/core/values/types.h"

namespace app {

struct ProgramState {
  lw::Text ownerNumber;      // owner's QQ number from the pasted address
  lw::Text suffixedAddress;  // pasted address with ".1" appended
  lw::Text postId;           // current post id
  lw::Text qrValue;          // escaped share address last sent to the QR service
};
extern ProgramState g_state;

// The global initialiser: nothing to do, all state starts empty.
void InitialiseProgramState();
// Releases the four texts; registered to run once at shutdown.
void CleanupProgramState();

}  // namespace app
