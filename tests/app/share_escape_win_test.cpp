// The direct escape against the platform's script control, run through the
// runtime's own automation commands: the engine's answer for every corpus value.
#include <gtest/gtest.h>

#include <string>

#include "app/share_escape.h"
#include "runtime/core/automation/automation_commands_win.h"
#include "runtime/core/libraries/dll_commands.h"
#include "runtime/core/services/service_table.h"
#include "runtime/core/values/memory.h"
#include "tests/data/escape_corpus.h"
#include "tests/support/program_dll_table_win.h"
#include "tests/support/script_control_escape_win.h"

namespace app {
namespace {

using lw::testing::escapeShareValueByScript;

std::string take(lw::Text t) {
  std::string s = t ? t : "";
  lw::FreeMemory(t);
  return s;
}

// Whether the script control can be created here at all.
bool scriptControlPresent() {
  lw::testing::InstallProgramDllTable();
  const uint32_t reserved = 0;
  lw::kServices.callDllCommand(lw::dll::CoInitialize, 1, &reserved);
  lw::ObjectRef o = lw::NewObjectBlock();
  bool present = lw::automation::createObject(o, "ScriptControl", "msscript.ocx");
  lw::automation::freeObject(o);
  lw::kServices.callDllCommand(lw::dll::CoUninitialize, 0, nullptr);
  return present;
}

#define REQUIRE_SCRIPT_CONTROL()                                                                     \
  if (!scriptControlPresent())                                                                       \
  GTEST_SKIP() << "the script control (msscript.ocx, type ScriptControl) cannot be created here; " \
                  "the engine's answers are not checked"

TEST(EscapeOracle, CorpusAgreesWithTheScriptEngine) {
  REQUIRE_SCRIPT_CONTROL();
  size_t agree = 0, engineDiffers = 0;
  for (const corpus::EscapeCase& c : corpus::kEscapeCases) {
    std::string direct = take(escapeShareValue(c.value));
    std::string engine = take(escapeShareValueByScript(c.value));
    EXPECT_EQ(direct, c.expected) << "direct escape of [" << c.value << "]";
    // Where this platform's engine departs from the documented one, the corpus
    // records its answer; everywhere else the two must agree.
    EXPECT_EQ(engine, c.wine ? c.wine : c.expected) << "script control's escape of [" << c.value << "]";
    if (engine == direct) ++agree;
    else if (c.wine) ++engineDiffers;
  }
  size_t n = sizeof corpus::kEscapeCases / sizeof corpus::kEscapeCases[0];
  EXPECT_GE(n, 200u);
  printf("%zu values: %zu answered alike by both routes, %zu where this engine departs as recorded\n", n, agree,
         engineDiffers);
}

TEST(EscapeOracle, OptionsAndEdgeCasesThroughBothRoutes) {
  REQUIRE_SCRIPT_CONTROL();
  struct Case {
    const char* value;
    bool brackets, json;
    const char* substitute;
    const char* expected;
  };
  const Case cases[] = {
      {"a b:c/d", false, false, nullptr, "a%20b%3Ac/d"},
      {"a b:c/d", false, true, nullptr, "a%20b:c/d"},
      {"{x}", true, false, nullptr, "{x}"},
      {"{x}", false, false, nullptr, "%7Bx%7D"},
      {"中", false, false, nullptr, "%u4E2D"},
      {"中", false, false, "\\u", "\\u4E2D"},
      {"中", false, false, "%u", "%u4E2D"},
      {"中", false, false, "   ", "%u4E2D"},
      {"'", false, false, nullptr, "%u2019"},
      {"it's", false, false, "’", "it'2019s"},
      {"", false, false, nullptr, ""},
      {"{\"a\":[1,2]}", true, true, nullptr, "{\"a\":[1,2]}"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(take(escapeShareValue(c.value, c.brackets, c.json, c.substitute)), c.expected) << c.value;
    EXPECT_EQ(take(escapeShareValueByScript(c.value, c.brackets, c.json, c.substitute)), c.expected) << c.value;
  }
}

}  // namespace
}  // namespace app
