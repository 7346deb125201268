#include "runtime/core/runtime_error.h"

#include <cstdio>
#include <cstdlib>

namespace lw {
namespace {

// Messages by error number.
const char* const kMessages[] = {
    nullptr,
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};

void abortSink(const char* message, int code, bool showBox) {
  if (showBox) fprintf(stderr, "%s", BuildRuntimeErrorText(message, code).c_str());
  abort();
}

FatalErrorSink g_sink = &abortSink;
RuntimeErrorHandler g_handler = nullptr;
bool g_handlerRunning = false;

}  // namespace

const char* RuntimeErrorMessage(int number) {
  if (number < 1 || number >= int(sizeof kMessages / sizeof kMessages[0])) return nullptr;
  return kMessages[number];
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
