// The feed list in the whole program, and a page of unclosed item starts.
//
// 1. A 5,000-item blog feed (UTF-8, about 1 MB) served on the loopback address to
//    the test build of the program (linkwright_loopback_stripped.exe beside this program, as it ships):
//    the time from the click on 获取 until the handler has returned with the last
//    row in the list, and until the list shows its rows on the screen, and the peak
//    working set after it. Baseline, in a process of its own, side by side: this
//    program started again as a plain program (--plain) with the same window made
//    by direct platform calls, whose 获取 fetches the page with WinINet, re-encodes
//    it, makes one pass of the bare regular-expression component (ids looked up
//    once) and adds the rows to the list view with redraw held. Also the bare
//    component's pass alone, in this process. A new program each round, the two
//    taking turns; median of 15 rounds, as single rounds on a shared machine vary
//    by a third and the median of 9 still by a few percent. The program runs a
//    third time as on a system without VBScript (Wine's library turned off for
//    a copy of it), where it matches with PCRE2; and the regex object collects the items with each
//    engine in this process.
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

#include <commctrl.h>

#include "app/feed_list_win.h"
#include "bench/bare_regex_win.h"
#include "bench/bench_clock.h"
#include "bench/plain_fetch_win.h"
#include "bench/plain_start_window_win.h"
#include "regex/regex_object.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/values.h"
#include "tests/support/http_server_win.h"
#include "tests/support/program_dll_table_win.h"
#include "tests/support/program_driver_win.h"
#include "tests/support/screen_capture_win.h"

namespace {

constexpr int kItems = 5000;
constexpr int kRounds = 5;
constexpr int kListingRounds = 15;
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


// ---- The plain program ----

std::string between(const std::string& s, const char* left, const char* right) {
  size_t a = s.find(left);
  if (a == std::string::npos) return std::string();
  a += strlen(left);
  size_t b = s.find(right, a);
  return b == std::string::npos ? std::string() : s.substr(a, b - a);
}

// 获取 of the plain program: the page, one pass of the component, rows with redraw held.
void plainListFeed(HWND group) {
  HWND list = GetDlgItem(group, k超级列表框日志);
  char number[64] = {};
  GetWindowTextA(GetDlgItem(group, k编辑框QQ), number, sizeof number);
  std::string page = convert(bench::PlainFetch("http://127.0.0.1:" + std::to_string(kPort) + "/cgi-bin/cgi_rss_out?uin=" +
                                        number),
                             CP_UTF8, 936);
  std::vector<std::string> items = bench::BareComponentItems(page, feedPattern());
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  int row = int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (const std::string& item : items) {
    std::string title = between(item, "[", "]]>"), id = between(item, "blog/", "<");
    LVITEMA it = {};
    it.mask = LVIF_TEXT;
    it.iItem = row++;
    it.pszText = &title[0];
    int at = int(SendMessageA(list, LVM_INSERTITEMA, 0, LPARAM(&it)));
    it.iSubItem = 1;
    it.pszText = &id[0];
    SendMessageA(list, LVM_SETITEMTEXTA, WPARAM(at), LPARAM(&it));
  }
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
}

WNDPROC g_groupProc = nullptr;
LRESULT CALLBACK plainGroupProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_COMMAND && LOWORD(w) == k获取 && HIWORD(w) == BN_CLICKED) {
    plainListFeed(h);
    return 0;
  }
  return CallWindowProcA(g_groupProc, h, m, w, l);
}

int plainProgram() {
  CoInitialize(nullptr);
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  bench::RegisterPlainWindowClass();
  HWND w = bench::CreatePlainStartWindow("PlainWindow");
  HWND group = GetDlgItem(w, 160);
  g_groupProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(group, GWLP_WNDPROC, LONG_PTR(&plainGroupProc)));
  bench::ShowAndRunPlainWindow(w);
  CoUninitialize();
  return 0;
}

// ---- Listing in a program ----

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

Listing listInProgram(const std::wstring& commandLine, const std::wstring& lastId) {
  Listing out;
  lw::testing::ProgramUnderTest program;
  if (!program.Start(commandLine)) return out;
  HWND main = program.WaitForWindowOfProgram(L"Linkwright");
  if (!main) return out;
  HWND list = lw::testing::FindControl(main, k超级列表框日志);
  lw::testing::TypeInto(lw::testing::FindControl(main, k编辑框QQ), L"12345");
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
  if (!out.ok) fprintf(stderr, "%ls listed %d rows\n", commandLine.c_str(), rows);
  out.peakAfter = peakWorkingSet(program.pi.hProcess, &out.peakCommitAfter);
  PostMessageA(main, WM_CLOSE, 0, 0);
  program.WaitForExit(15000);
  return out;
}

std::wstring besideThis(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  wchar_t* slash = wcsrchr(path, L'\\');
  if (slash) slash[1] = 0;
  return std::wstring(path) + name;
}

// Wine's per-program DLL overrides: VBScript's library off for a program, or the
// program's overrides gone again.
bool turnVbscriptOff(const wchar_t* program, bool off) {
  std::wstring path = std::wstring(L"Software\\Wine\\AppDefaults\\") + program;
  if (!off) return RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str()) == ERROR_SUCCESS;
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, (path + L"\\DllOverrides").c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      &key, nullptr))
    return false;
  bool set = !RegSetValueExW(key, L"vbscript", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t));
  RegCloseKey(key);
  return set;
}

