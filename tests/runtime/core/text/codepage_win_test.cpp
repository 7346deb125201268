// The system's code page a test run is under. The program's texts are GBK whatever
// it is, and the runs under other code pages than 936 prove that only if the system
// really has the code page the run was set up for (through the locale): this test
// fails when it does not, so that a run cannot pass under the wrong one unnoticed.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "runtime/core/text/codepage.h"

namespace {

TEST(SystemCodePage, IsTheOneThisRunExpects) {
  const char* expected = getenv("LINKWRIGHT_EXPECT_ACP");
  const unsigned want = expected && *expected ? unsigned(strtoul(expected, nullptr, 10)) : lw::kTextCodePage;
  EXPECT_EQ(want, GetACP()) << "expected the system's code page of this run (LINKWRIGHT_EXPECT_ACP) to be " << want
                            << ", got " << GetACP();
}

}  // namespace
