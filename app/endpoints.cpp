#include "app/endpoints.h"

namespace app::endpoints {

const char kShareHost[] = LINKWRIGHT_SHARE_HOST;
const char kFeedHost[] = LINKWRIGHT_FEED_HOST;
const char kQrHost[] = LINKWRIGHT_QR_HOST;
const char kNoticeUrl[] = LINKWRIGHT_NOTICE_URL;

}  // namespace app::endpoints
