#include "app/program_state.h"

#include <initializer_list>

#include "runtime/core/values/memory.h"

namespace app {

ProgramState g_state = {nullptr, nullptr, nullptr, nullptr};

void InitialiseProgramState() {}

void CleanupProgramState() {
  for (lw::Text* t : {&g_state.ownerNumber, &g_state.suffixedAddress, &g_state.postId, &g_state.qrValue}) {
    if (*t) lw::FreeMemory(*t);
    *t = nullptr;
  }
}

}  // namespace app
