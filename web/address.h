// Everything the web page request decides without touching the network: the parts
// of an address (host, port, path), the user agent, the request flags, the header
// text it sends, and the cookies it reads out of the raw response headers. The
// platform routine only hands these to WinINet. Pure.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "runtime/core/values/types.h"

namespace web {

extern const char kDefaultUserAgent[];

// WinINet's published values for the choices the request makes.
namespace inet {
constexpr uint32_t kOpenTypeDirect = 1;
constexpr uint32_t kOpenTypeProxy = 3;
constexpr uint32_t kServiceHttp = 3;
constexpr uint32_t kQueryRawHeadersCrlf = 22;
constexpr uint32_t kFlagReload = 0x80000000;
constexpr uint32_t kFlagNeedFile = 0x00000010;
constexpr uint32_t kFlagNoCookies = 0x00080000;
constexpr uint32_t kFlagNoAutoRedirect = 0x00200000;
constexpr uint32_t kFlagSecure = 0x00800000;
constexpr uint32_t kFlagIgnoreRedirectToHttps = 0x00004000;
constexpr uint32_t kOptionConnectTimeout = 2;
constexpr uint32_t kOptionSendTimeout = 5;
constexpr uint32_t kOptionReceiveTimeout = 6;
}  // namespace inet

// The host name in lower case. Without options: after "https://" or "http://" at
// the start (an address without either is read as plain HTTP), up to the next "/",
// the port cut off unless keepPort. rootDomain keeps the last two labels; levels
// keeps that many labels past the root domain (neither is used by the program).
lw::Text hostOfAddress(const char* address, bool rootDomain = false, bool keepPort = false,
                       std::optional<int> levels = std::nullopt);
// The port after the host's last ":", else 443 for https addresses and 80 otherwise.
int portOfAddress(const char* address);
// The path and query as the caller wrote them, always starting with "/".
lw::Text pathOfAddress(const char* address);
// The text after the first ":" of a header text, trimmed; empty without a ":".
lw::Text userAgentFallback(const char* headers);

// Whether the address starts with "https://" in any letter case.
bool isHttpsAddress(const std::string& address);
// WinINet's A calls read an address in the system's code page, so only ASCII may
// reach them. A host with a byte of 0x80 or more has no such form: never sent.
bool holdsHostBeyondAscii(const std::string& address);
// The address as it goes out, the way browsers send it: every character beyond
// ASCII (the address is a GBK text) as the percent-encoded bytes of its UTF-8
// form; an ASCII address is returned as it is.
std::string wireAddress(const std::string& address);
// Whether the address holds a CR or LF, which would end the request line or the
// Referer line early and let the rest pass as headers of its own: never sent.
bool holdsLineBreak(const std::string& address);
// The agent named by a "User-Agent:" line (any letter case) of the caller's
// headers, else the default agent.
std::string requestUserAgent(const std::string& headers);

// What the request hands to WinINet, decided before anything is opened.
struct RequestPlan {
  const char* verb;          // "GET", "POST" or "HEAD"
  bool post;                 // POST and HEAD send a body (postBytes)
  bool https;
  std::string agent;
  uint32_t accessType;       // direct, or through the proxy
  std::string proxyServer;   // empty for a direct connection
  std::string host;
  int port;
  std::string path;
  uint32_t flags;            // for the request handle
};
RequestPlan planRequest(const std::string& address, int method, const std::string& headers,
                        const std::string& proxy, bool cookiesSupplied, bool noRedirect);

// Completes the caller's header text in place with the lines the request always
// sends: Accept, Referer (the address), Accept-Language, Content-Type, each unless
// a line of that name (exact letter case) is present, then the cookies if any.
void completeRequestHeaders(lw::Text* headers, const char* address, const char* cookies);
std::string completedHeaderText(const std::string& headers, const std::string& address,
                                const std::string& cookies);

// The raw response headers with every "Set-Cookie" written in that letter case.
std::string normaliseSetCookie(const std::string& rawHeaders);
// The name=value of every "Set-Cookie" line, joined by "; ".
std::string newCookiesOf(const std::string& responseHeaders);

}  // namespace web
