// Endpoints of the test build of the program: every service it fetches from is the
// tests' own server on the loopback address (port LINKWRIGHT_LOOPBACK_PORT, a build setting
// so that two checkouts can run their tests side by side). A second test build
// names no QR service at all.
#include "app/endpoints.h"

namespace app::endpoints {

const char kShareHost[] = LINKWRIGHT_SHARE_HOST;  // share addresses are only built, never fetched
#define LW_LOOPBACK_HOST "127.0.0.1:" LW_STRINGIFY(LINKWRIGHT_LOOPBACK_PORT)
#define LW_STRINGIFY(x) LW_STRINGIFY_(x)
#define LW_STRINGIFY_(x) #x
const char kFeedHost[] = LW_LOOPBACK_HOST;
#ifdef LINKWRIGHT_LOOPBACK_NO_QR_SERVICE
const char kQrHost[] = "";  // the build that asks no QR service and draws every code itself
#else
const char kQrHost[] = LW_LOOPBACK_HOST;
#endif
const char kNoticeUrl[] = "http://" LW_LOOPBACK_HOST "/notice.txt";

}  // namespace app::endpoints
