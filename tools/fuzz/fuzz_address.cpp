// libFuzzer entry for the address and header routines of the web page request:
// host, port and path of an address (with every option), the user agent, the
// request plan and the header text it sends. Input: address, headers, proxy,
// cookies, cut at zero bytes; the first byte past them picks the options.
#include "tools/fuzz/reader_fuzz.h"
#include "web/address.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> t = fuzzTexts(data, size, 4);
  const char* address = t[0].c_str();
  uint8_t choice = size ? data[size - 1] : 0;
  touchText(web::hostOfAddress(address));
  touchText(web::hostOfAddress(address, choice & 1, choice & 2));
  touchText(web::hostOfAddress(address, choice & 1, choice & 2, int(choice >> 4) - 2));
  touchText(web::pathOfAddress(address));
  (void)web::portOfAddress(address);
  touchText(web::userAgentFallback(t[1].c_str()));
  web::RequestPlan plan = web::planRequest(t[0], choice % 5 - 1, t[1], t[2], choice & 4, choice & 8);
  if (plan.path.empty() || plan.path[0] != '/') __builtin_trap();
  if (!web::holdsLineBreak(t[0])) {
    std::string sent = web::completedHeaderText(t[1], t[0], t[3]);
    if (sent.find("Referer:") == std::string::npos) __builtin_trap();
  }
  return 0;
}
