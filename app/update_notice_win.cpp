// The start window's creation event: the names its unlabelled controls are read
// by, and the update check.
#include "app/controls_win.h"
#include "app/endpoints.h"
#include "app/page_text.h"
#include "app/update_notice.h"
#include "runtime/core/owned_block.h"
#include "runtime/core/service_table.h"

namespace app {
namespace {

// The notice page, fetched, re-encoded and read; its texts are gone by the time
// the check may end the program.
UpdateNotice fetchUpdateNotice() {
  lw::OwnedText fetched(fetchPageText(endpoints::kNoticeUrl));
  return readUpdateNotice(lw::OwnedText(utf8ToGbk(fetched.get())).get());
}

}  // namespace

void checkForUpdate() {
  UpdateNotice notice = fetchUpdateNotice();
  if (!notice.update) return;
  if (notice.openDownload) openAddress(notice.download.c_str());
  // An OK box with no icon, the default caption and no owner; then the program ends.
  showMessage(kUpdateMessage);
  lw::kServices.endProgram(0);
}

HandlerResult onStartWindowCreated(int, const uint32_t*) {
  nameUnlabelledControls();
  checkForUpdate();
  return {0, 0};
}

}  // namespace app
