// libFuzzer entry for the cookie jar: merging a response's cookies into the
// caller's text, and the item and name routines the merge uses. Input: the jar and
// the new cookies, cut at a zero byte.
#include "tools/fuzz/reader_fuzz.h"
#include "web/address.h"
#include "web/cookies.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> t = fuzzTexts(data, size, 2);
  lw::Text jar = t[0].empty() ? nullptr : lw::MakeText(t[0].data(), t[0].size());
  lw::Text fresh = t[1].empty() ? nullptr : lw::MakeText(t[1].data(), t[1].size());
  touchText(web::mergeCookies(&jar, &fresh));
  touchText(jar);
  touchText(fresh);
  touchText(web::removeDuplicateItems(t[0].c_str(), t[1].empty() ? "; " : t[1].c_str()));
  touchText(web::cookieName(t[0].c_str()));
  std::string a = t[0], b = t[1];
  (void)web::mergeCookieTexts(a, b);
  return 0;
}
