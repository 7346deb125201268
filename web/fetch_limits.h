// The bounds every fetch keeps, in one place: how much of a body it accepts, how
// long it waits, and how much it asks for at a time. Pure.
#pragma once
#include <cstddef>
#include <cstdint>

namespace web {

// The most body bytes any of the program's fetches accepts (the notice page, the
// feed, the QR picture). A longer answer counts as a failed fetch, so a server that
// never stops talking cannot fill the memory.
constexpr size_t kMaxBodyBytes = size_t(32) << 20;

// Connecting, sending and each wait for data give up after this long, so a server
// that accepts and then says nothing cannot hold the window.
constexpr uint32_t kTimeoutMs = 15000;

// Each read asks WinINet for up to this much: every read is a call into the
// library that costs far more than copying its bytes, so a large piece lets a
// page of a megabyte arrive in a few dozen calls rather than a thousand. The body
// block starts at this size too.
constexpr int kReadChunk = 64 * 1024;

// The response header text is first asked for into a buffer of this size.
constexpr int kResponseHeaderBuffer = 5000;
// Headers that do not fit the buffer are asked for again at the size WinINet
// reports, up to this much; a server that sends more is not answered in full.
constexpr uint32_t kMaxResponseHeaders = 1 << 20;

}  // namespace web
