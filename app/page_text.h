// Fetching a page, as bytes or as text, and re-encoding fetched UTF-8 text as GBK:
// shared by the feed list, the update notice and the QR display.
#pragma once
#include "runtime/core/values/types.h"

namespace app {

// The body of a GET of `address` (every other request argument left out), at most
// the fetch limit's bytes, with the wait cursor shown meanwhile; null when the
// fetch failed or the body is empty.
lw::ByteSet fetchBody(const char* address);

// The same GET without the wait cursor: for a thread of its own, which has no
// pointer to show.
lw::ByteSet requestBody(const char* address);

// That body as text: the bytes up to the first zero byte. An empty or failed
// response gives null.
lw::Text fetchPageText(const char* address);

// A fetched body (taken over and freed) as text, the way fetchPageText reads it.
lw::Text bodyText(lw::ByteSet body);

// `text` read as UTF-8 and re-encoded in code page 936, through the program's
// code-page DLL commands; characters without a GBK form become the platform's
// replacement character. The buffers are sized for the whole result.
lw::Text utf8ToGbk(const char* text);

}  // namespace app
