#include "app/feed_list.h"

#include <cstring>
#include <string>

#include "app/endpoints.h"
#include "runtime/core/text/gbk_full_width.h"
#include "runtime/core/text/text_commands.h"
#include "runtime/core/text/text_strings.h"
#include "runtime/core/values/values.h"

namespace app {

const char kNoPostsMessage[] = "没有获取到日志，请检查QQ号或网络！";

lw::Text qqNumberOf(const char* typed) {
  const auto* p = reinterpret_cast<const unsigned char*>(typed ? typed : "");
  const auto* end = p + strlen(typed ? typed : "");
  auto spaceAt = [&](const unsigned char* q) -> size_t {
    if (q < end && (*q == ' ' || *q == '\t' || *q == '\r' || *q == '\n')) return 1;
    if (end - q >= 2 && lw::gbk::IsFullWidthSpace(q[0], q[1])) return 2;
    return 0;
  };
  std::string digits;
  bool seenDigit = false, spaceAfterDigit = false;
  while (p < end) {
    if (size_t n = spaceAt(p)) {
      spaceAfterDigit = seenDigit;
      p += n;
      continue;
    }
    char digit;
    if (*p >= '0' && *p <= '9') {
      digit = char(*p);
      p += 1;
    } else if (end - p >= 2 && lw::gbk::IsFullWidthDigit(p[0], p[1], &digit)) {
      p += 2;
    } else {
      return nullptr;
    }
    if (spaceAfterDigit) return nullptr;  // a space inside the number
    digits += digit;
    seenDigit = true;
  }
  return digits.empty() ? nullptr : lw::MakeText(digits.data(), digits.size());
}

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

lw::Text markerToPattern(const char* marker) {
  // In this order, each replacement over the text the one before left; the
  // backslashes added are never escaped again.
  static const struct {
    const char* find;
    const char* replacement;
  } kLiterals[] = {{"?", "\\?"}, {"*", "\\*"}, {"+", "\\+"}, {"[", "\\["}, {"]", "\\]"},
                   {"(", "\\("}, {")", "\\)"}, {"{", "\\{"}, {"}", "\\}"}, {lw::text::kQuotePlaceholder, "\""}};
  std::string t = lw::text::of(marker);
  for (const auto& l : kLiterals) t = lw::text::replaceSubText(t, l.find, l.replacement, 0, -1, false);
  return lw::text::toText(lw::text::replaceSubText(t, "\r\n", "\\n"));
}

}  // namespace app
