#include "app/feed_list.h"

#include <cstring>
#include <string>

#include "app/endpoints.h"
#include "runtime/core/text_commands.h"
#include "runtime/core/values.h"

namespace app {

const char kNoPostsMessage[] = "没有获取到日志，请检查QQ号或网络！";

lw::Text feedAddress(const char* qqNumber) {
  std::string address = std::string("http://") + endpoints::kFeedHost + "/cgi-bin/cgi_rss_out?uin=" +
                        (qqNumber ? qqNumber : "");
  return lw::MakeText(address.data(), address.size());
}

size_t itemSpan(const char* text, size_t length, const char* right) {
  size_t rlen = right ? strlen(right) : 0;
  for (size_t i = 0; i < rlen; ++i)
    if (static_cast<unsigned char>(right[i]) >= 0x80) return length;
  if (rlen == 0) return length;
  int64_t at = lw::text::FindBackward(text, length, right, rlen, length, true);
  return at < 0 ? 0 : size_t(at - 1) + rlen;  // at is a 1-based position
}

}  // namespace app
