#include "web/address.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/core/text/codepage.h"
#include "runtime/core/text/text_commands.h"
#include "runtime/core/text/text_strings.h"
#include "runtime/core/values/memory.h"

namespace web {
namespace text = lw::text;

const char kDefaultUserAgent[] = "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)";

namespace {

const char kHttp[] = "http://";
const char kHttps[] = "https://";
const char kCrLf[] = "\r\n";

bool startsWith(const std::string& s, const char* prefix) { return s.compare(0, strlen(prefix), prefix) == 0; }

// Length of the scheme the address starts with ("http://" or "https://", any
// letter case), 0 without one.
size_t schemeLength(const std::string& address) {
  std::string head = text::toLowerCase(address.substr(0, 8));
  if (startsWith(head, kHttps)) return 8;
  if (startsWith(head, kHttp)) return 7;
  return 0;
}

// Byte positions (0-based) of every "." at a character start.
std::vector<size_t> dotPositions(const std::string& s) {
  std::vector<size_t> dots;
  for (int p = text::findText(s, "."); p > 0; p = text::findText(s, ".", p + 1)) dots.push_back(size_t(p - 1));
  return dots;
}

std::string hostOf(const std::string& address, bool rootDomain, bool keepPort, std::optional<int> levels) {
  std::string host;
  if (levels) {
    host = text::replaceSubText(text::replaceSubText(address, kHttp, ""), kHttps, "");
    int slash = text::findText(host, "/");
    if (slash > 0) host.resize(size_t(slash - 1));
    // The dot before the labels to keep, counted from the end.
    size_t back = size_t(*levels > 0 ? *levels : 0) + (rootDomain ? 1 : 2);
    std::vector<size_t> dots = dotPositions(host);
    if (dots.size() >= back) host = host.substr(dots[dots.size() - back] + 1);
  } else {
    std::string a = text::toLowerCase(address);
    if (a.empty() || a.back() != '/') a += '/';
    // A scheme counts only at the start: an address such as "example.com/?to=http://other/"
    // names example.com, not the host inside its query.
    if (startsWith(a, kHttps)) {
      host = text::between(a, kHttps, "/");
    } else {
      if (!startsWith(a, kHttp)) a.insert(0, kHttp);
      host = text::between(a, kHttp, "/");
    }
    if (rootDomain) {
      std::vector<std::string> labels = text::splitText(host, ".");
      if (labels.size() > 1) host = labels[labels.size() - 2] + "." + labels.back();
    }
  }
  if (!keepPort) {
    int colon = text::findText(host, ":");
    if (colon > 0) host.resize(size_t(colon - 1));
  }
  return host;
}

std::string portText(const std::string& hostWithPort) {
  int last = -1;
  for (int p = text::findText(hostWithPort, ":"); p > 0; p = text::findText(hostWithPort, ":", p + 1)) last = p;
  return last > 0 ? hostWithPort.substr(size_t(last)) : std::string();
}

int portOf(const std::string& address) {
  std::string host = hostOf(address, false, true, std::nullopt);
  // The port is read as the core commands read an integer (full-width digits too).
  if (text::findText(host, ":") > 0) {
    std::string port = portText(host);
    return lw::text::TextToInteger(port.data(), port.size());
  }
  return isHttpsAddress(address) ? 443 : 80;
}

std::string pathOf(const std::string& address) {
  std::string host = hostOf(address, false, false, std::nullopt);
  // The host is looked for after the scheme, so that a host such as "h" is not
  // found inside "http://".
  int at = text::findText(address, host, int(schemeLength(address)) + 1, true);
  int slash = text::findText(address, "/", at, true);
  return slash > 0 ? address.substr(size_t(slash - 1)) : std::string("/");
}

std::string fallbackAgent(const std::string& headers) {
  int colon = text::findText(headers, ":");
  return colon > 0 ? text::trimSpaces(headers.substr(size_t(colon))) : std::string();
}

// Cuts a text at its first line break.
std::string firstLine(const std::string& s) { return s.substr(0, s.find_first_of(kCrLf)); }

}  // namespace

lw::Text hostOfAddress(const char* address, bool rootDomain, bool keepPort, std::optional<int> levels) {
  return text::toText(hostOf(text::of(address), rootDomain, keepPort, levels));
}

int portOfAddress(const char* address) { return portOf(text::of(address)); }

lw::Text pathOfAddress(const char* address) { return text::toText(pathOf(text::of(address))); }

lw::Text userAgentFallback(const char* headers) { return text::toText(fallbackAgent(text::of(headers))); }

bool isHttpsAddress(const std::string& address) { return schemeLength(address) == sizeof kHttps - 1; }

namespace {
bool beyondAscii(char c) { return static_cast<unsigned char>(c) >= 0x80; }
}  // namespace

bool holdsHostBeyondAscii(const std::string& address) {
  const std::string host = hostOf(address, false, true, std::nullopt);
  return std::any_of(host.begin(), host.end(), beyondAscii);
}

std::string wireAddress(const std::string& address) {
  if (std::none_of(address.begin(), address.end(), beyondAscii)) return address;
  // The whole text is converted, so that a GBK trail byte in the ASCII range
  // (0x40-0x7E) goes with its character and never passes as a character of its own.
  static const char kHex[] = "0123456789ABCDEF";
  const std::string utf8 = lw::GbkToUtf8(address.data(), address.size());
  std::string out;
  out.reserve(utf8.size() * 3);
  for (char c : utf8) {
    if (!beyondAscii(c)) {
      out += c;
      continue;
    }
    const unsigned char b = static_cast<unsigned char>(c);
    out += '%';
    out += kHex[b >> 4];
    out += kHex[b & 15];
  }
  return out;
}

bool holdsLineBreak(const std::string& address) { return address.find_first_of(kCrLf) != std::string::npos; }

std::string requestUserAgent(const std::string& headers) {
  static const char kName[] = "User-Agent:";
  int at = text::findText(headers, kName, 1, true);
  if (at < 0) return kDefaultUserAgent;
  // The value runs to the end of its own line; a header text whose last line is the
  // agent line has no line break after it.
  std::string agent = text::trimSpaces(firstLine(headers.substr(size_t(at - 1) + sizeof kName - 1)));
  if (!agent.empty()) return agent;
  return firstLine(fallbackAgent(headers));
}

RequestPlan planRequest(const std::string& address, int method, const std::string& headers,
                        const std::string& proxy, bool cookiesSupplied, bool noRedirect) {
  static const char* const kVerbs[] = {"GET", "POST", "HEAD"};
  if (method < 0 || method > 2) method = 0;
  RequestPlan plan;
  plan.verb = kVerbs[method];
  plan.post = method != 0;
  plan.https = isHttpsAddress(address);
  plan.agent = requestUserAgent(headers);
  if (proxy.empty()) {
    plan.accessType = inet::kOpenTypeDirect;
  } else {
    plan.accessType = inet::kOpenTypeProxy;
    plan.proxyServer = plan.https ? proxy : "http=" + proxy;
  }
  plan.host = hostOf(address, false, false, std::nullopt);
  plan.port = portOf(address);
  plan.path = pathOf(address);
  plan.flags = inet::kFlagReload | inet::kFlagNeedFile;
  if (cookiesSupplied) plan.flags |= inet::kFlagNoCookies;
  if (noRedirect) plan.flags |= inet::kFlagNoAutoRedirect;
  plan.flags |= plan.https ? inet::kFlagSecure : inet::kFlagIgnoreRedirectToHttps;
  return plan;
}

std::string completedHeaderText(const std::string& headers, const std::string& address, const std::string& cookies) {
  auto lacks = [](const std::string& h, const char* name) { return text::findText(h, name) < 0; };
  std::string h = headers;
  if (h.empty()) h = "Accept: */*";
  else if (lacks(h, "Accept:")) h += "\r\nAccept: */*";
  if (lacks(h, "Referer:")) h += "\r\nReferer: " + address;
  if (lacks(h, "Accept-Language:")) h += "\r\nAccept-Language: zh-cn";
  if (lacks(h, "Content-Type:")) h += "\r\nContent-Type: application/x-www-form-urlencoded";
  if (!cookies.empty()) h += "\r\nCookie: " + cookies;
  return h;
}

void completeRequestHeaders(lw::Text* headers, const char* address, const char* cookies) {
  lw::Text fresh = text::toText(completedHeaderText(text::of(*headers), text::of(address), text::of(cookies)));
  lw::FreeMemory(*headers);
  *headers = fresh;
}

std::string normaliseSetCookie(const std::string& rawHeaders) {
  return text::replaceSubText(rawHeaders, "Set-Cookie", "Set-Cookie", 1, -1, false);
}

std::string newCookiesOf(const std::string& responseHeaders) {
  std::string cookies;
  for (const std::string& line : text::splitText(responseHeaders, kCrLf)) {
    if (text::findText(line, "Set-Cookie") < 0) continue;
    std::string entry = text::findText(line, ";") > 0
                            ? text::between(line, "Set-Cookie:", ";")
                            : text::replaceSubText(line, "Set-Cookie:", "", 1, -1, false);
    cookies += text::trimSpaces(entry);
    cookies += "; ";
  }
  cookies.resize(cookies.size() >= 2 ? cookies.size() - 2 : 0);
  return cookies;
}

}  // namespace web
