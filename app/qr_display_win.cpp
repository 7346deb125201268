#include "app/endpoints.h"
#include "app/main_window.h"
#include "app/program_state.h"
#include "app/qr_display.h"
#include "app/share_escape.h"
#include "runtime/core/core_commands.h"
#include "runtime/core/service_table.h"
#include "web/web_request_win.h"

namespace app {

namespace {
constexpr int kPictureProperty = 10;
}

void showQrPicture() {
  lw::Text shown = readStartText(ids::编辑框生成);
  lw::Text escaped = escapeShareValue(shown);
  lw::kServices.freeMemory(shown);
  // qrValue keeps a copy of the escaped value.
  lw::ArgRecord arg = {lw::Word(uintptr_t(escaped ? escaped : "")), 0, lw::type::Text};
  lw::ResultRecord copy = lw::kServices.callLibraryCommand(&lw::core::ToText, 1, &arg);
  AssignText(&g_state.qrValue, reinterpret_cast<lw::Text>(copy.low));
  lw::kServices.freeMemory(escaped);
  lw::Text address = qrImageAddress(g_state.qrValue);
  lw::ByteSet picture = web::webPageRequest(&address, 0, nullptr, nullptr, nullptr, nullptr, nullptr, false, nullptr,
                                            nullptr, endpoints::kMaxBodyBytes);
  lw::kServices.freeMemory(address);
  lw::kServices.writeProperty(ids::QrWindow, ids::图片二维码, kPictureProperty, -1, lw::Word(uintptr_t(picture)), 0);
  lw::kServices.freeMemory(picture);
}

HandlerResult onQrWindowCreated(int, const uint32_t*) {
  showQrPicture();
  return {0, 0};
}

}  // namespace app
