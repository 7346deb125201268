// The parts of the regex object that need no platform: the flags execute writes,
// the pattern handed to the component, and the byte search behind positions. The
// text work goes through the core library's commands.
#include <cstring>

#include "regex/regex_object.h"
#include "runtime/core/services/core_commands.h"
#include "runtime/core/services/service_table.h"
#include "runtime/core/values/values.h"

namespace regex {
namespace {

// Stands for one double quote in pattern texts.
const char kQuotePlaceholder[] = "#引号";

lw::ArgRecord textArg(const char* s) { return {reinterpret_cast<lw::Word>(s ? s : ""), 0, lw::type::Text}; }
lw::ArgRecord intArg(int32_t v) { return {lw::Word(uint32_t(v)), 0, lw::type::Int}; }

}  // namespace

ExecuteSettings executeSettings(const bool* caseSensitive, const bool* multiline, const bool* global,
                                const bool* quoteEscape) {
  ExecuteSettings s;
  s.ignoreCase = caseSensitive ? !*caseSensitive : true;
  s.multiline = multiline ? *multiline : true;
  s.global = global ? *global : true;
  s.quoteEscape = quoteEscape ? *quoteEscape : false;
  return s;
}

lw::Text componentPattern(const char* pattern, bool quoteEscape) {
  if (!quoteEscape) {
    size_t n = pattern ? strlen(pattern) : 0;
    return lw::MakeText(pattern, n);
  }
  // Exact match, every occurrence.
  lw::ArgRecord args[6] = {textArg(pattern), textArg(kQuotePlaceholder), textArg("\""),
                           {0, 0, lw::type::None}, {0, 0, lw::type::None}, {1, 0, lw::type::Logical}};
  return reinterpret_cast<lw::Text>(lw::CallLibraryCommand(&lw::core::ReplaceSubText, 6, args).low);
}

int32_t findFrom(const char* subject, const char* what, int32_t from) {
  size_t len = subject ? strlen(subject) : 0;
  if (from < 0 || size_t(from) > len) return -2;
  if (!what || !*what) return from;
  lw::ArgRecord args[4] = {textArg(subject), textArg(what), intArg(from + 1), {0, 0, lw::type::Logical}};
  int32_t p = int32_t(lw::CallLibraryCommand(&lw::core::FindText, 4, args).low);
  return p < 1 ? -2 : p - 1;
}

}  // namespace regex
