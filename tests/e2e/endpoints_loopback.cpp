// Endpoints of the test build of the program: every service it fetches from is the
// tests' own server on the loopback address.
#include "app/endpoints.h"

namespace app::endpoints {

const char kShareHost[] = LINKWRIGHT_SHARE_HOST;  // share addresses are only built, never fetched
const char kFeedHost[] = "127.0.0.1:18471";
const char kQrHost[] = "127.0.0.1:18471";
const char kNoticeUrl[] = "http://127.0.0.1:18471/notice.txt";

}  // namespace app::endpoints
