// The blog list: a QQ number's public blog feed, cut into items by a regular
// expression, one list row per item with its title and post id.
#pragma once
#include <cstddef>
#include <cstdint>

#include "app/handlers.h"
#include "runtime/core/types.h"

namespace app {

// What 标签_提示 says when a fetch lists no posts.
extern const char kNoPostsMessage[];

// The QQ number as typed, made fit for the feed address: spaces around it removed
// (ASCII and full-width spaces, tabs, line breaks) and full-width digits read as
// digits. Null when nothing is left or anything but digits is.
lw::Text qqNumberOf(const char* typed);

// The feed address for a QQ number of digits.
lw::Text feedAddress(const char* qqNumber);

// How much of `text` can hold an item that ends with `right`: up to and including
// the last occurrence of `right` (letter case ignored, as the pattern does). Text
// after it can never be part of an item, and leaving it out keeps a page of many
// unclosed item starts from making the shortest-match search retry to the end of
// the page from every start. 0 when `right` does not occur. A marker that is not
// plain ASCII keeps the whole text (the engine's case rules for it may differ).
size_t itemSpan(const char* text, size_t length, const char* right);

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
