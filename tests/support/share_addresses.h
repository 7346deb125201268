// The worked share addresses of the conversion (owner 12345, blog 678, mood 9ab),
// as the conversion tests of both builds expect them byte for byte.
#pragma once
#include <string>

#include "app/endpoints.h"

namespace lw::testing {

inline const std::string kSharePrefix = std::string("http://") + app::endpoints::kShareHost;
inline const std::string kBlog12345_678 =
    kSharePrefix +
    "/ugc/share?_wv=1&subtype=&ciphertext=&sid=&blog_photo=&g=85&res_uin=12345&cellid=678&subid=&bp1=&bp2=&bp7="
    "&appid=2&g_f=2000000103";
inline const std::string kMood12345_9ab =
    kSharePrefix +
    "/ugc/share?ptlang=2052&_wv=1&ADUIN=12345&ADTAG=CLIENT%2EQQ%2E5461_%2E0&ADSESSION=1357924680&ADPUBNO=26553"
    "&subtype=&ciphertext=&sk=&blog_photo=&g=84&res_uin=12345&cellid=9ab&subid=&bp1=&bp2=&bp7=&appid=311"
    "&g_f=2000000103&from=timeline&isappinstalled=0";

}  // namespace lw::testing
