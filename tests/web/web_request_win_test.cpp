// The web page request on the wire: a loopback server records each raw request and
// answers with canned responses, and the tests compare what was sent and what the
// caller's variables hold afterwards.
#include "web/web_request_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/core/text/text_strings.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/values.h"
#include "tests/support/http_server_win.h"
#include "tests/support/program_dll_table_win.h"
#include "web/address.h"

namespace {

using lw::testing::HttpResponse;
using lw::testing::HttpServer;

// A caller's text variable: an allocator block, freed at the end of the test.
struct TextVar {
  lw::Text t = nullptr;
  TextVar() = default;
  explicit TextVar(const std::string& s) : t(lw::text::toText(s)) {}
  ~TextVar() { lw::FreeMemory(t); }
  std::string str() const { return t ? std::string(t) : std::string(); }
};

struct ByteSetVar {
  lw::ByteSet b = nullptr;
  ByteSetVar() = default;
  explicit ByteSetVar(const std::string& s) : b(lw::MakeByteSet(s.data(), s.size())) {}
  ~ByteSetVar() { lw::FreeMemory(b); }
  std::string str() const {
    return b ? std::string(reinterpret_cast<const char*>(lw::byteSetData(b)), b->length) : std::string();
  }
};

std::string take(lw::ByteSet b) {
  std::string s = b ? std::string(reinterpret_cast<const char*>(lw::byteSetData(b)), b->length) : std::string();
  lw::FreeMemory(b);
  return s;
}

// A recorded request split into its request line, header lines and body.
struct Request {
  std::string line;
  std::vector<std::string> headers;
  std::string body;
  bool has(const std::string& header) const {
    return std::find(headers.begin(), headers.end(), header) != headers.end();
  }
  // Position of the first header line starting with `prefix`, or -1.
  int indexOf(const std::string& prefix) const {
    for (size_t i = 0; i < headers.size(); ++i)
      if (headers[i].compare(0, prefix.size(), prefix) == 0) return int(i);
    return -1;
  }
};

Request parse(const std::string& raw) {
  Request r;
  size_t headEnd = raw.find("\r\n\r\n");
  std::string head = raw.substr(0, headEnd);
  if (headEnd != std::string::npos) r.body = raw.substr(headEnd + 4);
  size_t at = 0;
  for (bool first = true; at <= head.size(); first = false) {
    size_t end = head.find("\r\n", at);
    std::string line = head.substr(at, end == std::string::npos ? std::string::npos : end - at);
    if (first) r.line = line;
    else r.headers.push_back(line);
    if (end == std::string::npos) break;
    at = end + 2;
  }
  return r;
}

struct WebRequest : ::testing::Test {
  static void SetUpTestSuite() {
    lw::testing::InstallProgramDllTable();
    ASSERT_TRUE(server.Start());
  }
  static void TearDownTestSuite() { server.Stop(); }
  void SetUp() override { server.Clear(); }

  // The only request recorded since the test began.
  Request onlyRequest() {
    std::vector<std::string> all = server.Requests();
    EXPECT_EQ(1u, all.size()) << "expected one request, got " << all.size();
    return all.empty() ? Request() : parse(all.back());
  }

