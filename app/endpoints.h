// The addresses of the services the program talks to. Their values are build
// settings (see the README); they live in one small unit so that a test build of
// the program can point them at a server of its own.
#pragma once

namespace app::endpoints {

extern const char kShareHost[];  // host (and optional :port) of the share addresses
extern const char kFeedHost[];   // host of the blog feed
extern const char kQrHost[];     // host of the QR image service
extern const char kNoticeUrl[];  // full address of the update notice page

}  // namespace app::endpoints
