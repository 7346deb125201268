// The escape of a share value as the platform's script control computes it,
// through the runtime's automation commands and the program's DLL commands.
#include "app/share_escape.h"
#include "app/text_between.h"
#include "runtime/core/automation_commands_win.h"
#include "runtime/core/memory.h"
#include "runtime/core/service_table.h"

namespace app {
namespace {

// Indexes in the program's DLL-command table.
constexpr int kCoInitialize = 0;
constexpr int kCoUninitialize = 1;

// The library file that describes the script control; its type name is looked up there.
const char kScriptControlLibrary[] = "msscript.ocx";

}  // namespace

lw::Text escapeShareValueByScript(const char* value, bool keepBrackets, bool keepJson,
                                  const char* percentUSubstitute) {
  using namespace lw::automation;
  std::string a = text::replaceSubText(text::of(value), "'", "’");
  const uint32_t reserved = 0;
  lw::kServices.callDllCommand(kCoInitialize, 1, &reserved);
  lw::ObjectRef control = lw::NewObjectBlock();
  createObject(control, "ScriptControl", kScriptControlLibrary);
  writeProperty(control, "Language", {lw::arg::text("JScript")});
  std::string statement = "function xx(){var x='" + a + "';return escape(x);}";
  callNumber(control, "ExecuteStatement", {lw::arg::text(statement.c_str())});
  lw::Text escaped = callText(control, "Run", {lw::arg::text("xx")});
  a = text::of(escaped);
  lw::FreeMemory(escaped);
  freeObject(control);
  lw::kServices.callDllCommand(kCoUninitialize, 0, nullptr);
  return text::toText(applyEscapeOptions(a, keepBrackets, keepJson, percentUSubstitute));
}

}  // namespace app
