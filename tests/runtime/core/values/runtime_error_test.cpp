#include "runtime/core/values/runtime_error.h"

#include <gtest/gtest.h>

#include "tests/support/fatal_trap.h"

namespace lw {
namespace {

TEST(RuntimeErrorText, CodeAndMessageLinesAppearOnlyWhenPresent) {
  EXPECT_EQ(BuildRuntimeErrorText("坏了", 6), "运行时出错!\r\n\r\n错误代码：6\r\n\r\n错误信息：坏了\r\n");
  EXPECT_EQ(BuildRuntimeErrorText("载入启动窗口失败", 0), "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
  EXPECT_EQ(BuildRuntimeErrorText("", 0), "运行时出错!\r\n\r\n");
  EXPECT_EQ(BuildRuntimeErrorText(nullptr, -3), "运行时出错!\r\n\r\n错误代码：-3\r\n\r\n");
}

TEST(RuntimeErrorText, NumberedMessages) {
  EXPECT_STREQ(RuntimeErrorMessage(4), "数组成员引用下标必须大于等于1");
  EXPECT_STREQ(RuntimeErrorMessage(6), "调用DLL命令后发现堆栈错误");
  EXPECT_STREQ(RuntimeErrorMessage(11), "所提供参数的数据类型不符合要求");
  EXPECT_EQ(RuntimeErrorMessage(0), nullptr);
  EXPECT_EQ(RuntimeErrorMessage(12), nullptr);
}

int g_handlerCalls = 0;
bool g_sawBox = false;

TEST(RuntimeErrorReport, HandlerSuppressesTheBoxButNotTheEnd) {
  SetRuntimeErrorHandler([](int, const char*) { ++g_handlerCalls; return 1; });
  SetFatalErrorSink([](const char* m, int c, bool showBox) {
    g_sawBox = showBox;
    throw testing::FatalError(m ? m : "", c);
  });
  EXPECT_THROW(ReportRuntimeError(1), testing::FatalError);
  EXPECT_EQ(g_handlerCalls, 1);
  EXPECT_FALSE(g_sawBox);
  SetRuntimeErrorHandler(nullptr);
  EXPECT_THROW(ReportRuntimeError(1), testing::FatalError);
  EXPECT_TRUE(g_sawBox);
  SetFatalErrorSink(nullptr);
}

}  // namespace
}  // namespace lw
