// The exchange itself: the decisions (host, port, path, agent, flags, header text,
// cookies) come from the pure address unit; this file only hands them to WinINet
// through the DLL-command service and collects what comes back.
#include "web/web_request_win.h"

#include <cstring>
#include <string>

#include "runtime/core/libraries/dll_call.h"
#include "runtime/core/libraries/dll_commands.h"
#include "runtime/core/services/service_table.h"
#include "runtime/core/text/text_strings.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/owned_block.h"
#include "runtime/core/values/values.h"
#include "web/address.h"
#include "web/cookies.h"
#include "web/fetch_limits.h"

namespace web {
namespace {

namespace text = lw::text;

using Handle = uint32_t;

namespace dll = lw::dll;
using lw::callDll;
using lw::word;
// A text handed to WinINet: an empty one goes as a null pointer.
uint32_t textWord(const std::string& s) { return s.empty() ? 0 : word(s.c_str()); }

void closeHandle(Handle h) {
  if (h) callDll(dll::InternetCloseHandle, {h});
}

// The body as it arrives: one byte set block grown by doubling, so appending a
// chunk costs amortised constant time per byte. A block that cannot be grown ends
// the reading with the exchange counted as failed.
struct Body {
  lw::OwnedByteSet block;
  size_t capacity = 0;
  bool failed = false;
};

bool appendToBody(Body* body, const uint8_t* data, size_t n) {
  size_t length = lw::byteSetLength(body->block.get());
  size_t needed;
  if (!lw::checkedAdd(length, n, &needed) || needed > UINT32_MAX) return false;
  if (needed > body->capacity) {
    size_t capacity = body->capacity ? body->capacity : size_t(kReadChunk);
    while (capacity < needed)
      if (!lw::checkedMul(capacity, 2, &capacity)) return false;
    size_t blockSize;
    if (!lw::checkedAdd(capacity, sizeof(lw::ByteSetHeader), &blockSize)) return false;
    auto grown = static_cast<lw::ByteSet>(lw::TryAllocMemory(blockSize));
    if (!grown) return false;
    grown->dims = 1;
    grown->length = uint32_t(length);
    if (length) memcpy(lw::byteSetData(grown), lw::byteSetData(body->block.get()), length);
    body->block.reset(grown);
    body->capacity = capacity;
  }
  memcpy(lw::byteSetData(body->block.get()) + length, data, n);
  body->block->length = uint32_t(needed);
  return true;
}

// The finished body, trimmed to its length and handed over; null when it is empty
// or reading failed (the block then goes with the body).
lw::ByteSet finishBody(Body* body) {
  if (body->failed || lw::byteSetLength(body->block.get()) == 0) return nullptr;
  size_t length = body->block->length;
  // Giving back the slack is only a courtesy: a copy that cannot be made keeps the block.
  if (body->capacity - length >= 4096) {
    if (auto trimmed = static_cast<lw::ByteSet>(lw::TryAllocMemory(sizeof(lw::ByteSetHeader) + length))) {
      memcpy(trimmed, body->block.get(), sizeof(lw::ByteSetHeader) + length);
      body->block.reset(trimmed);
    }
  }
  return body->block.release();
}

void readBody(Handle request, size_t maxBody, Body* body) {
  lw::Owned<uint8_t> piece(static_cast<uint8_t*>(lw::TryAllocMemory(kReadChunk)));
  if (!piece) {
    body->failed = true;
    return;
  }
  uint8_t* chunk = piece.get();
  for (;;) {
    uint32_t count = 0;
    uint32_t ok = callDll(dll::InternetReadFile, {request, word(chunk), uint32_t(kReadChunk), word(&count)});
    if (!ok || count == 0 || count > uint32_t(kReadChunk)) break;  // a failed read counts as the end
    // A body past the caller's bound is refused whole: half a page is no page.
    if ((maxBody && count > maxBody - lw::byteSetLength(body->block.get())) || !appendToBody(body, chunk, count)) {
      body->failed = true;
      break;
    }
  }
}

// The raw response header text, normalised: a buffer of spaces that WinINet fills
// with a NUL-terminated text. Headers longer than the buffer are asked for again
// with the size WinINet reports; when no answer comes, the spaces stay.
std::string queryResponseHeaders(Handle request) {
  std::string buffer(kResponseHeaderBuffer + 1, ' ');
  uint32_t length = kResponseHeaderBuffer;
  bool ok = callDll(dll::HttpQueryInfo, {request, inet::kQueryRawHeadersCrlf, word(&buffer[0]), word(&length), 0});
  if (!ok && length > kResponseHeaderBuffer && length <= kMaxResponseHeaders) {
    std::string larger(size_t(length) + 1, ' ');
    uint32_t largerLength = length;
    if (callDll(dll::HttpQueryInfo, {request, inet::kQueryRawHeadersCrlf, word(&larger[0]), word(&largerLength), 0}))
      buffer.swap(larger);
  }
  buffer.back() = '\0';
  return normaliseSetCookie(std::string(buffer.c_str()));
}

// Bounds connecting, sending and each wait for data on a handle and the handles
// opened from it.
void limitWaits(Handle h) {
  uint32_t ms = kTimeoutMs;
  for (uint32_t option : {inet::kOptionConnectTimeout, inet::kOptionSendTimeout, inet::kOptionReceiveTimeout})
    callDll(dll::InternetSetOption, {h, option, word(&ms), uint32_t(sizeof ms)});
}

// What goes out with a request: the completed header text, and the bytes made from
// postText when postBytes holds none.
struct Outgoing {
  lw::OwnedText headers;
  lw::OwnedByteSet bytes;
};

// Sends an opened request with the outgoing header text; a POST or HEAD also sends
// the data, postBytes or else postText. False when the send failed.
bool sendRequest(Handle request, const RequestPlan& plan, lw::Text* postText, lw::ByteSet* postBytes,
                 Outgoing* out) {
  uint32_t headerWord = word(out->headers.get());
  uint32_t headerLength = uint32_t(lw::TextBytes(out->headers.get()));
  if (!plan.post) return callDll(dll::HttpSendRequestText, {request, headerWord, headerLength, word(""), 0}) != 0;
  const lw::ByteSetHeader* data = postBytes ? *postBytes : nullptr;
  if (lw::byteSetLength(data) == 0) {
    const char* p = postText ? *postText : nullptr;
    out->bytes.reset(lw::MakeByteSet(p, lw::TextBytes(p)));
    data = out->bytes.get();
  }
  uint32_t count = lw::byteSetLength(data);
  return callDll(dll::HttpSendRequestBytes,
              {request, headerWord, headerLength, count ? word(lw::byteSetData(data)) : 0, count}) != 0;
}

}  // namespace

lw::ByteSet webPageRequest(lw::Text* address, int32_t method, lw::Text* postText, lw::Text* cookies,
                           lw::Text* newCookies, lw::Text* headers, lw::Text* responseHeaders, bool noRedirect,
                           lw::ByteSet* postBytes, lw::Text* proxy, size_t maxBody) {
  const std::string given = text::of(address ? *address : nullptr);
  if (holdsLineBreak(given) || holdsHostBeyondAscii(given)) return nullptr;
  // The address as it is sent: on the request line and in the Referer line.
  const std::string sent = wireAddress(given);
  const char* callerHeaders = headers ? *headers : nullptr;
  const bool cookiesSupplied = cookies != nullptr;
  const char* cookieText = cookiesSupplied ? *cookies : nullptr;
  RequestPlan plan = planRequest(sent, method, text::of(callerHeaders),
                                 text::of(proxy ? *proxy : nullptr), cookiesSupplied, noRedirect);

  Handle root = 0, connection = 0, request = 0;
  Outgoing outgoing;
  Body body;
  std::string rawHeaders;
  bool answered = false;

  root = plan.accessType == inet::kOpenTypeDirect
             ? callDll(dll::InternetOpen, {textWord(plan.agent), plan.accessType, 0, 0, 0})
             : callDll(dll::InternetOpen,
                       {textWord(plan.agent), plan.accessType, textWord(plan.proxyServer), word(""), 0});
  if (!root) goto done;
  limitWaits(root);
  connection =
      callDll(dll::InternetConnect, {root, textWord(plan.host), uint32_t(plan.port), 0, 0, inet::kServiceHttp, 0, 0});
  if (!connection) goto done;
  limitWaits(connection);
  request = callDll(dll::HttpOpenRequest,
                    {connection, word(plan.verb), textWord(plan.path), word("HTTP/1.1"), 0, 0, plan.flags, 0});
  if (!request) goto done;

  // The header text and the data are prepared aside and become the caller's only
  // once the request has gone out, so a request that never left (an unreachable
  // host, a refused connection) leaves every variable as the caller gave it.
  outgoing.headers.reset(text::toText(completedHeaderText(text::of(callerHeaders), sent, text::of(cookieText))));
  if (!sendRequest(request, plan, postText, postBytes, &outgoing)) goto done;
  answered = true;
  if (headers) lw::ReplaceBlock(headers, outgoing.headers.release());
  if (postBytes && plan.post && lw::byteSetLength(*postBytes) == 0)
    lw::ReplaceBlock(postBytes, outgoing.bytes.release());
  readBody(request, maxBody, &body);
  rawHeaders = queryResponseHeaders(request);

done:
  closeHandle(request);
  closeHandle(connection);
  closeHandle(root);
  if (!answered) return nullptr;

  lw::Text cookiesSet = text::toText(newCookiesOf(rawHeaders));
  if (responseHeaders) lw::ReplaceBlock(responseHeaders, text::toText(rawHeaders));
  if (cookiesSupplied) lw::FreeMemory(mergeCookies(cookies, &cookiesSet));
  if (newCookies) lw::ReplaceBlock(newCookies, cookiesSet);
  else lw::FreeMemory(cookiesSet);
  return finishBody(&body);
}

}  // namespace web
