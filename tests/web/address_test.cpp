#include "web/address.h"

#include <gtest/gtest.h>

#include "runtime/core/text/text_strings.h"
#include "runtime/core/values/memory.h"

namespace {
using namespace web;

std::string take(lw::Text t) {
  std::string s = t ? std::string(t) : std::string();
  lw::FreeMemory(t);
  return s;
}

TEST(HostOfAddress, LowerCaseHostWithoutSchemeOrPort) {
  EXPECT_EQ("example.com", take(hostOfAddress("http://Example.COM/Path")));
  EXPECT_EQ("host", take(hostOfAddress("HTTPS://Host:443/p")));
  EXPECT_EQ("example.com", take(hostOfAddress("example.com/x?y")));
  EXPECT_EQ("example.com", take(hostOfAddress("http://example.com")));
  EXPECT_EQ("h:8080", take(hostOfAddress("http://h:8080/x", false, true)));
  // A query straight after the host stays in it; the connection then fails.
  EXPECT_EQ("a.com?x=1", take(hostOfAddress("a.com?x=1")));
  EXPECT_EQ("", take(hostOfAddress(nullptr)));
}

TEST(HostOfAddress, ASchemeCountsOnlyAtTheStart) {
  EXPECT_EQ("example.com", take(hostOfAddress("example.com/go?to=http://other.net/")));
  EXPECT_EQ("example.com", take(hostOfAddress("Example.com/go?to=https://other.net/")));
}

TEST(HostOfAddress, RootDomainAndLevels) {
  EXPECT_EQ("example.com", take(hostOfAddress("http://a.b.example.com:81/", true)));
  EXPECT_EQ("localhost", take(hostOfAddress("http://localhost/", true)));
  EXPECT_EQ("c.example.com", take(hostOfAddress("http://a.b.c.example.com/x", false, false, 1)));
  EXPECT_EQ("example.com", take(hostOfAddress("https://a.b.c.example.com/x", true, false, 1)));
  EXPECT_EQ("b.com:8", take(hostOfAddress("http://b.com:8/x", false, true, 1)));
}

TEST(PortOfAddress, ExplicitPortElseByTheScheme) {
  EXPECT_EQ(8080, portOfAddress("http://h:8080/x"));
  EXPECT_EQ(8080, portOfAddress("h:8080"));
  EXPECT_EQ(443, portOfAddress("HTTPS://h/x"));
  // Only a whole "https://" makes an address https, not a host whose name begins so.
  EXPECT_EQ(80, portOfAddress("httpserver.example/x"));
  EXPECT_EQ(80, portOfAddress("h/x"));
  EXPECT_EQ(0, portOfAddress("http://h:abc/"));
  EXPECT_EQ(8080, portOfAddress("http://h:８０８０/"));  // full-width digits
  EXPECT_EQ(81, portOfAddress("http://[::1]:81/"));
}

TEST(PathOfAddress, PathAndQueryAsWritten) {
  EXPECT_EQ("/P?q=1", take(pathOfAddress("http://h.com/P?q=1")));
  EXPECT_EQ("/Path", take(pathOfAddress("HTTPS://Host/Path")));
  EXPECT_EQ("/x", take(pathOfAddress("h.com:8080/x")));
  EXPECT_EQ("/", take(pathOfAddress("http://h.com")));
  EXPECT_EQ("/", take(pathOfAddress("a.com?x=1")));
  // A host that also occurs inside the scheme is looked for after it.
  EXPECT_EQ("/x", take(pathOfAddress("http://h/x")));
  EXPECT_EQ("/p/s", take(pathOfAddress("https://s/p/s")));
}

TEST(WireAddress, BeyondAsciiGoesOutAsUtf8PercentEncodedAndAHostBeyondItIsRefused) {
  struct Case {
    const char* address;
    const char* sent;
    const char* why;
  } cases[] = {
      {"http://a.b/x?y=1%20z", "http://a.b/x?y=1%20z", "ASCII goes as written, its escapes too"},
      {"http://a.b/查找?q=中文", "http://a.b/%E6%9F%A5%E6%89%BE?q=%E4%B8%AD%E6%96%87", "path and query"},
      {"http://a.b/?q=丂@", "http://a.b/?q=%E4%B8%82@", "丂 is 81 40 in GBK: its trail byte is no \"@\""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.sent, wireAddress(c.address)) << c.why;
  EXPECT_FALSE(holdsHostBeyondAscii("http://a.b:80/查找"));
  EXPECT_TRUE(holdsHostBeyondAscii("http://例子.测试/a"));
  EXPECT_TRUE(holdsHostBeyondAscii("a.b\xA1:80/"));
}

TEST(UserAgent, NamedLineFallbackAndDefault) {
  EXPECT_EQ("X", take(userAgentFallback("user-agent:  X ")));
  EXPECT_EQ("", take(userAgentFallback("no colon")));
  EXPECT_EQ("Foo/1", requestUserAgent("User-Agent: Foo/1\r\nAccept: a"));
  EXPECT_EQ("bar", requestUserAgent("user-agent: bar"));
  // The agent line may be any line, also the last one without a line break.
  EXPECT_EQ("Baz", requestUserAgent("Accept: a\r\nUser-Agent: Baz"));
  EXPECT_EQ("", requestUserAgent("User-Agent:\r\nAccept: */*"));
  EXPECT_EQ(kDefaultUserAgent, requestUserAgent(""));
}

TEST(PlanRequest, PlainGetOfAnHttpAddress) {
  RequestPlan p = planRequest("http://feeds.example.com/f?uin=1", 0, "", "", false, false);
  EXPECT_STREQ("GET", p.verb);
  EXPECT_FALSE(p.post);
  EXPECT_EQ(kDefaultUserAgent, p.agent);
  EXPECT_EQ(inet::kOpenTypeDirect, p.accessType);
  EXPECT_EQ("", p.proxyServer);
  EXPECT_EQ("feeds.example.com", p.host);
  EXPECT_EQ(80, p.port);
  EXPECT_EQ("/f?uin=1", p.path);
  EXPECT_EQ(0x80004010u, p.flags);
}

TEST(PlanRequest, VerbsFlagsAndProxy) {
  RequestPlan https = planRequest("HTTPS://h/x", 2, "", "p:3128", false, false);
  EXPECT_STREQ("HEAD", https.verb);
  EXPECT_TRUE(https.post);
  EXPECT_EQ(0x80800010u, https.flags);
  EXPECT_EQ(443, https.port);
  EXPECT_EQ(inet::kOpenTypeProxy, https.accessType);
  EXPECT_EQ("p:3128", https.proxyServer);

  RequestPlan post = planRequest("h:8080/x", 1, "", "p:3128", true, true);
  EXPECT_STREQ("POST", post.verb);
  EXPECT_EQ(0x80000000u | 0x10u | 0x80000u | 0x200000u | 0x4000u, post.flags);
  EXPECT_EQ(8080, post.port);
  EXPECT_EQ("/x", post.path);
  EXPECT_EQ("http=p:3128", post.proxyServer);

  EXPECT_STREQ("GET", planRequest("h/", 7, "", "", false, false).verb);
  EXPECT_STREQ("GET", planRequest("h/", -1, "", "", false, false).verb);
}

TEST(RequestHeaders, DefaultLinesInTheirOrder) {
  EXPECT_EQ(
      "Accept: */*\r\nReferer: http://h/p?q\r\nAccept-Language: zh-cn\r\n"
      "Content-Type: application/x-www-form-urlencoded",
      completedHeaderText("", "http://h/p?q", ""));
  EXPECT_EQ(
      "X: 1\r\nAccept: */*\r\nReferer: h/p\r\nAccept-Language: zh-cn\r\n"
      "Content-Type: application/x-www-form-urlencoded\r\nCookie: a=1; b=2",
      completedHeaderText("X: 1", "h/p", "a=1; b=2"));
}

TEST(RequestHeaders, PresentNamesCountOnlyInTheirOwnLetterCase) {
  std::string given = "Accept: text/html\r\nReferer: r\r\nAccept-Language: en\r\nContent-Type: text/plain";
  EXPECT_EQ(given, completedHeaderText(given, "http://h/", ""));
  EXPECT_EQ(
      "accept: x\r\nAccept: */*\r\nReferer: a\r\nAccept-Language: zh-cn\r\n"
      "Content-Type: application/x-www-form-urlencoded",
      completedHeaderText("accept: x", "a", ""));
}

TEST(RequestHeaders, WrittenIntoTheCallersVariable) {
  lw::Text headers = lw::text::toText("User-Agent: A\r\nReferer: r");
  completeRequestHeaders(&headers, "http://h/", "c=1");
  EXPECT_EQ(
      "User-Agent: A\r\nReferer: r\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
      "Content-Type: application/x-www-form-urlencoded\r\nCookie: c=1",
      take(headers));
}

TEST(ResponseCookies, SetCookieLinesInAnyLetterCase) {
  std::string raw =
      "HTTP/1.1 200 OK\r\nset-cookie: a=1; path=/\r\nContent-Length: 0\r\nSET-COOKIE: b=2\r\n\r\n";
  std::string normal = normaliseSetCookie(raw);
  EXPECT_EQ("HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nContent-Length: 0\r\nSet-Cookie: b=2\r\n\r\n", normal);
  EXPECT_EQ("a=1; b=2", newCookiesOf(normal));
}

TEST(ResponseCookies, NoCookiesGiveAnEmptyText) {
  EXPECT_EQ("", newCookiesOf("HTTP/1.1 200 OK\r\nContent-Type: text/html\r\n\r\n"));
  EXPECT_EQ("", newCookiesOf(std::string(5000, ' ')));  // the header query failed
  EXPECT_EQ("", newCookiesOf(""));
}

}  // namespace
