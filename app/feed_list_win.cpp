// The feed list handler: fetch, re-encode, collect the items through the regex
// object, and append a row per item.
#include <cstring>
#include <string>
#include <utility>

#include "app/controls_win.h"
#include "app/feed_list_win.h"
#include "app/link_conversion.h"
#include "app/page_text.h"
#include "regex/regex_object.h"
#include "runtime/core/text/text_strings.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/owned_block.h"
#include "runtime/core/values/values.h"

namespace app {

namespace text = lw::text;
namespace {

constexpr char kItemStart[] = "<title><![CDATA";
constexpr char kItemEnd[] = "/link>";

lw::Text joined(const std::string& s) { return s.empty() ? nullptr : lw::MakeText(s.data(), s.size()); }

// left + prefix + s + suffix + right as one text, the absent pieces left out; an
// empty result is the empty text. With nothing around it, s itself is the text; a
// feed has thousands of items, each made with one block at most.
lw::Text joinedItem(const char* left, const char* prefix, lw::OwnedText s, const char* suffix, const char* right) {
  const char* pieces[] = {left, prefix, s.get(), suffix, right};
  size_t lengths[5] = {}, total = 0;
  for (size_t i = 0; i < 5; ++i) total += lengths[i] = pieces[i] ? strlen(pieces[i]) : 0;
  if (total == lengths[2]) return total ? s.release() : nullptr;
  auto* text = static_cast<lw::Text>(lw::AllocMemory(total + 1));
  char* at = text;
  for (size_t i = 0; i < 5; ++i) {
    if (lengths[i]) memcpy(at, pieces[i], lengths[i]);
    at += lengths[i];
  }
  *at = '\0';
  return text;
}

// The feed of a number, fetched and re-encoded as code-page-936 text.
lw::OwnedText feedPage(const char* qqNumber) {
  lw::OwnedText fetched(fetchPageText(lw::OwnedText(feedAddress(qqNumber)).get()));
  return lw::OwnedText(utf8ToGbk(fetched.get()));
}

// Runs `pattern` over `subject` with every flag the object's default: letter case
// ignored, multiline, every match, "#引号" taken as written.
void executeWithDefaults(regex::RegexObject* re, lw::Text pattern, lw::Text subject) {
  const bool* const kDefault = nullptr;  // a flag left out
  re->ops->execute(re, &pattern, &subject, /*caseSensitive*/ kDefault, /*multiline*/ kDefault, /*global*/ kDefault,
                   /*quoteEscape*/ kDefault);
}

// The subject of the search: the first `span` bytes of the text. The page came
// from the network: a copy that cannot be made is null, and lists nothing.
lw::OwnedText subjectOf(const char* text, size_t span) {
  lw::OwnedText subject(static_cast<lw::Text>(lw::TryAllocMemory(span + 1)));
  if (subject) {
    memcpy(subject.get(), text, span);
    subject.get()[span] = '\0';
  }
  return subject;
}

}  // namespace

int32_t collectBetween(const char* text, const char* left, const char* right, lw::ArrayBlock* items,
                       int32_t maxLength, const char* prefix, const char* suffix, bool keepLeft, bool keepRight) {
  regex::OwnedRegexObject re(regex::CreateRegexObject());
  lw::FreeTextArray(*items);
  *items = lw::MakeArray(0, sizeof(lw::Text));
  lw::OwnedText leftPattern(markerToPattern(left));
  lw::OwnedText rightPattern(markerToPattern(right));
  std::string pattern = std::string(leftPattern ? leftPattern.get() : "") + "([\\s\\S]*?)" +
                        (rightPattern ? rightPattern.get() : "");
  size_t length = text ? strlen(text) : 0;
  size_t span = itemSpan(text ? text : "", length, right);
  if (span > 0) {
    lw::OwnedText patternText(joined(pattern));
    lw::OwnedText subject(subjectOf(text, span));
    if (subject) executeWithDefaults(re.get(), patternText.get(), subject.get());
    int32_t n = re->ops->matchCount(re.get());
    for (int32_t k = 1; k <= n; ++k) {
      lw::OwnedText s(re->ops->subMatchText(re.get(), k, 1, nullptr));
      size_t bytes = s ? strlen(s.get()) : 0;
      if (maxLength > 0 && bytes > size_t(maxLength)) continue;
      lw::Text element =
          joinedItem(keepLeft ? left : nullptr, prefix, std::move(s), suffix, keepRight ? right : nullptr);
      lw::AppendArrayElement(items, &element, sizeof element);
    }
  }
  size_t count = 0;
  lw::ArrayElementCount(*items, &count);
  return int32_t(count);
}

void listBlogPosts(const char* qqNumber) {
  lw::ArrayBlock found = lw::MakeArray(0, sizeof(lw::Text));
  int32_t n = collectBetween(feedPage(qqNumber).get(), kItemStart, kItemEnd, &found);
  lw::OwnedTextArray items(found);
  if (n == 0) setStatus(kNoPostsMessage);
  auto* elements = static_cast<lw::Text*>(lw::ArrayElements(items.get()));
  for (int32_t i = 0; i < n; ++i) {
    lw::OwnedText title(text::textBetween(elements[i], "[", "]]>"));
    lw::OwnedText id(text::textBetween(elements[i], "blog/", "<"));
    appendFeedRow(title.get(), id.get());
  }
}

HandlerResult onFetchFeedClicked(int, const uint32_t*) {
  lw::OwnedText qq(qqNumberOf(typedQqNumber().get()));
  // A number that is no number is never sent; the rows already listed stay.
  if (qq) listBlogPosts(qq.get());
  else setStatus(kCheckInput);
  return {0, 0};
}

}  // namespace app
