#include "app/page_text.h"

#include <cstring>

#include "app/wait_cursor_win.h"
#include "runtime/core/libraries/dll_call.h"
#include "runtime/core/libraries/dll_commands.h"
#include "runtime/core/services/service_table.h"
#include "runtime/core/text/codepage.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/owned_block.h"
#include "web/fetch_limits.h"
#include "web/web_request_win.h"

namespace app {
namespace {

constexpr uint32_t kUtf8 = 65001;
constexpr uint32_t kGbk = lw::kTextCodePage;

namespace dll = lw::dll;
using lw::callDll;
using lw::word;

}  // namespace

lw::ByteSet requestBody(const char* address) {
  lw::Text target = const_cast<char*>(address ? address : "");
  const int32_t kGet = 0;
  return web::webPageRequest(&target, kGet, /*postText*/ nullptr, /*cookies*/ nullptr, /*newCookies*/ nullptr,
                             /*headers*/ nullptr, /*responseHeaders*/ nullptr, /*noRedirect*/ false,
                             /*postBytes*/ nullptr, /*proxy*/ nullptr, web::kMaxBodyBytes);
}

lw::ByteSet fetchBody(const char* address) {
  WaitCursor busy;
  return requestBody(address);
}

lw::Text fetchPageText(const char* address) { return bodyText(fetchBody(address)); }

lw::Text bodyText(lw::ByteSet fetched) {
  lw::OwnedByteSet body(fetched);
  // The text is the body up to its first zero byte. Its copy is made with an
  // allocation that may fail: a page too large for memory is no page.
  const char* bytes = reinterpret_cast<const char*>(lw::byteSetData(body.get()));
  size_t length = bytes ? strnlen(bytes, lw::byteSetLength(body.get())) : 0;
  lw::Text text = nullptr;
  if (length > 0 && (text = static_cast<lw::Text>(lw::TryAllocMemory(length + 1)))) {
    memcpy(text, bytes, length);
    text[length] = '\0';
  }
  return text;
}

lw::Text utf8ToGbk(const char* text) {
  if (!text || !*text) return nullptr;
  // Each conversion is given room for the longest result it can give, so that each
  // runs once over the page: a UTF-8 byte gives at most one UTF-16 unit, and a unit
  // at most two GBK bytes. Counts include the terminator.
  size_t length = strlen(text) + 1;
  size_t wideBytes = 0, gbkRoom = 0;
  if (length > 0x3FFFFFFF || !lw::checkedMul(length, 2, &wideBytes)) return nullptr;
  // Pages come from the network: a copy that cannot be made gives the empty result
  // rather than the fatal allocation error.
  lw::Owned<uint16_t> wide(static_cast<uint16_t*>(lw::TryAllocMemory(wideBytes)));
  if (!wide) return nullptr;
  uint32_t units =
      callDll(dll::MultiByteToWideChar, {kUtf8, 0, word(text), uint32_t(-1), word(wide.get()), uint32_t(length)});
  if (units == 0 || !lw::checkedMul(units, 2, &gbkRoom)) return nullptr;
  lw::OwnedText result(static_cast<lw::Text>(lw::TryAllocMemory(gbkRoom)));
  if (!result) return nullptr;
  uint32_t bytes = callDll(dll::WideCharToMultiByteText,
                           {kGbk, 0, word(wide.get()), uint32_t(-1), word(result.get()), uint32_t(gbkRoom), 0, 0});
  if (bytes <= 1) return nullptr;  // nothing but the terminator, or a failure
  // The room left over goes back to the heap.
  return static_cast<lw::Text>(lw::ResizeMemory(result.release(), bytes));
}

}  // namespace app
