#include "app/page_text.h"

#include <cstring>
#include <initializer_list>

#include "app/endpoints.h"
#include "app/wait_cursor_win.h"
#include "program/dll_commands.h"
#include "runtime/core/memory.h"
#include "runtime/core/owned_block.h"
#include "runtime/core/service_table.h"
#include "web/web_request_win.h"

namespace app {
namespace {

namespace dll = lw::program::dll;
constexpr uint32_t kUtf8 = 65001;
constexpr uint32_t kGbk = 936;

uint32_t word(const void* p) { return uint32_t(uintptr_t(p)); }

}  // namespace

lw::Text fetchPageText(const char* address) {
  lw::Text target = const_cast<char*>(address ? address : "");
  WaitCursor busy;
  lw::OwnedByteSet body(web::webPageRequest(&target, 0, nullptr, nullptr, nullptr, nullptr, nullptr, false, nullptr,
                                            nullptr, endpoints::kMaxBodyBytes));
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
  // Ask each conversion for the size of its whole result, then convert.
  uint32_t wideUnits = uint32_t(lw::kServices.callDllCommand(
      dll::MultiByteToWideChar, 6, std::initializer_list<uint32_t>{kUtf8, 0, word(text), uint32_t(-1), 0, 0}.begin()));
  size_t wideBytes = 0;
  if (wideUnits == 0 || !lw::checkedMul(wideUnits, 2, &wideBytes)) return nullptr;
  // Pages come from the network: a copy that cannot be made gives the empty result
  // rather than the fatal allocation error.
  lw::Owned<uint16_t> wide(static_cast<uint16_t*>(lw::TryAllocMemory(wideBytes)));
  if (!wide) return nullptr;
  uint32_t args1[6] = {kUtf8, 0, word(text), uint32_t(-1), word(wide.get()), wideUnits};
  lw::kServices.callDllCommand(dll::MultiByteToWideChar, 6, args1);
  uint32_t args2[8] = {kGbk, 0, word(wide.get()), uint32_t(-1), 0, 0, 0, 0};
  uint32_t bytes = uint32_t(lw::kServices.callDllCommand(dll::WideCharToMultiByteText, 8, args2));
  lw::OwnedText result(bytes > 1 ? static_cast<lw::Text>(lw::TryAllocMemory(bytes)) : nullptr);
  uint32_t args3[8] = {kGbk, 0, word(wide.get()), uint32_t(-1), word(result.get()), bytes, 0, 0};
  if (result && lw::kServices.callDllCommand(dll::WideCharToMultiByteText, 8, args3) == 0) result.reset();
  return result.release();
}

}  // namespace app
