// libFuzzer entry for the handling of raw response headers: the "Set-Cookie"
// normalisation and the cookies read out of them. The cookies found must not
// depend on the letter case the server wrote the header name in.
#include "tools/fuzz/reader_fuzz.h"
#include "web/address.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string raw(reinterpret_cast<const char*>(data), size);
  raw = raw.substr(0, raw.find('\0'));
  std::string normal = web::normaliseSetCookie(raw);
  if (normal.size() != raw.size()) __builtin_trap();
  std::string cookies = web::newCookiesOf(normal);
  if (web::normaliseSetCookie(normal) != normal) __builtin_trap();
  (void)cookies;
  return 0;
}
