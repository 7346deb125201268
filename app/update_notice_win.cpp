// The update check in the start window's creation event.
#include "app/endpoints.h"
#include "app/page_text.h"
#include "app/update_notice.h"
#include "runtime/core/core_commands_win.h"
#include "runtime/core/service_table.h"

namespace app {

void checkForUpdate() {
  lw::Text fetched = fetchPageText(endpoints::kNoticeUrl);
  lw::Text page = utf8ToGbk(fetched);
  lw::kServices.freeMemory(fetched);
  UpdateNotice notice = readUpdateNotice(page);
  lw::kServices.freeMemory(page);
  if (!notice.update) return;
  if (notice.openDownload) {
    lw::ArgRecord address = {lw::Word(uintptr_t(notice.download.c_str())), 0, lw::type::Text};
    lw::kServices.callLibraryCommand(&lw::core::OpenAddress, 1, &address);
  }
  // An OK box with no icon, the default caption and no owner; then the program ends.
  lw::ArgRecord box[2] = {{lw::Word(uintptr_t(kUpdateMessage)), 0, lw::type::Text}, {0, 0, lw::type::Int}};
  lw::kServices.callLibraryCommand(&lw::core::ShowMessageBox, 2, box);
  lw::kServices.endProgram(0);
}

HandlerResult onStartWindowCreated(int, const uint32_t*) {
  checkForUpdate();
  return {0, 0};
}

}  // namespace app
