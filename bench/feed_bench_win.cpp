// The feed list in the whole program, and a page of unclosed item starts.
//
// 1. A 5,000-item blog feed (UTF-8, about 1 MB) served on the loopback address to
//    the test build of the program (linkwright_loopback.exe beside this program):
//    the time from the click on 获取 until the handler has returned with the last
//    row in the list, and until the list shows its rows on the screen. Baseline: the
//    bare regular-expression component matching the same page (GBK text) and
//    handing over every sub-match, driven directly with ids looked up once. Also
//    the program's peak memory before and after the listing. A new program each
//    round; median of 5 rounds.
// 2. collectBetween over a page of 200,000 item starts and no item end, against the
//    regex object running the same pattern over the whole uncut page (what the
//    collection did before it cut the page after its last item end) at sizes that
//    finish; the uncut time grows with the square of the page.
//
// Run from the build's bin folder under Wine with a display:
//   xvfb-run -a wine feed_bench_win.exe
#include <windows.h>
#include <oleauto.h>
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/feed_list.h"
#include "app/share_escape.h"
#include "bench/bare_regex_win.h"
#include "bench/bench_clock.h"
#include "regex/regex_object.h"
#include "runtime/core/memory.h"
#include "runtime/core/values.h"
#include "tests/support/http_server_win.h"
#include "tests/support/program_dll_table_win.h"
#include "tests/support/program_driver_win.h"
#include "tests/support/screen_capture_win.h"

