// libFuzzer entry for what the feed list reads before the regex object runs: the
// span of a page that can hold items, and the QQ number as typed. Input: the item
// end marker, then the page (or the typed number), cut at a zero byte.
#include "app/feed_list.h"
#include "tools/fuzz/reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> t = fuzzTexts(data, size, 2);
  const std::string& page = t[1];
  if (app::itemSpan(page.c_str(), page.size(), t[0].c_str()) > page.size()) __builtin_trap();
  if (app::itemSpan(page.c_str(), page.size(), "/link>") > page.size()) __builtin_trap();
  lw::Text number = app::qqNumberOf(page.c_str());
  for (const char* p = number; p && *p; ++p)
    if (*p < '0' || *p > '9') __builtin_trap();
  touchText(app::feedAddress(number));
  touchText(number);
  return 0;
}
