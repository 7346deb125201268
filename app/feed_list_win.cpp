// The feed list handler: fetch, re-encode, collect the items through the regex
// object, and append a row per item.
#include <cstring>
#include <string>

#include "app/feed_list.h"
#include "app/link_conversion.h"
#include "app/main_window.h"
#include "app/page_text.h"
#include "app/share_escape.h"
#include "regex/regex_object.h"
#include "runtime/core/memory.h"
#include "runtime/core/owned_block.h"
#include "runtime/core/service_table.h"
#include "runtime/core/text_strings.h"
#include "runtime/core/values.h"
#include "runtime/ui/list_view_commands_win.h"

namespace app {

namespace text = lw::text;
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

// The feed of a number, fetched and re-encoded as code-page-936 text.
lw::OwnedText feedPage(const char* qqNumber) {
  lw::OwnedText fetched(fetchPageText(lw::OwnedText(feedAddress(qqNumber)).get()));
  return lw::OwnedText(utf8ToGbk(fetched.get()));
}

}  // namespace

int32_t collectBetween(const char* text, const char* left, const char* right, lw::ArrayBlock* items,
                       int32_t maxLength, const char* prefix, const char* suffix, bool keepLeft, bool keepRight) {
  regex::RegexObject* re = regex::CreateRegexObject();
  lw::FreeTextArray(*items);
  *items = lw::MakeArray(0, sizeof(lw::Text));
  lw::OwnedText leftPattern(markerToPattern(left));
  lw::OwnedText rightPattern(markerToPattern(right));
  std::string pattern = std::string(leftPattern ? leftPattern.get() : "") + "([\\s\\S]*?)" +
                        (rightPattern ? rightPattern.get() : "");
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
      lw::OwnedText s(re->ops->subMatchText(re, k, 1, nullptr));
      size_t bytes = s ? strlen(s.get()) : 0;
      if (maxLength > 0 && bytes > size_t(maxLength)) continue;
      std::string item = std::string(prefix ? prefix : "") + (s ? s.get() : "") + (suffix ? suffix : "");
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
  int32_t n = collectBetween(feedPage(qqNumber).get(), kItemStart, kItemEnd, &items);
  if (n == 0) writeStartText(ids::标签_提示, kNoPostsMessage);
  auto* elements = static_cast<lw::Text*>(lw::ArrayElements(items));
  for (int32_t i = 0; i < n; ++i) {
    lw::OwnedText title(text::textBetween(elements[i], "[", "]]>"));
    lw::OwnedText id(text::textBetween(elements[i], "blog/", "<"));
    int32_t row = appendRow(title.get());
    setCell(row, 1, id.get());
  }
  lw::FreeTextArray(items);
}

HandlerResult onFetchFeedClicked(int, const uint32_t*) {
  lw::OwnedText qq(qqNumberOf(lw::OwnedText(readStartText(ids::编辑框QQ)).get()));
  // A number that is no number is never sent; the rows already listed stay.
  if (qq) listBlogPosts(qq.get());
  else writeStartText(ids::标签_提示, kCheckInput);
  return {0, 0};
}

}  // namespace app
