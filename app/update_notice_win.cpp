// The update check, with the notice page read ahead while the start window is made.
#include "app/controls_win.h"
#include "app/endpoints.h"
#include "app/page_text.h"
#include "app/update_notice.h"
#include "app/wait_cursor_win.h"
#include "runtime/core/services/service_table.h"
#include "runtime/core/startup/background_job_win.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/owned_block.h"

namespace app {
namespace {

// The notice page read ahead. The job owns nothing but this record, which the
// check takes over once the job is done; a record whose job still runs when the
// program ends is left to the end of the process.
struct NoticePrefetch {
  lw::BackgroundJob* job;
  lw::Text page;  // the page in GBK; null when it could not be read
};
NoticePrefetch* g_prefetch = nullptr;

// The notice page fetched and re-encoded in GBK; null when it could not be read.
// Touches no window, so it may run on the job's thread.
lw::Text noticePage() {
  lw::OwnedText fetched(bodyText(requestBody(endpoints::kNoticeUrl)));
  return utf8ToGbk(fetched.get());
}

void prefetchNotice(void* context) { static_cast<NoticePrefetch*>(context)->page = noticePage(); }

// The page read ahead, waited for while it has not come; without one, read now.
lw::Text takeNoticePage() {
  WaitCursor busy;
  NoticePrefetch* prefetch = g_prefetch;
  g_prefetch = nullptr;
  if (!prefetch) return noticePage();
  lw::FinishBackgroundJob(prefetch->job);
  lw::Text page = prefetch->page;
  lw::FreeMemory(prefetch);
  return page;
}

// The notice page, read; its texts are gone by the time the check may end the
// program.
UpdateNotice fetchUpdateNotice() { return readUpdateNotice(lw::OwnedText(takeNoticePage()).get()); }

}  // namespace

void startUpdateNoticeFetch() {
  if (g_prefetch) return;
  auto* prefetch = static_cast<NoticePrefetch*>(lw::TryAllocMemory(sizeof(NoticePrefetch)));
  if (!prefetch) return;
  *prefetch = {nullptr, nullptr};
  prefetch->job = lw::StartBackgroundJob(&prefetchNotice, prefetch);
  if (!prefetch->job) {
    lw::FreeMemory(prefetch);  // the check reads the page itself
    return;
  }
  g_prefetch = prefetch;
}

void checkForUpdate() {
  UpdateNotice notice = fetchUpdateNotice();
  if (!notice.update) return;
  if (notice.openDownload) openAddress(notice.download.c_str());
  // An OK box with no icon, the default caption and no owner; then the program ends.
  showMessage(kUpdateMessage);
  lw::kServices.endProgram(0);
}

}  // namespace app
