// The PCRE2 matcher's bounds, natively under the sanitizers: what stops it, and
// that a stopped search is a failed one. What it matches is checked against the
// platform's component under Wine (regex_object_win_test.cpp).
#include "regex/pcre_matcher.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "runtime/core/values/memory.h"

namespace regex {
namespace {

MatchRun* run(const std::u16string& pattern, const std::u16string& subject) {
  return runPattern(pattern.data(), pattern.size(), subject.data(), subject.size(), {true, true, true});
}

TEST(PcreMatcher, WhatWouldHoldTheProgramFailsWholeWithinASecond) {
  std::u16string page;
  for (int i = 0; i < 20000; ++i) page += u"<title><![CDATA[标题]]></title><link>blog/1</link>";
  struct Case {
    std::u16string pattern, subject;
    bool found;
    const char* why;
  };
  const Case cases[] = {
      {u"(x+x+)+[yz]", std::u16string(100000, u'x'), false, "exponential backtracking meets the match limit"},
      {u"(a|aa)*[bc]", std::u16string(40, u'a'), false, "the same through alternatives"},
      {u"", std::u16string(20000000, u'a'), false, "twenty million empty matches outlast the clock"},
      {std::u16string(100000, u'(') + u"a" + std::u16string(100000, u')'), u"a", false,
       "nesting deeper than the reader goes is refused, not recursed into"},
      {u"<title><!\\[CDATA([\\s\\S]*?)/link>", page, true, "a large feed is no trouble"},
  };
  for (const Case& c : cases) {
    auto start = std::chrono::steady_clock::now();
    MatchRun* r = run(c.pattern, c.subject);
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(r != nullptr, c.found) << c.why;
    EXPECT_LT(seconds, 3.0) << c.why;  // one second of budget, with room for the sanitizers
    if (r) EXPECT_EQ(r->count, 20000u) << c.why;
    lw::FreeMemory(r);
  }
}

}  // namespace
}  // namespace regex
