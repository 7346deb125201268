#include "runtime/core/startup/window_system.h"

namespace lw {
namespace {
const WindowSystemOps* g_windowSystem = nullptr;
}

void SetWindowSystem(const WindowSystemOps* ops) { g_windowSystem = ops; }
const WindowSystemOps* GetWindowSystem() { return g_windowSystem; }

}  // namespace lw
