// The text algorithms on std::string, for routines that work on whole strings
// (addresses, headers, share addresses, feed items), and textBetween, which takes
// the text between two markers. Texts are GBK bytes; every walk follows the program's
// double-byte rule: a byte of 0x80 or more starts a two-byte character, matches are
// tested only at character starts, and a first byte followed by the end of the text
// ends the walk. Positions are 1-based byte positions, -1 when nothing is found.
// Pure.
#pragma once
#include <string>
#include <vector>

#include "runtime/core/values/types.h"

namespace lw::text {

// The three characters that stand for one double quote in marker texts.
extern const char kQuotePlaceholder[];

// The first occurrence of `what` in `s`, searching from byte position `start`
// (below 1: from the beginning); letter case of A-Z ignored when asked. An empty
// `what` gives 1 when the searched region is not empty.
int findText(const std::string& s, const std::string& what, int start = 1, bool ignoreCase = false);

// Replaces occurrences of `what` from byte position `start` on; `count` below 0
// means every occurrence. A first byte followed by the end of the text is dropped.
std::string replaceSubText(const std::string& s, const std::string& what, const std::string& with,
                           int start = 1, int count = -1, bool caseSensitive = true);

// Splits at `separator`: no items for an empty text, no empty last item, empty
// inner items kept; an empty separator gives the whole text as one item.
std::vector<std::string> splitText(const std::string& s, const std::string& separator);

// Spaces are the byte 0x20 and the full-width space A1 A1, nothing else.
std::string trimSpaces(const std::string& s);
std::string removeAllSpaces(const std::string& s);
// A-Z to a-z; two-byte characters untouched.
std::string toLowerCase(const std::string& s);

// The text between the first `left` and the next `right` after it, both markers
// with the quote placeholder replaced; empty when either is missing.
std::string between(const std::string& s, const std::string& left, const std::string& right,
                    int start = 1, bool ignoreCase = false);

// Reading texts that may be null, and making result texts (null when empty).
inline std::string of(const char* t) { return t ? std::string(t) : std::string(); }
lw::Text toText(const std::string& s);

// textBetween(text, left, right[, start][, ignoreCase]): a new text, null when a
// marker is missing or the span is empty.
lw::Text textBetween(const char* text, const char* left, const char* right, int start = 1,
                     bool ignoreCase = false);

}  // namespace lw::text
