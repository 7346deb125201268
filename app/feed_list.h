// The blog list: a QQ number's public blog feed, cut into items by a regular
// expression, one list row per item with its title and post id. The pure part:
// the number, the address, the markers as pattern text and the part of a page
// that can hold items. The search and the rows are in feed_list_win.h.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/core/values/types.h"

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

// A pattern fragment that matches the marker literally: ? * + [ ] ( ) { } are
// escaped, "#引号" becomes a double quote and a line break "\n". The markers
// that cut the feed into items go into the item pattern through it.
lw::Text markerToPattern(const char* marker);

}  // namespace app