namespace {

constexpr int kItems = 5000;
constexpr int kRounds = 5;
constexpr int kPort = LINKWRIGHT_LOOPBACK_PORT;  // where the test build of the program looks for everything
constexpr int k超级列表框日志 = 170, k编辑框QQ = 180, k获取 = 190;

// A feed of kItems posts in the shape of the service's feed, as UTF-8.
std::string makeFeed() {
  std::string s = u8"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<rss version=\"2.0\"><channel><title>QQ空间</title>\r\n";
  for (int i = 0; i < kItems; ++i) {
    s += u8"<item>\r\n<title><![CDATA[第" + std::to_string(i) + u8"篇日志：春天的早晨]]></title>\r\n";
    s += "<link>http://user.qzone.qq.com/12345/blog/" + std::to_string(1300000000 + i) + "</link>\r\n";
    s += u8"<description><![CDATA[今天天气很好，我们去公园散步。]]></description>\r\n</item>\r\n";
  }
  return s + "</channel></rss>\r\n";
}

std::string convert(const std::string& s, UINT from, UINT to) {
  int units = MultiByteToWideChar(from, 0, s.data(), int(s.size()), nullptr, 0);
  std::wstring wide(size_t(units), L'\0');
  MultiByteToWideChar(from, 0, s.data(), int(s.size()), &wide[0], units);
  int bytes = WideCharToMultiByte(to, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  std::string out(size_t(bytes), '\0');
  WideCharToMultiByte(to, 0, wide.data(), units, &out[0], bytes, nullptr, nullptr);
  return out;
}

std::string feedPattern() {
  lw::Text l = app::markerToPattern("<title><![CDATA"), r = app::markerToPattern("/link>");
  std::string p = std::string(l ? l : "") + "([\\s\\S]*?)" + (r ? r : "");
  lw::FreeMemory(l);
  lw::FreeMemory(r);
  return p;
}


// ---- The program ----

struct Listing {
  double handlerMs = 0;  // click until the handler returned with every row in the list
  double shownMs = 0;    // click until the list shows rows on the screen
  size_t peakBefore = 0, peakAfter = 0;  // peak working set, bytes
  size_t peakCommitAfter = 0;            // peak private (pagefile) bytes
  bool ok = false;
};

size_t peakWorkingSet(HANDLE process, size_t* peakCommit = nullptr) {
  PROCESS_MEMORY_COUNTERS pmc = {};
  pmc.cb = sizeof pmc;
  if (!GetProcessMemoryInfo(process, &pmc, sizeof pmc)) return 0;
  if (peakCommit) *peakCommit = pmc.PeakPagefileUsage;
  return pmc.PeakWorkingSetSize;
}

bool samePixels(const lw::testing::ScreenPixels& a, const lw::testing::ScreenPixels& b) {
  return a.width == b.width && a.height == b.height && a.bgr == b.bgr;
}

Listing listInProgram(const std::string& exe, const std::string& lastId) {
  Listing out;
  lw::testing::ProgramUnderTest program;
  if (!program.Start("\"" + exe + "\"")) return out;
  HWND main = program.WaitForWindowOfProgram("Linkwright");
  if (!main) return out;
  HWND list = lw::testing::FindControl(main, k超级列表框日志);
  lw::testing::TypeInto(lw::testing::FindControl(main, k编辑框QQ), "12345");
  Sleep(300);  // let the window settle and paint
  RECT r = {};
  GetClientRect(list, &r);
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
  lw::testing::ScreenPixels empty = lw::testing::CaptureScreen(r);
  out.peakBefore = peakWorkingSet(program.pi.hProcess);

  double t0 = bench::NowMs();
  lw::testing::Press(lw::testing::FindControl(main, k获取), 120000);
  out.handlerMs = bench::NowMs() - t0;
  while (samePixels(empty, lw::testing::CaptureScreen(r)) && bench::NowMs() - t0 < 120000) Sleep(1);
  out.shownMs = bench::NowMs() - t0;

  int rows = lw::testing::ListRowCount(list);
  out.ok = rows == kItems && lw::testing::ListCell(program.pi.hProcess, list, rows - 1, 1) == lastId;
  if (!out.ok) fprintf(stderr, "the program listed %d rows\n", rows);
  out.peakAfter = peakWorkingSet(program.pi.hProcess, &out.peakCommitAfter);
  PostMessageA(main, WM_CLOSE, 0, 0);
  program.WaitForExit(15000);
  return out;
}

std::string besideThis(const char* name) {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, sizeof path);
  char* slash = strrchr(path, '\\');
  if (slash) slash[1] = 0;
  return std::string(path) + name;
}

int feedListing() {
  std::string exe = besideThis("linkwright_loopback.exe");
  if (GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
    fprintf(stderr, "build linkwright_loopback first (it sits beside this program)\n");
    return 1;
  }
  lw::testing::HttpServer server;
  if (!server.Start(kPort)) {
    fprintf(stderr, "port %d is taken\n", kPort);
    return 1;
  }
  std::string feed = makeFeed();
  server.Serve("/notice.txt", lw::testing::HttpResponse("200 OK", "", u8"版本：3.1#"));
  server.Serve("/cgi-bin/cgi_rss_out?uin=12345",
               lw::testing::HttpResponse("200 OK", "Content-Type: text/xml; charset=utf-8\r\n", feed));
  std::string page = convert(feed, CP_UTF8, 936), pattern = feedPattern();
  std::string lastId = std::to_string(1300000000 + kItems - 1);

  std::vector<double> bare, handler, shown;
  Listing last;
  for (int round = 0; round < kRounds; ++round) {
    double t0 = bench::NowMs();
    std::vector<std::string> items = bench::BareComponentItems(page, pattern);
    bare.push_back(bench::NowMs() - t0);
    if (items.size() != size_t(kItems)) {
      fprintf(stderr, "the component found %u items\n", unsigned(items.size()));
      return 1;
    }
    last = listInProgram(exe, lastId);
    if (!last.ok) return 1;
    handler.push_back(last.handlerMs);
    shown.push_back(last.shownMs);
  }
  server.Stop();
  double b = bench::Median(bare), h = bench::Median(handler), s = bench::Median(shown);
  printf("feed of %d items (%u bytes UTF-8, %u bytes GBK), median of %d rounds\n", kItems, unsigned(feed.size()),
         unsigned(page.size()), kRounds);
  printf("  bare component matching the page:        %8.1f ms\n", b);
  printf("  program, click until the last row is in: %8.1f ms  (ratio %.2f)\n", h, h / b);
  printf("  program, click until the rows are shown: %8.1f ms  (ratio %.2f)\n", s, s / b);
  printf("  listed in under a second: %s\n", s < 1000 ? "yes" : "NO");
  printf("  program peak working set: %.1f MB after start, %.1f MB after listing; peak private bytes %.1f MB\n",
         last.peakBefore / 1048576.0, last.peakAfter / 1048576.0, last.peakCommitAfter / 1048576.0);
  return 0;
}

// ---- Unclosed item starts ----

std::string unclosedStarts(int n) {
  std::string s;
  s.reserve(size_t(n) * 15);
  for (int i = 0; i < n; ++i) s += "<title><![CDATA";
  return s;
}

// The pattern over the whole page through the regex object, with no cut.
double uncutMs(const std::string& page, const std::string& pattern, int32_t* count) {
  regex::RegexObject* re = regex::CreateRegexObject();
  lw::Text p = lw::MakeText(pattern.data(), pattern.size());
  lw::Text s = lw::MakeText(page.data(), page.size());
  double t0 = bench::NowMs();
  re->ops->execute(re, &p, &s, nullptr, nullptr, nullptr, nullptr);
  *count = re->ops->matchCount(re);
  double t = bench::NowMs() - t0;
  lw::FreeMemory(p);
  lw::FreeMemory(s);
  regex::FreeRegexObject(re);
  return t;
}

void unclosedPage() {
  std::string pattern = feedPattern();
  std::string big = unclosedStarts(200000);
  lw::ArrayBlock items = nullptr;
  std::vector<double> cut;
  int32_t n = 0;
  for (int r = 0; r < kRounds; ++r) {
    double t0 = bench::NowMs();
    n = app::collectBetween(big.c_str(), "<title><![CDATA", "/link>", &items);
    cut.push_back(bench::NowMs() - t0);
  }
  lw::FreeTextArray(items);
  printf("page of unclosed item starts\n");
  printf("  collectBetween, 200,000 starts (%u bytes): %.1f ms, %d items (median of %d)\n", unsigned(big.size()),
         bench::Median(cut), int(n), kRounds);
  double previous = 0;
  int previousN = 0;
  for (int starts : {1000, 2000, 5000, 10000, 20000}) {
    double t = uncutMs(unclosedStarts(starts), pattern, &n);
    printf("  regex object over the uncut page, %6d starts: %10.1f ms, %d items", starts, t, int(n));
    if (previous > 0) printf("  (x%.1f for x%.1f starts)", t / previous, double(starts) / previousN);
    printf("\n");
    previous = t;
    previousN = starts;
    if (t > 120000) break;
  }
  double estimate = previous * (200000.0 / previousN) * (200000.0 / previousN);
  printf("  uncut 200,000 starts, by the square law from %d: about %.0f s (%.1f hours)\n", previousN,
         estimate / 1000, estimate / 3600000);
}

}  // namespace

int main(int argc, char** argv) {
  lw::testing::InstallProgramDllTable();
  CoInitialize(nullptr);
  bool onlyUnclosed = argc > 1 && strcmp(argv[1], "--unclosed") == 0;
  bool onlyFeed = argc > 1 && strcmp(argv[1], "--feed") == 0;
  int rc = 0;
  if (!onlyUnclosed) rc = feedListing();
  if (!onlyFeed) unclosedPage();
  CoUninitialize();
  return rc;
}
