// The feed list handler: fetch, re-encode, collect the items through the regex
// object, and append a row per item.
#include <cstring>
#include <string>

#include "app/feed_list.h"
#include "app/link_conversion.h"
#include "app/main_window.h"
#include "app/page_text.h"
#include "app/share_escape.h"
#include "app/text_between.h"
#include "regex/regex_object.h"
#include "runtime/core/memory.h"
#include "runtime/core/service_table.h"
#include "runtime/core/values.h"
#include "runtime/ui/list_view_commands_win.h"

namespace app {
namespace {

constexpr char kItemStart[] = "<title><![CDATA";
constexpr char kItemEnd[] = "/link>";
constexpr int kListViewLibrary = 2;  // position of the list view's library

lw::Text joined(const std::string& s) { return s.empty() ? nullptr : lw::MakeText(s.data(), s.size()); }

void setCell(int32_t row, int32_t column, const char* text) {
  lw::ArgRecord args[4] = {{ids::StartWindow, ids::超级列表框日志, lw::type::ListViewUnit},
                           {lw::Word(uint32_t(row)), 0, lw::type::Int},
                           {lw::Word(uint32_t(column)), 0, lw::type::Int},
                           {lw::Word(uintptr_t(text ? text : "")), 0, lw::type::Text}};
  lw::kServices.callUnitCommand(&lw::commands::SetItemText, 4, args, kListViewLibrary);
}

// A new last row with `text` in its first column.
int32_t appendRow(const char* text) {
  lw::ArgRecord args[3] = {{ids::StartWindow, ids::超级列表框日志, lw::type::ListViewUnit},
                           {lw::Word(uint32_t(-1)), 0, lw::type::Int},
                           {lw::Word(uintptr_t(text ? text : "")), 0, lw::type::Text}};
  lw::ResultRecord r = lw::kServices.callUnitCommand(&lw::commands::InsertRow, 3, args, kListViewLibrary);
  return int32_t(r.low);
}

}  // namespace

int32_t collectBetween(const char* text, const char* left, const char* right, lw::ArrayBlock* items,
                       int32_t maxLength, const char* prefix, const char* suffix, bool keepLeft, bool keepRight) {
  regex::RegexObject* re = regex::CreateRegexObject();
  lw::FreeTextArray(*items);
  *items = lw::MakeArray(0, sizeof(lw::Text));
  lw::Text leftPattern = markerToPattern(left);
  lw::Text rightPattern = markerToPattern(right);
  std::string pattern = std::string(leftPattern ? leftPattern : "") + "([\\s\\S]*?)" + (rightPattern ? rightPattern : "");
  lw::kServices.freeMemory(leftPattern);
  lw::kServices.freeMemory(rightPattern);
  size_t length = text ? strlen(text) : 0;
  size_t span = itemSpan(text ? text : "", length, right);
  if (span > 0) {
    lw::Text patternText = joined(pattern);
    // The page came from the network: a copy that cannot be made lists nothing.
    lw::Text subject = static_cast<lw::Text>(lw::TryAllocMemory(span + 1));
    if (subject) {
      memcpy(subject, text, span);
      subject[span] = '\0';
      re->ops->execute(re, &patternText, &subject, nullptr, nullptr, nullptr, nullptr);
    }
    int32_t n = re->ops->matchCount(re);
    for (int32_t k = 1; k <= n; ++k) {
      lw::Text s = re->ops->subMatchText(re, k, 1, nullptr);
      size_t bytes = s ? strlen(s) : 0;
      if (maxLength > 0 && bytes > size_t(maxLength)) {
        lw::kServices.freeMemory(s);
        continue;
      }
      std::string item = std::string(prefix ? prefix : "") + (s ? s : "") + (suffix ? suffix : "");
      lw::kServices.freeMemory(s);
      if (keepLeft) item = std::string(left ? left : "") + item;
      if (keepRight) item += right ? right : "";
      lw::Text element = joined(item);
      lw::AppendArrayElement(items, &element, sizeof element);
    }
    lw::kServices.freeMemory(patternText);
    lw::kServices.freeMemory(subject);
  }
  size_t count = 0;
  lw::ArrayElementCount(*items, &count);
  regex::FreeRegexObject(re);
  return int32_t(count);
}

void listBlogPosts(const char* qqNumber) {
  lw::ArrayBlock items = lw::MakeArray(0, sizeof(lw::Text));
  lw::Text address = feedAddress(qqNumber);
  lw::Text fetched = fetchPageText(address);
  lw::Text page = utf8ToGbk(fetched);
  lw::kServices.freeMemory(address);
  lw::kServices.freeMemory(fetched);
  int32_t n = collectBetween(page, kItemStart, kItemEnd, &items);
  lw::kServices.freeMemory(page);
  if (n == 0) writeStartText(ids::标签_提示, kNoPostsMessage);
  auto* elements = static_cast<lw::Text*>(lw::ArrayElements(items));
  for (int32_t i = 0; i < n; ++i) {
    lw::Text title = textBetween(elements[i], "[", "]]>");
    lw::Text id = textBetween(elements[i], "blog/", "<");
    int32_t row = appendRow(title);
    setCell(row, 1, id);
    lw::kServices.freeMemory(title);
    lw::kServices.freeMemory(id);
  }
  lw::FreeTextArray(items);
}

HandlerResult onFetchFeedClicked(int, const uint32_t*) {
  lw::Text typed = readStartText(ids::编辑框QQ);
  lw::Text qq = qqNumberOf(typed);
  lw::kServices.freeMemory(typed);
  // A number that is no number is never sent; the rows already listed stay.
  if (qq) listBlogPosts(qq);
  else writeStartText(ids::标签_提示, kCheckInput);
  lw::kServices.freeMemory(qq);
  return {0, 0};
}

}  // namespace app
