// The text algorithms behind the core commands, on (bytes, length) pairs. Pure.
//
// Texts are GBK: a byte of 0x80 or more starts a two-byte character and takes the
// next byte with it, whatever that byte is. Every walk here starts at a character
// start, tests for matches only at character starts and never splits a two-byte
// character; a first byte with no byte after it ends the walk. (A byte below 0x80 is
// either a one-byte character or a second byte, so the byte after it always starts
// a character; the search routines use that to check candidate positions cheaply.)
//
// Results are new blocks of the runtime allocator owned by the caller; an empty
// text result is null.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "runtime/core/values/types.h"

namespace lw::text {

inline bool IsLeadByte(uint8_t b) { return b >= 0x80; }

// Forward search for pat in text[from, len): the 1-based position (counted from the
// start of the whole text) of the first match at a character start of a walk that
// begins at `from`, or -1. An empty pat gives 1 when the region is not empty.
// ignoreCase treats "A"-"Z" and "a"-"z" as equal, byte by byte.
int64_t FindForward(const char* text, size_t len, const char* pat, size_t plen, size_t from, bool ignoreCase);
// Backward search: the last match lying within the first `limit` bytes (clipped to
// len), walking from the start of the text; -1 when none. An empty pat gives 1
// when that region is not empty.
int64_t FindBackward(const char* text, size_t len, const char* pat, size_t plen, size_t limit, bool ignoreCase);

// Replaces matches of pat by rep, walking from byte offset `from` (the bytes before
// it are copied unchanged); count < 0 means no limit. A lone first byte at the very
// end that the walk reaches is dropped.
Text Replace(const char* text, size_t len, const char* pat, size_t plen, const char* rep, size_t rlen, size_t from,
             int64_t count, bool ignoreCase);

// Splits at exact matches of sep. maximum < 0 means no limit, 0 gives no parts.
// A leading separator gives an empty (null) first part, adjacent separators an
// empty part between them, a trailing one no empty last part. The result is a
// fresh one-dimensional array of texts.
ArrayBlock Split(const char* text, size_t len, const char* sep, size_t slen, int64_t maximum);

// "A"-"Z" to "a"-"z"; two-byte characters untouched.
Text ToLower(const char* text, size_t len);
// A space is 0x20 or the two-byte full-width space A1 A1; nothing else counts.
Text TrimSpaces(const char* text, size_t len);
Text RemoveAllSpaces(const char* text, size_t len);

// Full-width to half-width: each of GBK's full-width forms (gbk_full_width.h: A3 A1
// to A3 FE, A1 A1, A1 AB, A1 EE, A1 EF) becomes its ASCII character; everything
// else is kept.
std::string FullWidthToHalfWidth(const char* text, size_t len);
// Decimal integer in the manner of the C library: optional leading white space
// and sign, digits up to the first non-digit, 0 when there are none. Values beyond
// the 32-bit range saturate.
int32_t ParseInteger(const char* text, size_t len);
// ParseInteger after FullWidthToHalfWidth.
int32_t TextToInteger(const char* text, size_t len);

}  // namespace lw::text
