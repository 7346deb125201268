// The addresses of the services the program talks to. Their values are build
// settings (see the README); they live in one small unit so that a test build of
// the program can point them at a server of its own.
#pragma once
#include <cstddef>

namespace app::endpoints {

// The most body bytes any of the three fetches accepts (the notice page, the feed,
// the QR picture). A longer answer counts as a failed fetch, so a server that never
// stops talking cannot fill the memory.
constexpr size_t kMaxBodyBytes = size_t(32) << 20;

extern const char kShareHost[];  // host (and optional :port) of the share addresses
extern const char kFeedHost[];   // host of the blog feed
extern const char kQrHost[];     // host of the QR image service
extern const char kNoticeUrl[];  // full address of the update notice page

}  // namespace app::endpoints
