// The escape of a share value as the platform's script control computes it: the
// statement "function xx(){var x='<value>';return escape(x);}" loaded with
// ExecuteStatement and xx called with Run, bracketed by starting and stopping the
// component library, all through the runtime's automation commands and the
// program's DLL commands. The tests and the escape benchmark check the program's
// direct computation (app::escapeShareValue) against it; the program never uses it.
// Needs the program's DLL-command table (InstallProgramDllTable).
#pragma once
#include <string>

#include "app/share_escape.h"
#include "runtime/core/automation/automation_commands_win.h"
#include "runtime/core/libraries/dll_commands.h"
#include "runtime/core/services/service_table.h"
#include "runtime/core/text/text_strings.h"
#include "runtime/core/values/memory.h"

namespace lw::testing {

// The library file that describes the script control; its type name is looked up there.
constexpr char kScriptControlLibrary[] = "msscript.ocx";

// The same options as app::escapeShareValue. The empty text when the control
// cannot be created or rejects the statement.
inline Text escapeShareValueByScript(const char* value, bool keepBrackets = false, bool keepJson = false,
                                     const char* percentUSubstitute = nullptr) {
  using namespace automation;
  std::string a = lw::text::replaceSubText(lw::text::of(value), "'", "’");
  const uint32_t reserved = 0;
  kServices.callDllCommand(dll::CoInitialize, 1, &reserved);
  ObjectRef control = NewObjectBlock();
  createObject(control, "ScriptControl", kScriptControlLibrary);
  writeProperty(control, "Language", {arg::text("JScript")});
  std::string statement = "function xx(){var x='" + a + "';return escape(x);}";
  callNumber(control, "ExecuteStatement", {arg::text(statement.c_str())});
  Text escaped = callText(control, "Run", {arg::text("xx")});
  a = lw::text::of(escaped);
  FreeMemory(escaped);
  freeObject(control);
  kServices.callDllCommand(dll::CoUninitialize, 0, nullptr);
  return lw::text::toText(app::applyEscapeOptions(a, keepBrackets, keepJson, percentUSubstitute));
}

}  // namespace lw::testing
