#include "runtime/core/values/runtime_error.h"

#include <cstdio>
#include <cstdlib>

#include "runtime/core/values/error_texts.h"

namespace lw {
namespace {

void abortSink(const char* message, int code, bool showBox) {
  if (showBox) fprintf(stderr, "%s", BuildRuntimeErrorText(message, code).c_str());
  abort();
}

FatalErrorSink g_sink = &abortSink;
RuntimeErrorHandler g_handler = nullptr;
bool g_handlerRunning = false;

}  // namespace

const char* RuntimeErrorMessage(int number) {
  if (number < 1 || number >= error_number::Count) return nullptr;
  return error_text::Numbered[number];
}

std::string BuildRuntimeErrorText(const char* message, int code) {
  std::string text = "运行时出错!\r\n\r\n";
  if (code != 0) text += "错误代码：" + std::to_string(code) + "\r\n\r\n";
  if (message && *message) text += std::string("错误信息：") + message + "\r\n";
  return text;
}

void SetFatalErrorSink(FatalErrorSink sink) { g_sink = sink ? sink : &abortSink; }
void SetRuntimeErrorHandler(RuntimeErrorHandler handler) { g_handler = handler; }

void ReportFatalError(const char* message, int code) {
  bool showBox = true;
  if (g_handler && !g_handlerRunning) {
    g_handlerRunning = true;
    showBox = g_handler(code, message) == 0;
    g_handlerRunning = false;
  }
  g_sink(message, code, showBox);
  abort();
}

void ReportRuntimeError(int number) { ReportFatalError(RuntimeErrorMessage(number), number); }

}  // namespace lw