// collectBetween over the page through the regex object, with the engine given.
double objectMs(const std::string& page, regex::Engine engine) {
  regex::chooseEngine(engine);
  lw::ArrayBlock items = nullptr;
  double t0 = bench::NowMs();
  int32_t n = app::collectBetween(page.c_str(), "<title><![CDATA", "/link>", &items);
  double t = bench::NowMs() - t0;
  lw::FreeTextArray(items);
  regex::chooseEngine(regex::Engine::Undecided);
  return n == kItems ? t : -1;
}

int feedListing() {
  // The program as it ships: without its symbols.
  std::wstring exe = besideThis(L"linkwright_loopback_stripped.exe");
  if (GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
    fprintf(stderr, "build linkwright_loopback_stripped first (it sits beside this program)\n");
    return 1;
  }
  // The same program under another name, for which Wine turns its VBScript library
  // off (its per-program DLL overrides), as on a Windows without VBScript; and off
  // for Wine's surrogate host too, which would otherwise serve the component from a
  // process of its own.
  const wchar_t kWithout[] = L"linkwright_loopback_without_vbscript.exe";
  std::wstring without = besideThis(kWithout);
  if (!CopyFileW(exe.c_str(), without.c_str(), FALSE) || !turnVbscriptOff(kWithout, true) ||
      !turnVbscriptOff(L"dllhost.exe", true)) {
    fprintf(stderr, "could not set up the program without VBScript\n");
    return 1;
  }
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  // The program with the system's component, the plain program, and the program
  // on a system without VBScript, where it matches with PCRE2.
  constexpr int kContenders = 3;
  const std::wstring commands[kContenders] = {L"\"" + exe + L"\"", L"\"" + std::wstring(self) + L"\" --plain",
                                              L"\"" + without + L"\""};
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
  std::wstring lastId = std::to_wstring(1300000000 + kItems - 1);

  std::vector<double> bare, byComponent, byPcre, handler[kContenders], shown[kContenders], peak[kContenders];
  Listing last[kContenders];
  for (int round = 0; round < kListingRounds; ++round) {
    double t0 = bench::NowMs();
    std::vector<std::string> items = bench::BareComponentItems(page, pattern);
    bare.push_back(bench::NowMs() - t0);
    if (items.size() != size_t(kItems)) {
      fprintf(stderr, "the component found %u items\n", unsigned(items.size()));
      return 1;
    }
    byComponent.push_back(objectMs(page, regex::Engine::Component));
    byPcre.push_back(objectMs(page, regex::Engine::Pcre));
    if (byComponent.back() < 0 || byPcre.back() < 0) {
      fprintf(stderr, "the regex object did not find every item\n");
      return 1;
    }
    for (int k = 0; k < kContenders; ++k) {
      int which = (k + round) % kContenders;  // taking turns keeps the order out of the comparison
      last[which] = listInProgram(commands[which], lastId);
      if (!last[which].ok) return 1;
      handler[which].push_back(last[which].handlerMs);
      shown[which].push_back(last[which].shownMs);
      peak[which].push_back(double(last[which].peakAfter) / 1048576.0);
    }
  }
  server.Stop();
  turnVbscriptOff(kWithout, false);
  turnVbscriptOff(L"dllhost.exe", false);
  double b = bench::Median(bare), oc = bench::Median(byComponent), op = bench::Median(byPcre);
  double h = bench::Median(handler[0]), s = bench::Median(shown[0]), m = bench::Median(peak[0]);
  double ph = bench::Median(handler[1]), ps = bench::Median(shown[1]), pm = bench::Median(peak[1]);
  double xh = bench::Median(handler[2]), xs = bench::Median(shown[2]), xm = bench::Median(peak[2]);
  printf("feed of %d items (%u bytes UTF-8, %u bytes GBK), median of %d rounds\n", kItems, unsigned(feed.size()),
         unsigned(page.size()), kListingRounds);
  printf("  bare component matching the page:             %8.1f ms\n", b);
  printf("  regex object collecting the items, component: %8.1f ms\n", oc);
  printf("  regex object collecting the items, PCRE2:     %8.1f ms  (ratio %.2f to the component)\n", op, op / oc);
  printf("  plain program, click until the last row is in: %8.1f ms\n", ph);
  printf("  plain program, click until the rows are shown: %8.1f ms\n", ps);
  printf("  program, click until the last row is in:       %8.1f ms  (ratio %.2f to the plain program)\n", h, h / ph);
  printf("  program, click until the rows are shown:       %8.1f ms  (ratio %.2f to the plain program)\n", s, s / ps);
  printf("  program without VBScript (PCRE2), last row in: %8.1f ms  (ratio %.2f to the plain program, %.2f to the"
         " component)\n", xh, xh / ph, xh / h);
  printf("  program without VBScript (PCRE2), rows shown:  %8.1f ms  (ratio %.2f to the plain program, %.2f to the"
         " component)\n", xs, xs / ps, xs / s);
  printf("  peak working set after listing: program %.1f MB, without VBScript %.1f MB, plain program %.1f MB\n", m,
         xm, pm);
  printf("  program peak working set %.1f MB after start; peak private bytes %.1f MB\n",
         last[0].peakBefore / 1048576.0, last[0].peakCommitAfter / 1048576.0);
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
  if (argc > 1 && strcmp(argv[1], "--plain") == 0) return plainProgram();
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
