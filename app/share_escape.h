// Escaping of a share address for the QR service's "value" parameter.
//
// The escape is what JScript's escape() answers for the value written into the
// one-line function "function xx(){var x='<value>';return escape(x);}" and run by
// the platform's script control, computed here directly: no user text ever reaches
// a script engine, and no script component is needed. Pure; the conversion of the
// value to UTF-16 is the code-page unit's. The tests check it against the script
// control itself (tests/support/script_control_escape_win.h).
#pragma once
#include <optional>
#include <string>

#include "runtime/core/values/types.h"

namespace app {

// escapeShareValue(value[, keepBrackets][, keepJson][, percentUSubstitute]):
// keepBrackets turns %7B %7D %5B %5D back into braces and brackets, keepJson
// %3A %2C %22 back into colon, comma and double quote, and a percentUSubstitute
// that is neither "%u" nor blank replaces every "%u". The empty text when the
// statement would be rejected (a carriage return or line feed in the value, or a
// backslash that swallows the closing quote).
lw::Text escapeShareValue(const char* value, bool keepBrackets = false, bool keepJson = false,
                          const char* percentUSubstitute = nullptr);

// The optional restorations after escaping, in their order: braces and brackets,
// JSON punctuation, the "%u" substitute, and "’" back to the apostrophe.
std::string applyEscapeOptions(std::string escaped, bool keepBrackets, bool keepJson,
                               const char* percentUSubstitute);

// One find/replace pair of replacePairs; a null replacement is the empty text.
struct ReplacePair {
  const char* find;
  const char* replacement;
};
// Applies the pairs in order, each to the result of the previous one, with the
// same count (below 0: every occurrence), start position (0 or 1: the beginning)
// and letter-case choice.
lw::Text replacePairs(const char* text, const ReplacePair* pairs, int pairCount, int count = -1, int start = 0,
                      bool caseSensitive = false);

// The QR image address for an escaped value.
lw::Text qrImageAddress(const char* qrValue);

// The script engine's two steps on UTF-16 text, open to tests and the benchmark:
// the value of a single-quoted string literal with this body (nothing when the
// engine rejects the statement), and escape() of a string.
std::optional<std::u16string> scriptLiteralValue(const std::u16string& body);
std::string scriptEscape(const std::u16string& s);

}  // namespace app
