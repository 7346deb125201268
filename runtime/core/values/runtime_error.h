// Run-time errors: the numbered messages compiled code raises, the text of the fatal
// error box, and the report that ends the program. Pure: showing the box and ending
// the process are plugged in by the platform layer.
#pragma once
#include <string>

namespace lw {

// The message of run-time error `number` (1 to 11), or null for an unknown number.
const char* RuntimeErrorMessage(int number);

// "运行时出错!" followed by the code and message lines, exactly as the error box shows it.
std::string BuildRuntimeErrorText(const char* message, int code);

// Where a fatal error goes: show the box when asked (a handler may have taken the
// error), empty the cleanup list and end the program with -1. The sink must not
// return; if it does, the process is aborted.
using FatalErrorSink = void (*)(const char* message, int code, bool showBox);
void SetFatalErrorSink(FatalErrorSink sink);

// An optional handler that may take an error before the box is shown; a non-zero
// result suppresses the box. Nested errors do not call it again.
using RuntimeErrorHandler = int (*)(int code, const char* message);
void SetRuntimeErrorHandler(RuntimeErrorHandler handler);

[[noreturn]] void ReportFatalError(const char* message, int code);
[[noreturn]] void ReportRuntimeError(int number);

}  // namespace lw
