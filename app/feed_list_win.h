// The blog list's platform part: the items are cut out of the page by the
// platform's regular-expression component (through regex/regex_object.h), and the
// rows go into 超级列表框日志.
#pragma once
#include <cstdint>

#include "app/feed_list.h"
#include "app/handlers.h"
#include "runtime/core/values/types.h"

namespace app {

// Collects every text between `left` and `right` into `items` (emptied first) and
// returns how many there are. maxLength > 0 drops longer texts; prefix and suffix
// wrap each text; keepLeft and keepRight put the markers back.
int32_t collectBetween(const char* text, const char* left, const char* right, lw::ArrayBlock* items,
                       int32_t maxLength = 0, const char* prefix = nullptr, const char* suffix = nullptr,
                       bool keepLeft = false, bool keepRight = false);

// Fetches the feed of a QQ number and appends one row per post to 超级列表框日志;
// when there are none, says so in 标签_提示 (rows listed before stay).
void listBlogPosts(const char* qqNumber);

}  // namespace app
