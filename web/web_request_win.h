// webPageRequest: one complete HTTP exchange through WinINet, whose functions are
// the application's DLL commands (bound by name at run time and called by their
// index in the program's DLL-command table).
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/core/values/types.h"

namespace web {

// Fetches `address` and returns the response body exactly as received (null when
// it is empty or the exchange failed); the caller owns it.
//
// Reference arguments are the addresses of the caller's variables, and a null
// address means the argument was left out. Texts written back replace the
// variable's block (the old one is freed).
//   method          0 "GET", 1 "POST", 2 "HEAD"; anything else is a GET
//   postText        data to submit as text (POST and HEAD)
//   cookies         in/out: when given (even holding the empty text) WinINet's own
//                   cookies are off, the text goes out in a "Cookie:" line and the
//                   response's cookies are merged into it
//   newCookies      out: the name=value entries the response set, joined by "; "
//   headers         in/out: extra request lines separated by CR LF; on return the
//                   whole header text that was sent
//   responseHeaders out: the raw response header text, status line first
//   noRedirect      true: WinINet does not follow redirections
//   postBytes       in/out: data to submit as bytes, preferred to postText; holds
//                   the bytes that were sent on return
//   proxy           proxy server; empty for a direct connection
//   maxBody         the most body bytes to accept (0: no bound); a longer body
//                   makes the result empty, as a failed exchange does
// When the exchange fails before the request went out (no root handle, connection
// or request handle, or the send itself failed), the result is empty and none of
// the caller's variables is changed. An address holding CR or LF is never sent.
// Connecting, sending and each wait for data give up after kTimeoutMs (fetch_limits.h).
lw::ByteSet webPageRequest(lw::Text* address, int32_t method = 0, lw::Text* postText = nullptr,
                           lw::Text* cookies = nullptr, lw::Text* newCookies = nullptr, lw::Text* headers = nullptr,
                           lw::Text* responseHeaders = nullptr, bool noRedirect = false,
                           lw::ByteSet* postBytes = nullptr, lw::Text* proxy = nullptr, size_t maxBody = 0);

}  // namespace web
