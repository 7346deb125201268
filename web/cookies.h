// The caller-held cookie jar of the web page request: a text of name=value entries
// joined by "; ", into which the cookies a response sets are merged. No expiry,
// domain or path is kept; a server deletes a cookie by setting it to "deleted".
// Pure.
#pragma once
#include <string>

#include "runtime/core/values/types.h"

namespace web {

// Folds newCookies into cookies. Both variables are rewritten: every space (0x20
// and A1 A1) is removed from both, and cookies becomes the response's entries in
// response order followed by the earlier entries whose names the response did not
// set, without deleted entries and repeated entries. Returns a copy of the new
// cookies (the caller owns it).
lw::Text mergeCookies(lw::Text* cookies, lw::Text* newCookies);

// The name of one entry: the bytes before its first "=", or the whole entry,
// trimmed of spaces.
lw::Text cookieName(const char* entry);

// Whether any text of the array has the cookie name `name` (exact comparison).
bool hasCookieNamed(const lw::ArrayBlock entries, const char* name);

// The text with repeated items (whole items, byte for byte) left out, items taken
// at `separator` and joined by it again.
lw::Text removeDuplicateItems(const char* text, const char* separator);

// 1-based index of the first text of the array equal to `item`, or -1.
int indexOfItem(const lw::ArrayBlock items, const char* item);

// The same merge on plain strings, for code that holds its texts that way.
std::string mergeCookieTexts(std::string& cookies, std::string& newCookies);

}  // namespace web
