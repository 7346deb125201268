// Lets pure tests observe fatal run-time errors: the sink throws instead of ending
// the process, carrying the message and code the error box would have shown.
#pragma once
#include <stdexcept>
#include <string>

#include "runtime/core/values/runtime_error.h"

namespace lw::testing {

struct FatalError : std::runtime_error {
  FatalError(const std::string& m, int c) : std::runtime_error(m), code(c) {}
  int code;
};

inline void throwingSink(const char* message, int code, bool) { throw FatalError(message ? message : "", code); }

// Installs the throwing sink for the lifetime of the object.
struct FatalTrap {
  FatalTrap() { SetFatalErrorSink(&throwingSink); }
  ~FatalTrap() { SetFatalErrorSink(nullptr); }
};

}  // namespace lw::testing