  static HttpServer server;
};
HttpServer WebRequest::server;

TEST_F(WebRequest, PlainGetSendsTheProgramsHeaderSet) {
  server.Serve("/feed", HttpResponse("200 OK", "Content-Type: text/plain\r\n", "hello"));
  TextVar address(server.Address("/feed?uin=12345&x=A"));
  TextVar headers, responseHeaders, newCookies("stale");

  EXPECT_EQ("hello", take(web::webPageRequest(&address.t, 0, nullptr, nullptr, &newCookies.t, &headers.t,
                                              &responseHeaders.t)));

  Request r = onlyRequest();
  EXPECT_EQ("GET /feed?uin=12345&x=A HTTP/1.1", r.line);
  // The agent a request names when the caller gives none, as the wire carries it.
  EXPECT_TRUE(r.has("User-Agent: Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)"));
  // The four lines of the program's own, in their order.
  int accept = r.indexOf("Accept: "), referer = r.indexOf("Referer: "), language = r.indexOf("Accept-Language: "),
      type = r.indexOf("Content-Type: ");
  EXPECT_TRUE(r.has("Accept: */*"));
  EXPECT_TRUE(r.has("Referer: " + address.str()));
  EXPECT_TRUE(r.has("Accept-Language: zh-cn"));
  EXPECT_TRUE(r.has("Content-Type: application/x-www-form-urlencoded"));
  EXPECT_TRUE(accept < referer && referer < language && language < type)
      << "expected Accept, Referer, Accept-Language, Content-Type in order, got " << accept << " " << referer << " "
      << language << " " << type;
  EXPECT_EQ(-1, r.indexOf("Cookie:"));
  EXPECT_EQ("", r.body);

  // The caller sees the header text that was sent and the raw response headers.
  EXPECT_EQ("Accept: */*\r\nReferer: " + address.str() +
                "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded",
            headers.str());
  std::string raw = responseHeaders.str();
  EXPECT_EQ(0u, raw.find("HTTP/1.1 200 OK\r\n")) << raw;
  EXPECT_NE(std::string::npos, raw.find("\r\nContent-Type: text/plain\r\n")) << raw;
  EXPECT_EQ(raw.size() - 4, raw.rfind("\r\n\r\n")) << "expected the header text to end in an empty line";
  EXPECT_EQ("", newCookies.str());
}

TEST_F(WebRequest, AddressesWithoutSchemeOrPathAndOddMethods) {
  server.Serve("/", HttpResponse("200 OK", "", "root"));
  server.Serve("/Mixed/Case", HttpResponse("200 OK", "", "path"));

  // No scheme: plain HTTP on the given port; the Referer carries the address as given.
  TextVar bare("127.0.0.1:" + std::to_string(server.port) + "/Mixed/Case");
  TextVar headers;
  EXPECT_EQ("path", take(web::webPageRequest(&bare.t, 0, nullptr, nullptr, nullptr, &headers.t)));
  Request r = onlyRequest();
  EXPECT_EQ("GET /Mixed/Case HTTP/1.1", r.line);
  EXPECT_TRUE(r.has("Referer: " + bare.str()));
  EXPECT_NE(std::string::npos, r.headers[size_t(std::max(0, r.indexOf("Host: ")))].find(std::to_string(server.port)));

  // Nothing after the host: the path is "/". A method outside 0..2 is a GET.
  server.Clear();
  TextVar hostOnly("HTTP://127.0.0.1:" + std::to_string(server.port));
  EXPECT_EQ("root", take(web::webPageRequest(&hostOnly.t, 7)));
  EXPECT_EQ("GET / HTTP/1.1", onlyRequest().line);
}

TEST_F(WebRequest, PostSendsPostTextOrPostBytes) {
  server.Serve("/form", HttpResponse("200 OK", "", "posted"));
  TextVar address(server.Address("/form")), postText("a=1&b=%E4");
  ByteSetVar postBytes;
  EXPECT_EQ("posted", take(web::webPageRequest(&address.t, 1, &postText.t, nullptr, nullptr, nullptr, nullptr,
                                               false, &postBytes.b)));
  Request r = onlyRequest();
  EXPECT_EQ("POST /form HTTP/1.1", r.line);
  EXPECT_EQ("a=1&b=%E4", r.body);
  EXPECT_TRUE(r.has("Content-Length: 9"));
  EXPECT_EQ("a=1&b=%E4", postBytes.str()) << "expected postBytes to hold what postText sent";

  // Bytes given win over the text, zero bytes included, and stay the caller's block.
  server.Clear();
  std::string binary("\x00\x01\xFF\r\n\x00z", 7);
  ByteSetVar given(binary);
  lw::ByteSet block = given.b;
  EXPECT_EQ("posted", take(web::webPageRequest(&address.t, 1, &postText.t, nullptr, nullptr, nullptr, nullptr,
                                               false, &given.b)));
  r = onlyRequest();
  EXPECT_EQ(binary, r.body);
  EXPECT_TRUE(r.has("Content-Length: 7"));
  EXPECT_EQ(block, given.b);
}

TEST_F(WebRequest, HeadAsksForTheHeadersOnly) {
  server.Serve("/h", HttpResponse("200 OK", "X-Probe: yes\r\n", "body a HEAD must not deliver"));
  TextVar address(server.Address("/h")), responseHeaders;
  EXPECT_EQ("", take(web::webPageRequest(&address.t, 2, nullptr, nullptr, nullptr, nullptr, &responseHeaders.t)));
  Request r = onlyRequest();
  EXPECT_EQ("HEAD /h HTTP/1.1", r.line);
  EXPECT_EQ("", r.body);
  EXPECT_NE(std::string::npos, responseHeaders.str().find("\r\nX-Probe: yes\r\n"));
}

TEST_F(WebRequest, CallersHeaderLinesAndAgentAreKept) {
  server.Serve("/ua", HttpResponse("200 OK", "", "x"));
  TextVar address(server.Address("/ua"));
  TextVar headers("User-Agent:  Tester/2.0 \r\nAccept: text/html\r\nX-Extra: 1");
  EXPECT_EQ("x", take(web::webPageRequest(&address.t, 0, nullptr, nullptr, nullptr, &headers.t)));
  Request r = onlyRequest();
  EXPECT_EQ(-1, r.indexOf(std::string("User-Agent: ") + web::kDefaultUserAgent));
  EXPECT_NE(-1, r.indexOf("User-Agent: Tester/2.0"));
  EXPECT_TRUE(r.has("Accept: text/html"));
  EXPECT_FALSE(r.has("Accept: */*")) << "expected no second Accept line";
  EXPECT_TRUE(r.has("X-Extra: 1"));
  EXPECT_EQ("User-Agent:  Tester/2.0 \r\nAccept: text/html\r\nX-Extra: 1\r\nReferer: " + address.str() +
                "\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded",
            headers.str());
}

TEST_F(WebRequest, HttpsInCapitalsIsSecure) {
  // The loopback server sees a TLS hello instead of a request line, and the
  // exchange fails with an empty result.
  TextVar address("HTTPS://127.0.0.1:" + std::to_string(server.port) + "/Secure");
  TextVar headers("X: 1");
  EXPECT_EQ("", take(web::webPageRequest(&address.t, 0, nullptr, nullptr, nullptr, &headers.t)));
  std::vector<std::string> all = server.Requests();
  ASSERT_FALSE(all.empty());
  ASSERT_FALSE(all[0].empty());
  EXPECT_EQ(0x16, static_cast<unsigned char>(all[0][0])) << "expected a TLS handshake record";
}

TEST_F(WebRequest, RedirectsFollowedUnlessNoRedirect) {
  server.Serve("/moved", HttpResponse("302 Found", "Location: /target\r\n", "moved"));
  server.Serve("/target", HttpResponse("200 OK", "", "arrived"));
  TextVar address(server.Address("/moved"));

  EXPECT_EQ("arrived", take(web::webPageRequest(&address.t)));
  std::vector<std::string> all = server.Requests();
  ASSERT_EQ(2u, all.size());
  EXPECT_EQ("GET /target HTTP/1.1", parse(all[1]).line);

  server.Clear();
  TextVar responseHeaders;
  EXPECT_EQ("moved", take(web::webPageRequest(&address.t, 0, nullptr, nullptr, nullptr, nullptr,
                                              &responseHeaders.t, true)));
  EXPECT_EQ(1u, server.Requests().size());
  EXPECT_EQ(0u, responseHeaders.str().find("HTTP/1.1 302 Found\r\n"));
}

TEST_F(WebRequest, SuppliedCookiesAreSentAndMerged) {
  server.Serve("/login", HttpResponse("200 OK",
                                      "Set-Cookie: b=3; path=/\r\n"
                                      "set-cookie: c=4\r\n",
                                      "welcome"));
  TextVar address(server.Address("/login")), cookies("a=1; b=2"), newCookies, responseHeaders;
  EXPECT_EQ("welcome", take(web::webPageRequest(&address.t, 0, nullptr, &cookies.t, &newCookies.t, nullptr,
                                                &responseHeaders.t)));
  Request r = onlyRequest();
  EXPECT_TRUE(r.has("Cookie: a=1; b=2"));
  EXPECT_EQ("b=3; c=4; a=1", cookies.str());
  EXPECT_EQ("b=3;c=4", newCookies.str()) << "expected the merge to take the spaces out of newCookies too";
  EXPECT_NE(std::string::npos, responseHeaders.str().find("\r\nSet-Cookie: c=4\r\n")) << responseHeaders.str();
  EXPECT_EQ(std::string::npos, responseHeaders.str().find("set-cookie"));

  // With cookies supplied WinINet kept none of them for itself.
  server.Clear();
  server.Serve("/after", HttpResponse("200 OK", "", ""));
  TextVar after(server.Address("/after"));
  EXPECT_EQ("", take(web::webPageRequest(&after.t)));
  EXPECT_EQ(-1, onlyRequest().indexOf("Cookie:"));
}

TEST_F(WebRequest, WinInetCookiesOnlyWhenNoneAreSupplied) {
  server.Serve("/jar/set", HttpResponse("200 OK", "Set-Cookie: jar=1; path=/jar\r\n", ""));
  server.Serve("/jar/check", HttpResponse("200 OK", "", ""));
  TextVar set(server.Address("/jar/set")), check(server.Address("/jar/check"));
  take(web::webPageRequest(&set.t));
  server.Clear();
  take(web::webPageRequest(&check.t));
  EXPECT_TRUE(onlyRequest().has("Cookie: jar=1")) << "expected WinINet's own cookie store in effect";

  // Supplied, even empty: WinINet's cookies are off and no Cookie line goes out.
  server.Clear();
  TextVar cookies;
  take(web::webPageRequest(&check.t, 0, nullptr, &cookies.t));
  EXPECT_EQ(-1, onlyRequest().indexOf("Cookie:"));
  EXPECT_EQ("", cookies.str());
}

TEST_F(WebRequest, UnreachableHostLeavesTheCallersVariablesAlone) {
  HttpServer closed;
  ASSERT_TRUE(closed.Start());
  closed.Stop();  // its port now refuses connections
  TextVar address(closed.Address("/x")), headers("X-Mine: 1"), cookies("a=1"), newCookies("n=1"),
      responseHeaders("old"), postText("p");
  ByteSetVar postBytes;
  lw::Text givenHeaders = headers.t;
  EXPECT_EQ(nullptr, web::webPageRequest(&address.t, 1, &postText.t, &cookies.t, &newCookies.t, &headers.t,
                                         &responseHeaders.t, false, &postBytes.b));
  EXPECT_EQ(givenHeaders, headers.t);
  EXPECT_EQ("X-Mine: 1", headers.str());
  EXPECT_EQ("a=1", cookies.str());
  EXPECT_EQ("n=1", newCookies.str());
  EXPECT_EQ("old", responseHeaders.str());
  EXPECT_EQ(nullptr, postBytes.b);

  // No host at all: the connection handle is refused.
  TextVar noHost("http:///x");
  EXPECT_EQ(nullptr, web::webPageRequest(&noHost.t, 0, nullptr, nullptr, nullptr, &headers.t));
  EXPECT_EQ("X-Mine: 1", headers.str());
}

TEST_F(WebRequest, LongBinaryBodyArrivesWhole) {
  std::string body;
  for (int i = 0; i < 300000; ++i) body += char((i * 7 + i / 1024) & 0xFF);
  server.Serve("/big.bin", HttpResponse("200 OK", "Content-Type: application/octet-stream\r\n", body));
  TextVar address(server.Address("/big.bin"));
  std::string got = take(web::webPageRequest(&address.t));
  EXPECT_EQ(body.size(), got.size());
  EXPECT_TRUE(got == body) << "expected the body byte for byte";
}

TEST_F(WebRequest, HeadersLongerThanTheBufferAreAskedForAgain) {
  std::string longHeader;
  for (int i = 0; i < 12; ++i) longHeader += "X-Long-" + std::to_string(i) + ": " + std::string(500, 'h') + "\r\n";
  longHeader += "Set-Cookie: last=1; path=/\r\n";
  server.Serve("/long", HttpResponse("200 OK", longHeader, "still here"));
  TextVar address(server.Address("/long")), responseHeaders, newCookies;
  EXPECT_EQ("still here", take(web::webPageRequest(&address.t, 0, nullptr, nullptr, &newCookies.t, nullptr,
                                                   &responseHeaders.t)));
  EXPECT_GT(responseHeaders.str().size(), 6000u);
  EXPECT_EQ(0u, responseHeaders.str().find("HTTP/1.1 200 OK\r\n")) << responseHeaders.str().substr(0, 40);
  EXPECT_EQ("last=1", newCookies.str()) << "expected the cookie after 6,000 bytes of headers";
}

TEST_F(WebRequest, BodyPastTheCallersBoundIsAFailedFetch) {
  const std::string type = "Content-Type: application/octet-stream\r\n";
  server.Serve("/1000", HttpResponse("200 OK", type, std::string(1000, 'a')));
  server.Serve("/1001", HttpResponse("200 OK", type, std::string(1001, 'a')));
  server.Serve("/40MiB", HttpResponse("200 OK", type, std::string(size_t(40) << 20, 'b')));
  server.ServeEndless("/endless", "HTTP/1.1 200 OK\r\n" + type + "Connection: close\r\n\r\n");
  struct Case {
    const char* target;
    size_t bound;
    size_t expected;  // body bytes returned; 0 for the failed fetch
  } const cases[] = {
      {"/1000", 1000, 1000},               // exactly the bound arrives
      {"/1001", 1000, 0},                  // one byte past it is refused whole
      {"/40MiB", size_t(32) << 20, 0},     // a long answer with its length
      {"/endless", size_t(32) << 20, 0},   // no length, never ending
      {"/1001", 0, 1001},                  // no bound: read as it comes
  };
  for (const Case& c : cases) {
    TextVar address(server.Address(c.target));
    DWORD start = GetTickCount();
    lw::ByteSet body = web::webPageRequest(&address.t, 0, nullptr, nullptr, nullptr, nullptr, nullptr, false, nullptr,
                                           nullptr, c.bound);
    DWORD took = GetTickCount() - start;
    EXPECT_EQ(c.expected, take(body).size()) << c.target << " with the bound " << c.bound;
    EXPECT_LT(took, 15000u) << c.target << " took " << took << " ms";
  }
}

TEST_F(WebRequest, AddressesBeyondAsciiGoOutAsUtf8PercentEncodedUnderEveryCodePage) {
  // The program's texts are GBK; WinINet would read them in the system's code page,
  // so a path or query beyond ASCII named another address under every code page
  // but 936. It goes out as a browser sends it: UTF-8, percent-encoded. 丂 has an
  // ASCII trail byte in GBK (81 40), which must not pass as an "@".
  const std::string encoded = "/%E6%9F%A5%E6%89%BE?q=%E4%B8%AD%E6%96%87%E4%B8%82&n=1";
  server.Serve(encoded, HttpResponse("200 OK", "", "found"));
  TextVar address(server.Address("/查找?q=中文丂&n=1")), headers;
  EXPECT_EQ("found", take(web::webPageRequest(&address.t, 0, nullptr, nullptr, nullptr, &headers.t)));
  Request r = onlyRequest();
  EXPECT_EQ("GET " + encoded + " HTTP/1.1", r.line);
  EXPECT_TRUE(r.has("Referer: " + server.Address(encoded))) << "the Referer line is the address as sent";

  // A host beyond ASCII has no such form here: the fetch fails without a request.
  server.Clear();
  for (const char* host : {"http://例子.测试/a", "127.0.0.1\xA1:80/a"}) {
    TextVar odd(host);
    EXPECT_EQ(nullptr, web::webPageRequest(&odd.t)) << host;
  }
  EXPECT_FALSE(server.WaitForRequests(1, 300)) << "expected nothing on the wire";
}

TEST_F(WebRequest, AddressWithALineBreakIsNeverSent) {
  server.Serve("/a", HttpResponse("200 OK", "", "answered"));
  for (const char* tail : {"\r\nX-Injected: 1", "\nX-Injected: 1", "?q=\r"}) {
    TextVar address(server.Address("/a") + tail), headers("X-Mine: 1");
    EXPECT_EQ(nullptr, web::webPageRequest(&address.t, 0, nullptr, nullptr, nullptr, &headers.t));
    EXPECT_EQ("X-Mine: 1", headers.str());
  }
  EXPECT_FALSE(server.WaitForRequests(1, 500)) << "expected nothing on the wire";
}

}  // namespace
