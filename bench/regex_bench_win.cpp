// Collecting the items of a 5,000-item feed by regular expression, as the feed
// listing does: the pattern marker + "([\s\S]*?)" + marker, every flag left at its
// default, then sub-match 1 of every match as code-page-936 text.
// Baseline: the bare component driven through its automation interface directly,
// with the member ids looked up once and the texts converted once each way.
// Measured: the regex object, which calls every member by name through the
// runtime's automation commands, with the runtime started as in the program (so
// the numbers that names bound to are kept between calls).
// Prints the median time of each over several rounds and their ratio.
#include <windows.h>
#include <oleauto.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/feed_list.h"
#include "bench/bare_regex_win.h"
#include "bench/bench_clock.h"
#include "regex/regex_object.h"
#include "runtime/core/startup/runtime_app_win.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/values.h"
#include "tests/support/program_dll_table_win.h"

namespace {

constexpr int kItems = 5000;
constexpr int kRounds = 7;

// A feed of kItems items in the shape of the blog feed, in code page 936.
std::string makeFeed() {
  std::string s = "<?xml version=\"1.0\" encoding=\"GBK\"?><rss><channel><title>日志</title>\r\n";
  for (int i = 0; i < kItems; ++i) {
    s += "<item>\r\n<title><![CDATA[第" + std::to_string(i) + "篇日志：春天的早晨]]></title>\r\n";
    s += "<link>http://user.qzone.qq.com/12345/blog/" + std::to_string(1300000000 + i) + "</link>\r\n";
    s += "<description><![CDATA[今天天气很好，我们去公园散步。]]></description>\r\n</item>\r\n";
  }
  return s + "</channel></rss>";
}

std::string patternOf(const char* left, const char* right) {
  lw::Text l = app::markerToPattern(left), r = app::markerToPattern(right);
  std::string p = std::string(l ? l : "") + "([\\s\\S]*?)" + (r ? r : "");
  lw::FreeMemory(l);
  lw::FreeMemory(r);
  return p;
}

std::vector<std::string> throughRegexObject(const std::string& feed, const std::string& pattern) {
  std::vector<std::string> items;
  regex::RegexObject* re = regex::CreateRegexObject();
  lw::Text p = lw::MakeText(pattern.data(), pattern.size());
  lw::Text s = lw::MakeText(feed.data(), feed.size());
  re->ops->execute(re, &p, &s, nullptr, nullptr, nullptr, nullptr);
  int32_t n = re->ops->matchCount(re);
  for (int32_t k = 1; k <= n; ++k) {
    lw::Text t = re->ops->subMatchText(re, k, 1, nullptr);
    items.emplace_back(t ? t : "");
    lw::FreeMemory(t);
  }
  lw::FreeMemory(p);
  lw::FreeMemory(s);
  regex::FreeRegexObject(re);
  return items;
}


}  // namespace

int main() {
  lw::testing::InstallProgramDllTable();
  CoInitialize(nullptr);
  lw::SetMainThread({GetCurrentThreadId(), true});
  std::string feed = makeFeed();
  std::string pattern = patternOf("<title><![CDATA", "/link>");

  std::vector<std::string> a = throughRegexObject(feed, pattern), b = bench::BareComponentItems(feed, pattern);
  if (a.size() != size_t(kItems) || a != b) {
    printf("the two routes disagree: %zu and %zu items\n", a.size(), b.size());
    return 1;
  }
  std::vector<double> object, bare;
  for (int r = 0; r < kRounds; ++r) {
    double t0 = bench::NowMs();
    bench::BareComponentItems(feed, pattern);
    double t1 = bench::NowMs();
    throughRegexObject(feed, pattern);
    double t2 = bench::NowMs();
    bare.push_back(t1 - t0);
    object.push_back(t2 - t1);
  }
  double o = bench::Median(object), c = bench::Median(bare);
  printf("feed collection, %d items (%zu bytes) x %d rounds (median milliseconds per feed)\n", kItems, feed.size(),
         kRounds);
  printf("  bare component, ids looked up once: %9.1f ms\n", c);
  printf("  regex object, called by name:       %9.1f ms\n", o);
  printf("  ratio object/bare: %.2f\n", o / c);
  CoUninitialize();
  return 0;
}
