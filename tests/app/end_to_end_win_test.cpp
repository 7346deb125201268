// The whole program, as its test build (every service on the loopback port), started
// in its own process and used the way a person would: windows and controls found on
// the screen, text typed, buttons pressed, rows clicked with the mouse, a menu item
// picked with the keyboard, message boxes read and answered. This process plays the
// web: the notice page, the feed and the QR image service are its loopback server.
//
// Every text goes to and comes from the program's windows, message boxes and the
// clipboard in UTF-16, and is compared with what a person reads there: the same
// cases hold whatever the system's code page is (the test runs set it through the
// locale). Screenshots of both windows are kept in artifacts/ beside the build's bin
// folder (in artifacts/cp<code page> under other code pages than 936), and the
// requests of one session in artifacts/wire-cp<code page>.txt, so that runs under
// different code pages can be compared byte for byte.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/qr_code.h"
#include "runtime/core/startup/private_messages.h"
#include "runtime/core/startup/runtime_app_win.h"
#include "tests/app/end_to_end_session_win.h"
#include "tests/support/png_writer.h"
#include "tests/support/program_captions.h"
#include "tests/support/screen_capture_win.h"

namespace {

using namespace e2e;
using EndToEnd = EndToEndSession;

// ---- Pictures the QR service answers with ----

constexpr int kSide = 270, kModule = 30, kModules = kSide / kModule;

// A 270 x 270 PNG of 9 x 9 black and white squares; `phase` picks which squares
// are black, so two pictures can be told apart on the screen.
std::string checkerPng(int phase) {
  std::vector<uint8_t> grey(size_t(kSide) * kSide);
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) grey[size_t(y) * kSide + x] = ((x / kModule + y / kModule + phase) % 2) ? 255 : 0;
  return lw::testing::PngOf(grey.data(), kSide, kSide);
}

bool isBlack(uint32_t c) { return (c & 0xFF) < 0x40 && ((c >> 8) & 0xFF) < 0x40 && ((c >> 16) & 0xFF) < 0x40; }
bool isWhite(uint32_t c) { return (c & 0xFF) > 0xC0 && ((c >> 8) & 0xFF) > 0xC0 && ((c >> 16) & 0xFF) > 0xC0; }

// The client area of the picture box as the screen shows it.
lw::testing::ScreenPixels pictureOnScreen(HWND box) {
  RECT r = {};
  GetClientRect(box, &r);
  MapWindowPoints(box, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return lw::testing::CaptureScreen(r);
}

// How many of the 81 squares show the colour `phase` gives them, at their centres.
int squaresShowing(const lw::testing::ScreenPixels& p, int phase) {
  int right = 0;
  for (int j = 0; j < kModules; ++j)
    for (int i = 0; i < kModules; ++i) {
      uint32_t c = p.At(i * kModule + kModule / 2, j * kModule + kModule / 2);
      bool black = (i + j + phase) % 2 == 0;
      right += black ? isBlack(c) : isWhite(c);
    }
  return right;
}

// How many modules of the tool's own QR code of `text`, quiet zone included, the
// picture shows in the wrong colour at their centres; -1 when no code holds the text.
int codeModulesWrong(const lw::testing::ScreenPixels& p, const std::wstring& text) {
  app::QrCode code;
  if (!app::encodeQrCode(gbk(text).c_str(), &code)) return -1;
  const app::QrLayout at = app::qrLayout(code, kSide);
  const int q = app::kQrQuietZone, size = qrcodegen_getSize(code.bits);
  int wrong = 0;
  for (int my = -q; my < size + q; ++my)
    for (int mx = -q; mx < size + q; ++mx) {
      uint32_t c = p.At(at.offset + (mx + q) * at.scale + at.scale / 2, at.offset + (my + q) * at.scale + at.scale / 2);
      wrong += qrcodegen_getModule(code.bits, mx, my) ? !isBlack(c) : !isWhite(c);  // false outside the code
    }
  return wrong;
}


// ---- The update check at start ----

TEST_F(EndToEnd, OwnVersionOnTheNoticeStartsWithoutAMessage) {
  ASSERT_NO_FATAL_FAILURE(startNormally());
  EXPECT_EQ(nullptr, program.WaitForWindowOfClass(L"#32770", 1000)) << "expected no message box";
  EXPECT_EQ(std::vector<std::string>{"/notice.txt"}, targetsOf(server.Requests()));
  EXPECT_EQ(0u, server.Requests()[0].rfind("GET ", 0));
  EXPECT_EQ(L"提示：", shown(k标签_提示));
  closeNormally();
  EXPECT_EQ(1u, server.Requests().size()) << "expected the download address left alone";
}

TEST_F(EndToEnd, HandWrittenNoticeOfOwnVersionStartsNormally) {
  // Line breaks, tabs and spaces of both widths between the version and its "#".
  serveNotice(u8"公告\r\n版本：\t3.1 \u3000\r\n#\r\n下载地址：\r\nhttp://" + kLoopback + "/download\r\n#\r\n");
  launch();
  main = startWindow();
  ASSERT_NE(nullptr, main) << "expected the start window";
  EXPECT_EQ(nullptr, program.WaitForWindowOfClass(L"#32770", 1000)) << "expected no message box";
  closeNormally();
  EXPECT_EQ(std::vector<std::string>{"/notice.txt"}, targetsOf(server.Requests()));
}

TEST_F(EndToEnd, NoticeThatCannotBeReadStartsNormally) {
  struct Case {
    const char* what;
    const char* status;  // null: nothing listens
    const char* body;
  };
  const Case cases[] = {
      {"nothing listening", nullptr, ""},
      {"not found", "404 Not Found", "<html><body>Not Found</body></html>"},
      {"empty page", "200 OK", ""},
      {"page without the marker", "200 OK", u8"<html><body>公告：欢迎使用</body></html>"},
      {"version without its #", "200 OK", u8"版本：3.2\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server.Stop();
    server.Clear();
    if (c.status) {
      ASSERT_TRUE(server.Start(kPort));
      server.Serve("/notice.txt", HttpResponse(c.status, "", c.body));
    }
    launch();
    main = startWindow();
    ASSERT_NE(nullptr, main) << "expected the start window";
    EXPECT_EQ(nullptr, program.WaitForWindowOfClass(L"#32770", 500)) << "expected no message box";
    if (c.status) {
      EXPECT_EQ(std::vector<std::string>{"/notice.txt"}, targetsOf(server.Requests()));
    }
    closeNormally();
  }
}

TEST_F(EndToEnd, NewVersionOpensTheWebDownloadTellsTheUserAndEnds) {
  HostBrowserFetches browser;
  serveNotice(u8"<p>版本： 3.2 #</p>\r\n<p>下载地址：HTTP://" + kLoopback + "/download/lw-3.2.zip#</p>");
  server.Serve("/download/lw-3.2.zip", HttpResponse("200 OK", "", "zip"));
  launch();
  ASSERT_NE(nullptr, program.WaitForWindowOfClass(L"#32770")) << "expected the message box";
  EXPECT_EQ(nullptr, program.FindWindowOfProgram(L"Linkwright")) << "expected no start window with the box";
  SeenBox seen = answerMessageBox(program);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(L"信息：", seen.caption);
  EXPECT_EQ(L"修复BUG，请下载最新版！", seen.text);
  EXPECT_EQ(nullptr, seen.owner);
  EXPECT_EQ(0u, program.WaitForExit());
  // The shell hands the address to the browser, which fetches it.
  ASSERT_TRUE(server.WaitForRequests(2, 20000)) << "expected the download address to be opened";
  EXPECT_EQ((std::vector<std::string>{"/notice.txt", "/download/lw-3.2.zip"}), targetsOf(server.Requests()));
}

TEST_F(EndToEnd, NewVersionNeverOpensADownloadAddressThatIsNoWebAddress) {
  HostBrowserFetches browser;
  // A local file the shell would open, and opening it would show here: an internet
  // shortcut to this server.
  std::string shortcut = artifactPath("opened_if_run.url");
  FILE* f = fopen(shortcut.c_str(), "wb");
  ASSERT_NE(nullptr, f);
  fputs((std::string("[InternetShortcut]\r\nURL=http://") + kLoopback + "/shortcut-opened\r\n").c_str(), f);
  fclose(f);

  serveNotice(u8"版本：3.2#下载地址：" + shortcut + "#");
  launch();
  SeenBox seen = answerMessageBox(program);
  ASSERT_TRUE(seen.found) << "expected the message box";
  EXPECT_EQ(L"修复BUG，请下载最新版！", seen.text);
  EXPECT_EQ(0u, program.WaitForExit());
  EXPECT_FALSE(server.WaitForRequests(2, 5000)) << "expected nothing opened";
  EXPECT_EQ(std::vector<std::string>{"/notice.txt"}, targetsOf(server.Requests()));

  // The check above means something only if opening the file would have been seen.
  ShellExecuteA(nullptr, "open", shortcut.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  ASSERT_TRUE(server.WaitForRequests(2, 20000)) << "expected the shortcut, opened by the shell, to reach the server";
  EXPECT_EQ("/shortcut-opened", targetOf(server.Requests()[1]));
}

// Servers that never stop talking or never answer. The answer is misbehaviour of
// one of three kinds, served at a target by configure().
struct Misbehaviour {
  const char* what;
  void (*configure)(lw::testing::HttpServer& server, const std::string& target);
};
const Misbehaviour kMisbehaviours[] = {
    {"40 MiB body",
     [](lw::testing::HttpServer& s, const std::string& t) {
       s.Serve(t, HttpResponse("200 OK", "Content-Type: text/plain\r\n", std::string(size_t(40) << 20, 'x')));
     }},
    {"endless body", [](lw::testing::HttpServer& s,
                        const std::string& t) { s.ServeEndless(t, "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n"); }},
    {"silent server", [](lw::testing::HttpServer& s, const std::string& t) { s.ServeSilence(t); }},
};
// A misbehaving server may hold the window this long: WinINet's own limit on each
// wait, plus a margin for a slow machine.
constexpr DWORD kGiveUpMs = 25000;

TEST_F(EndToEnd, NoticeThatNeverEndsOrNeverAnswersStartsNormally) {
  for (const Misbehaviour& m : kMisbehaviours) {
    SCOPED_TRACE(m.what);
    server.Clear();
    m.configure(server, "/notice.txt");
    DWORD start = GetTickCount();
    launch();
    main = program.WaitForWindowOfProgram(L"Linkwright", 0, kGiveUpMs + 5000);
    DWORD took = GetTickCount() - start;
    ASSERT_NE(nullptr, main) << "expected the start window";
    printf("[ timing ] start window with a notice of %s after %lu ms\n", m.what, took);
    EXPECT_LT(took, kGiveUpMs);
    EXPECT_EQ(nullptr, program.WaitForWindowOfClass(L"#32770", 500)) << "expected no message box";
    closeNormally();
  }
}

// The page is read while the window is made, and must still be asked for exactly
// once per start, with the same request, however soon or late it answers.
TEST_F(EndToEnd, NoticeIsAskedForOnceWithTheSameRequest) {
  struct Case {
    const char* what;
    DWORD delayMs;  // before the server answers
    const char* status;
    const char* body;
    bool newer;  // the program tells of the new version and ends
  };
  const Case cases[] = {
      {"own version at once", 0, "200 OK", u8"版本：3.1#", false},
      {"own version after 100 ms", 100, "200 OK", u8"版本：3.1#", false},
      {"own version after 1 s", 1000, "200 OK", u8"版本：3.1#", false},
      {"not found after 100 ms", 100, "404 Not Found", "Not Found", false},
      {"newer version after 100 ms", 100, "200 OK", u8"版本：3.2#下载地址：none#", true},
  };
  std::string first;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server.Clear();
    server.answerDelayMs = c.delayMs;
    server.Serve("/notice.txt", HttpResponse(c.status, "", c.body));
    launch();
    if (c.newer) {
      SeenBox seen = answerMessageBox(program);
      ASSERT_TRUE(seen.found) << "expected the message box";
      EXPECT_EQ(0u, program.WaitForExit());
    } else {
      main = startWindow();
      ASSERT_NE(nullptr, main) << "expected the start window";
      Sleep(500);  // time for a second request to show
      closeNormally();
    }
    std::vector<std::string> requests = server.Requests();
    ASSERT_EQ(std::vector<std::string>{"/notice.txt"}, targetsOf(requests));
    if (first.empty()) first = requests[0];
    EXPECT_EQ(first, requests[0]) << "expected the same request bytes at every start";
  }
  server.answerDelayMs = 0;
}

// A program told to end while its notice page has not come ends at once with the
// code it was given: the read under way is abandoned, neither waited for (a silent
// server would hold it for 15 s) nor left to crash or hang the end of the process.
TEST_F(EndToEnd, ProgramToldToEndWhileTheNoticeIsComingEndsAtOnce) {
  server.ServeSilence("/notice.txt");
  launch();
  ASSERT_TRUE(server.WaitForRequests(1, 15000)) << "expected the notice request";
  // The runtime's own request to end, as another thread or program asks for it:
  // sent to its hidden owner window, which the main thread answers while it waits.
  struct Search {
    DWORD pid;
    HWND found;
  } s = {program.pi.dwProcessId, nullptr};
  // The owner is made as the start window loads, which may be after the request.
  lw::testing::WaitUntil([&s] {
    EnumWindows(
        [](HWND h, LPARAM lp) WINAPI -> BOOL {
          auto* s = reinterpret_cast<Search*>(lp);
          DWORD pid = 0;
          wchar_t cls[64] = {};
          GetWindowThreadProcessId(h, &pid);
          GetClassNameW(h, cls, 64);
          if (pid != s->pid || wcscmp(cls, lw::kHiddenOwnerClass) != 0) return TRUE;
          s->found = h;
          return FALSE;
        },
        LPARAM(&s));
    return s.found != nullptr;
  });
  ASSERT_NE(nullptr, s.found) << "expected the program's hidden owner window";
  DWORD start = GetTickCount();
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(s.found, lw::private_message::EndRequest, 7, 0, SMTO_NORMAL, 5000, &ignored);
  EXPECT_EQ(7u, program.WaitForExit(10000)) << "expected the program ended with the code asked for";
  EXPECT_LT(GetTickCount() - start, 5000u) << "expected no wait for the notice page";
  EXPECT_EQ(1u, server.Requests().size());
}

// ---- Conversion ----

TEST_F(EndToEnd, RealAddressesConvertLikeCleanOnesAndAHeldClipboardIsTold) {
  ASSERT_NO_FATAL_FAILURE(startNormally());
  struct Case {
    const wchar_t* pasted;  // as copied from a browser's address bar or a page
    const wchar_t* clean;   // the same post without what follows its id
  };
  const Case cases[] = {
      {L"http://user.qzone.qq.com/123456789/blog/1368429120?ptlang=2052", L"http://user.qzone.qq.com/123456789/blog/1368429120"},
      {L"http://user.qzone.qq.com/123456789/blog/1368429120#comment", L"http://user.qzone.qq.com/123456789/blog/1368429120"},
      {L"http://user.qzone.qq.com/123456789/blog/1368429120/", L"http://user.qzone.qq.com/123456789/blog/1368429120"},
      {L"http://user.qzone.qq.com/12345/mood/9ab?source=qq#x", L"http://user.qzone.qq.com/12345/mood/9ab.1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pasted);
    lw::testing::TypeInto(control(k链接框), c.clean);
    ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
    std::wstring clean = shown(k编辑框生成);
    ASSERT_EQ(std::wstring::npos, clean.find(L"&cellid=&")) << "expected the clean address to name its post";
    ASSERT_TRUE(putOnClipboard("kept"));
    lw::testing::TypeInto(control(k链接框), c.pasted);
    ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
    EXPECT_EQ(clean, shown(k编辑框生成));
    EXPECT_TRUE(clipboardHolds(clean));
    EXPECT_NE(std::wstring::npos, shown(k标签_提示).find(L"并复制到剪辑版，可直接粘贴！")) << shown(k标签_提示);
  }
  lw::testing::TypeInto(control(k链接框), cases[0].pasted);
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
  EXPECT_EQ(blogShareAddress(L"123456789", L"1368429120"), shown(k编辑框生成));

  // With the clipboard held by another program the address is still shown, the user
  // is told to copy it by hand, and the clipboard keeps what it had.
  ASSERT_TRUE(putOnClipboard("kept"));
  struct Held {
    const wchar_t* pasted;
    const wchar_t* told;
  };
  const Held held[] = {
      {L"http://user.qzone.qq.com/12345/blog/678", L"已经转换您的日志链接，但复制到剪辑版失败，请手动复制！"},
      {L"http://user.qzone.qq.com/12345/mood/9ab.1", L"已经转换您的说说链接，但复制到剪辑版失败，请手动复制！"},
  };
  for (const Held& h : held) {
    SCOPED_TRACE(h.pasted);
    {
      HeldClipboard holder;
      ASSERT_TRUE(holder.held);
      lw::testing::TypeInto(control(k链接框), h.pasted);
      ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
      EXPECT_EQ(h.told, shown(k标签_提示));
      EXPECT_NE(std::wstring::npos, shown(k编辑框生成).find(L"&res_uin=12345&cellid=")) << shown(k编辑框生成);
    }
    EXPECT_TRUE(clipboardHolds(L"kept"));
  }
  closeNormally();
}

// ---- The feed list ----

// Four posts: Chinese with one Hangul syllable (no GBK form), an emoji (no GBK form
// either), upper-case markers, a title with "]]>" early; sent as UTF-8 the way the
// feed comes.
const std::string kFeed = std::string(u8"<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n<rss><channel><title>QQ空间</title>\r\n") +
                          u8"<item><title><![CDATA[春天的\uD55C早晨]]></title>\r\n"
                          u8"<link>http://user.qzone.qq.com/12345/blog/1300000001</link></item>\r\n"
                          u8"<item><title><![CDATA[笑一个\U0001F600]]></title>\r\n"
                          u8"<link>http://user.qzone.qq.com/12345/blog/1300000002</link></item>\r\n"
                          u8"<ITEM><TITLE><![CDATA[Upper Case]]></TITLE>\r\n"
                          u8"<LINK>http://user.qzone.qq.com/12345/blog/1300000003</LINK></ITEM>\r\n"
                          u8"<item><title><![CDATA[前]]>后]]></title>\r\n"
                          u8"<link>http://user.qzone.qq.com/12345/blog/1300000004</link></item>\r\n"
                          u8"</channel></rss>\r\n";

TEST_F(EndToEnd, FeedListsRowByRowAndAPickedRowBuildsItsShareAddress) {
  ASSERT_NO_FATAL_FAILURE(startNormally());
  server.Serve("/cgi-bin/cgi_rss_out?uin=12345",
               HttpResponse("200 OK", "Content-Type: text/xml; charset=utf-8\r\n", kFeed));
  HWND list = control(k超级列表框日志);
  ASSERT_NE(nullptr, list);
  EXPECT_EQ(0, lw::testing::ListRowCount(list));

  lw::testing::TypeInto(control(k编辑框QQ), L"12345");
  ASSERT_TRUE(lw::testing::Press(control(k获取)));
  EXPECT_EQ("/cgi-bin/cgi_rss_out?uin=12345", targetOf(server.Requests().back()));
  // A character GBK has no form for shows as "?".
  const std::wstring rows[4][2] = {
      {L"春天的?早晨", L"1300000001"},
      {wide(gbk(L"笑一个\U0001F600")), L"1300000002"},
      {L"Upper Case", L"1300000003"},
      {L"前", L"1300000004"},
  };
  EXPECT_EQ(0u, rows[1][0].rfind(L"笑一个?", 0)) << "expected the emoji replaced, got " << gbk(rows[1][0]);
  ASSERT_EQ(4, lw::testing::ListRowCount(list));
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(rows[r][0], lw::testing::ListCell(program.pi.hProcess, list, r, 0)) << "row " << r;
    EXPECT_EQ(rows[r][1], lw::testing::ListCell(program.pi.hProcess, list, r, 1)) << "row " << r;
  }

  // A second fetch appends the same posts below the first ones.
  ASSERT_TRUE(lw::testing::Press(control(k获取)));
  ASSERT_EQ(8, lw::testing::ListRowCount(list));
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(rows[r][0], lw::testing::ListCell(program.pi.hProcess, list, 4 + r, 0)) << "row " << 4 + r;
    EXPECT_EQ(rows[r][1], lw::testing::ListCell(program.pi.hProcess, list, 4 + r, 1)) << "row " << 4 + r;
  }

  // A click on the third row pops up the menu; its one item builds the share address.
  lw::testing::TypeInto(control(k编辑框生成), L"old text");
  SetForegroundWindow(main);
  RECT row = lw::testing::ListRowOnScreen(program.pi.hProcess, list, 2);
  lw::testing::ClickAtScreen({(row.left + row.right) / 2, (row.top + row.bottom) / 2});
  HWND menu = program.WaitForWindowOfClass(L"#32768");
  POINT cursor = {};
  GetCursorPos(&cursor);
  ASSERT_NE(nullptr, menu) << "expected the pop-up menu; row 2 at " << row.left << "," << row.top << "-" << row.right
                           << "," << row.bottom << ", cursor at " << cursor.x << "," << cursor.y << ", selected row "
                           << SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED) << ", foreground "
                           << (GetForegroundWindow() == main);
  EXPECT_EQ(L"", shown(k编辑框生成)) << "expected the list click to clear the output";
  lw::testing::SaveBmp(lw::testing::CaptureWindow(main), artifactPath("start_window_menu.bmp"));
  lw::testing::PostKey(menu, VK_DOWN);
  lw::testing::PostKey(menu, VK_RETURN);
  std::wstring expected = blogShareAddress(L"12345", L"1300000003");
  EXPECT_TRUE(lw::testing::WaitUntil([&] { return shown(k编辑框生成) == expected; }))
      << "expected " << expected << ", got " << shown(k编辑框生成);
  EXPECT_EQ(L"已经转换您的日志链接，并复制到剪辑版，可直接粘贴！", shown(k标签_提示));
  Sleep(200);
  lw::testing::SaveBmp(lw::testing::CaptureWindow(main), artifactPath("start_window.bmp"));

  // Another pick while another program holds the clipboard: shown, and told.
  ASSERT_TRUE(putOnClipboard("kept"));
  {
    HeldClipboard holder;
    ASSERT_TRUE(holder.held);
    SetForegroundWindow(main);
    row = lw::testing::ListRowOnScreen(program.pi.hProcess, list, 3);
    lw::testing::ClickAtScreen({(row.left + row.right) / 2, (row.top + row.bottom) / 2});
    menu = program.WaitForWindowOfClass(L"#32768");
    ASSERT_NE(nullptr, menu) << "expected the pop-up menu again";
    lw::testing::PostKey(menu, VK_DOWN);
    lw::testing::PostKey(menu, VK_RETURN);
    expected = blogShareAddress(L"12345", L"1300000004");
    EXPECT_TRUE(lw::testing::WaitUntil([&] { return shown(k编辑框生成) == expected; })) << shown(k编辑框生成);
    EXPECT_TRUE(lw::testing::WaitUntil(
        [&] { return shown(k标签_提示) == L"已经转换您的日志链接，但复制到剪辑版失败，请手动复制！"; }))
        << shown(k标签_提示);
  }
  EXPECT_TRUE(clipboardHolds(L"kept"));
  closeNormally();
}

TEST_F(EndToEnd, FeedAndQrServersThatNeverEndOrNeverAnswerAreGivenUp) {
  ASSERT_NO_FATAL_FAILURE(startNormally());
  HWND list = control(k超级列表框日志);
  lw::testing::TypeInto(control(k编辑框QQ), L"12345");
  lw::testing::TypeInto(control(k链接框), L"http://user.qzone.qq.com/12345/blog/678");
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
  const std::string qrTarget = "/qr.php?value=" + escaped(shown(k编辑框生成));
  for (const Misbehaviour& m : kMisbehaviours) {
    SCOPED_TRACE(m.what);
    m.configure(server, "/cgi-bin/cgi_rss_out?uin=12345");
    m.configure(server, qrTarget);
    server.Clear();

    DWORD start = GetTickCount();
    ASSERT_TRUE(lw::testing::Press(control(k获取), kGiveUpMs + 15000)) << "expected 获取 to give up";
    DWORD took = GetTickCount() - start;
    printf("[ timing ] 获取 against a %s held the window %lu ms\n", m.what, took);
    EXPECT_LT(took, kGiveUpMs);
    EXPECT_EQ(0, lw::testing::ListRowCount(list));

    start = GetTickCount();
    ASSERT_TRUE(lw::testing::Press(control(k按钮_转换1), kGiveUpMs + 15000)) << "expected the QR window to give up";
    took = GetTickCount() - start;
    printf("[ timing ] the QR window against a %s held the window %lu ms\n", m.what, took);
    EXPECT_LT(took, kGiveUpMs);
    HWND qr = program.WaitForWindowOfProgram(nullptr, k图片二维码);
    ASSERT_NE(nullptr, qr) << "expected the QR window";
    EXPECT_EQ(nullptr, program.WaitForWindowOfClass(L"#32770", 300)) << "expected no message box";
    EXPECT_EQ((std::vector<std::string>{"/cgi-bin/cgi_rss_out?uin=12345", qrTarget}), targetsOf(server.Requests()));
    PostMessageA(qr, WM_CLOSE, 0, 0);
    ASSERT_TRUE(lw::testing::WaitUntil([&] { return !IsWindow(qr); }));
  }

  // The tool goes on: a normal feed lists, for a number as users paste it.
  server.Serve("/cgi-bin/cgi_rss_out?uin=12345",
               HttpResponse("200 OK", "Content-Type: text/xml; charset=utf-8\r\n", kFeed));
  lw::testing::TypeInto(control(k编辑框QQ), L" 12345\u3000\r\n");
  server.Clear();
  ASSERT_TRUE(lw::testing::Press(control(k获取)));
  EXPECT_EQ(std::vector<std::string>{"/cgi-bin/cgi_rss_out?uin=12345"}, targetsOf(server.Requests()));
  EXPECT_EQ(4, lw::testing::ListRowCount(list));

  // A number that is no number is never sent, and the rows stay.
  for (const wchar_t* typed : {L"12a45", L"1234 5678", L"\u3000"}) {
    lw::testing::TypeInto(control(k编辑框QQ), typed);
    ASSERT_TRUE(lw::testing::Press(control(k获取)));
    EXPECT_EQ(L"输入有误，请检查！", shown(k标签_提示)) << "typed " << typed;
  }
  EXPECT_EQ(1u, server.Requests().size()) << "expected nothing more fetched";
  EXPECT_EQ(4, lw::testing::ListRowCount(list));
  closeNormally();
}

TEST_F(EndToEnd, FetchThatListsNoPostsSaysSoAndKeepsTheRows) {
  ASSERT_NO_FATAL_FAILURE(startNormally());
  server.Serve("/cgi-bin/cgi_rss_out?uin=12345", HttpResponse("200 OK", "", kFeed));
  server.Serve("/cgi-bin/cgi_rss_out?uin=54321", HttpResponse("200 OK", "", u8"<rss><channel><title>QQ空间</title></channel></rss>"));
  HWND list = control(k超级列表框日志);
  lw::testing::TypeInto(control(k编辑框QQ), L"12345");
  ASSERT_TRUE(lw::testing::Press(control(k获取)));
  ASSERT_EQ(4, lw::testing::ListRowCount(list));
  EXPECT_EQ(L"提示：", shown(k标签_提示)) << "expected no message when posts are listed";
  const wchar_t* const numbers[] = {L"54321" /* a feed without items */, L"11111" /* not found */};
  for (const wchar_t* qq : numbers) {
    SCOPED_TRACE(qq);
    lw::testing::TypeInto(control(k标签_提示), L"提示：");
    lw::testing::TypeInto(control(k编辑框QQ), qq);
    ASSERT_TRUE(lw::testing::Press(control(k获取)));
    EXPECT_EQ(L"没有获取到日志，请检查QQ号或网络！", shown(k标签_提示));
    EXPECT_EQ(4, lw::testing::ListRowCount(list)) << "expected the rows listed before to stay";
  }
  closeNormally();
}

// ---- The QR window ----

TEST_F(EndToEnd, QrImageOfTheEscapedAddressShownAndFetchedAgainWhileOpen) {
  ASSERT_NO_FATAL_FAILURE(startNormally());
  // Three addresses in turn: a blog post, a mood post, and one the service fails on.
  const wchar_t* const pasted[] = {L"http://user.qzone.qq.com/12345/blog/678",
                                   L"http://user.qzone.qq.com/12345/mood/9ab.1",
                                   L"http://user.qzone.qq.com/12345/blog/999"};
  std::wstring share[3];
  std::string target[3];
  for (int i = 0; i < 3; ++i) {
    lw::testing::TypeInto(control(k链接框), pasted[i]);
    ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
    share[i] = shown(k编辑框生成);
    target[i] = "/qr.php?value=" + escaped(share[i]);
  }
  ASSERT_EQ(blogShareAddress(L"12345", L"999"), share[2]);
  const std::string pngType = "Content-Type: image/png\r\n";
  server.Serve(target[0], HttpResponse("200 OK", pngType, checkerPng(0)));
  server.Serve(target[1], HttpResponse("200 OK", pngType, checkerPng(1)));
  server.Serve(target[2], HttpResponse("500 Internal Server Error", "Content-Type: text/html\r\n",
                                       "<html><body><h1>500</h1>value too long</body></html>"));
  server.Clear();

  // The first address: the window opens with its picture.
  lw::testing::TypeInto(control(k链接框), pasted[0]);
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换1)));
  HWND qr = program.WaitForWindowOfProgram(nullptr, k图片二维码);
  ASSERT_NE(nullptr, qr) << "expected the QR window";
  HWND box = GetDlgItem(qr, k图片二维码);
  RECT boxRect = {};
  GetWindowRect(box, &boxRect);
  EXPECT_EQ(kSide, boxRect.right - boxRect.left);
  EXPECT_EQ(kSide, boxRect.bottom - boxRect.top);
  ASSERT_TRUE(server.WaitForRequests(1));
  ASSERT_EQ(1u, server.Requests().size());
  std::string sent = targetOf(server.Requests()[0]);
  EXPECT_EQ(target[0], sent);
  // The address's ":" "?" "&" "=" are escaped, its "/" and "." are not.
  EXPECT_EQ(0u, sent.find("/qr.php?value=http%3A//"));
  std::string value = sent.substr(sent.find('=') + 1);
  EXPECT_EQ(std::string::npos, value.find_first_of(":?&=")) << value;
  EXPECT_NE(std::string::npos, value.find("/ugc/share%3F_wv%3D1%26subtype%3D%26"));
  EXPECT_TRUE(lw::testing::WaitUntil([&] { return squaresShowing(pictureOnScreen(box), 0) == 81; }))
      << "expected the first picture, " << squaresShowing(pictureOnScreen(box), 0) << " of 81 squares right";
  lw::testing::SaveBmp(lw::testing::CaptureWindow(qr), artifactPath("qr_window.bmp"));

  // Another address while the window is open: the picture is fetched again for it,
  // and the same window comes to the front, above the start window that was
  // activated over it.
  ASSERT_TRUE(clickOnStartWindowBeside(qr));
  ASSERT_TRUE(lw::testing::WaitUntil([&] { return isAbove(main, qr) && GetForegroundWindow() == main; }))
      << "expected the start window over the QR window";
  lw::testing::TypeInto(control(k链接框), pasted[1]);
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换1)));
  ASSERT_TRUE(server.WaitForRequests(2));
  ASSERT_EQ(2u, server.Requests().size());
  EXPECT_EQ(target[1], targetOf(server.Requests()[1]));
  EXPECT_EQ(qr, program.FindWindowOfProgram(nullptr, k图片二维码));
  EXPECT_EQ(qr, GetForegroundWindow());
  EXPECT_TRUE(isAbove(qr, main)) << "expected the QR window raised above the start window";
  EXPECT_TRUE(lw::testing::WaitUntil([&] { return squaresShowing(pictureOnScreen(box), 1) == 81; }))
      << "expected the second picture, " << squaresShowing(pictureOnScreen(box), 1) << " of 81 squares right";

  // An error page instead of a picture: the tool's own code of the address, not the last picture.
  lw::testing::TypeInto(control(k链接框), pasted[2]);
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换1)));
  ASSERT_TRUE(server.WaitForRequests(3));
  ASSERT_EQ(3u, server.Requests().size());
  EXPECT_EQ(target[2], targetOf(server.Requests()[2]));
  EXPECT_TRUE(lw::testing::WaitUntil([&] { return codeModulesWrong(pictureOnScreen(box), share[2]) == 0; }))
      << "expected the own code, " << codeModulesWrong(pictureOnScreen(box), share[2]) << " modules wrong";
  lw::testing::SaveBmp(lw::testing::CaptureWindow(qr), artifactPath("qr_window_error_page.bmp"));

  // Closed and opened again with the error page: the new window shows the code too.
  PostMessageA(qr, WM_CLOSE, 0, 0);
  ASSERT_TRUE(lw::testing::WaitUntil([&] { return !IsWindow(qr); }));
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换1)));
  qr = program.WaitForWindowOfProgram(nullptr, k图片二维码);
  ASSERT_NE(nullptr, qr);
  EXPECT_TRUE(server.WaitForRequests(4));
  EXPECT_EQ(4u, server.Requests().size());
  box = GetDlgItem(qr, k图片二维码);
  EXPECT_TRUE(lw::testing::WaitUntil([&] { return codeModulesWrong(pictureOnScreen(box), share[2]) == 0; }))
      << codeModulesWrong(pictureOnScreen(box), share[2]) << " modules wrong";
  PostMessageA(qr, WM_CLOSE, 0, 0);
  closeNormally();
}

TEST_F(EndToEnd, AnswerThatIsNoPictureShowsTheOwnCodeOfTheShareAddress) {
  // Each answer the picture box cannot show; the text in 编辑框生成 is what the
  // code must read back as, typed as a user may change it after converting.
  struct Case {
    const char* what;
    std::string response;
  };
  const std::string png = checkerPng(0);
  const Case cases[] = {
      {"error page", HttpResponse("404 Not Found", "Content-Type: text/html\r\n", "<html>Not Found</html>")},
      {"empty body", HttpResponse("200 OK", "Content-Type: image/png\r\n", "")},
      {"PNG cut short", HttpResponse("200 OK", "Content-Type: image/png\r\n", png.substr(0, png.size() / 2))},
  };
  ASSERT_NO_FATAL_FAILURE(startNormally());
  lw::testing::TypeInto(control(k链接框), L"http://user.qzone.qq.com/12345/mood/9ab.1");
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
  const std::wstring share = shown(k编辑框生成);
  HWND qr = nullptr;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server.Serve("/qr.php", c.response);
    server.Clear();
    std::wstring text = share + L"#" + wide(c.what);
    lw::testing::TypeInto(control(k编辑框生成), text);
    ASSERT_TRUE(lw::testing::Press(control(k按钮_转换1)));
    qr = program.WaitForWindowOfProgram(nullptr, k图片二维码);
    ASSERT_NE(nullptr, qr);
    ASSERT_TRUE(server.WaitForRequests(1));
    EXPECT_EQ("/qr.php?value=" + escaped(text), targetOf(server.Requests()[0]));
    HWND box = GetDlgItem(qr, k图片二维码);
    EXPECT_TRUE(lw::testing::WaitUntil([&] { return codeModulesWrong(pictureOnScreen(box), text) == 0; }))
        << codeModulesWrong(pictureOnScreen(box), text) << " modules wrong";
    SetForegroundWindow(main);
  }
  lw::testing::SaveBmp(lw::testing::CaptureWindow(qr), artifactPath("qr_window_own_code.bmp"));
  PostMessageA(qr, WM_CLOSE, 0, 0);
  closeNormally();
}

// The pointer the screen shows now. Under Wine each process has its own handle of
// a system cursor, so a pointer set by the program is known by change, not by
// handle; that the change is to the wait cursor is checked inside one process, in
// the core commands' tests.
HCURSOR pointerShown() {
  CURSORINFO info = {};
  info.cbSize = sizeof info;
  GetCursorInfo(&info);
  return info.hCursor;
}

TEST_F(EndToEnd, WaitCursorWhileAnExchangeIsSlowAndTheNormalPointerAfter) {
  // A QR picture that comes, and a feed that fails: the pointer comes back either way.
  struct Case {
    const char* what;
    int button;
  };
  const Case cases[] = {{"QR picture", k按钮_转换1}, {"feed not found", k获取}};
  ASSERT_NO_FATAL_FAILURE(startNormally());
  lw::testing::TypeInto(control(k链接框), L"http://user.qzone.qq.com/12345/blog/678");
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
  lw::testing::TypeInto(control(k编辑框QQ), L"12345");
  server.Serve("/qr.php", HttpResponse("200 OK", "Content-Type: image/png\r\n", checkerPng(0)));
  server.answerDelayMs = 3000;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    server.Clear();
    SetForegroundWindow(main);
    RECT r = {};
    GetWindowRect(control(k编辑框生成), &r);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    Sleep(300);
    const HCURSOR before = pointerShown();
    PostMessageA(control(c.button), BM_CLICK, 0, 0);
    ASSERT_TRUE(server.WaitForRequests(1));
    Sleep(500);
    const HCURSOR during = pointerShown();
    // The start window answers again once the exchange is over.
    DWORD_PTR ignored = 0;
    ASSERT_TRUE(SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored));
    SetForegroundWindow(main);
    Sleep(300);
    const HCURSOR after = pointerShown();
    EXPECT_NE(nullptr, before);
    EXPECT_NE(before, during) << "expected another pointer while the exchange runs";
    EXPECT_EQ(before, after) << "expected the normal pointer back";
  }
  server.answerDelayMs = 0;
  HWND qr = program.FindWindowOfProgram(nullptr, k图片二维码);
  ASSERT_NE(nullptr, qr) << "expected the QR window";
  PostMessageA(qr, WM_CLOSE, 0, 0);
  closeNormally();
}

TEST_F(EndToEnd, BuildWithoutQrServiceSendsNothingAndShowsTheOwnCode) {
  serveNotice(u8"版本：3.1#");
  ASSERT_NO_FATAL_FAILURE(launch(besideTests(L"linkwright_loopback_no_qr.exe")));
  main = startWindow();
  ASSERT_NE(nullptr, main);
  lw::testing::TypeInto(control(k链接框), L"http://user.qzone.qq.com/12345/blog/678");
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
  const std::wstring share = shown(k编辑框生成);
  ASSERT_EQ(blogShareAddress(L"12345", L"678"), share);
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换1)));
  HWND qr = program.WaitForWindowOfProgram(nullptr, k图片二维码);
  ASSERT_NE(nullptr, qr);
  HWND box = GetDlgItem(qr, k图片二维码);
  EXPECT_TRUE(lw::testing::WaitUntil([&] { return codeModulesWrong(pictureOnScreen(box), share) == 0; }))
      << codeModulesWrong(pictureOnScreen(box), share) << " modules wrong";
  EXPECT_EQ(std::vector<std::string>{"/notice.txt"}, targetsOf(server.Requests())) << "expected no QR request";
  PostMessageA(qr, WM_CLOSE, 0, 0);
  closeNormally();
}

// ---- Texts whatever the system's code page ----

TEST_F(EndToEnd, EveryCaptionReadsBackAsItsChineseAndTheRequestsAreKept) {
  ASSERT_NO_FATAL_FAILURE(startNormally());
  auto expectCaptions = [](lw::testing::ProgramWindow which, HWND window) {
    for (const lw::testing::ProgramCaption& c : lw::testing::kProgramCaptions) {
      if (c.window != which) continue;
      HWND h = c.controlId ? lw::testing::FindControl(window, c.controlId) : window;
      ASSERT_NE(nullptr, h) << "expected control " << c.controlId;
      EXPECT_EQ(c.text, lw::testing::WindowText(h)) << "control " << c.controlId;
    }
  };
  expectCaptions(lw::testing::ProgramWindow::Start, main);
  HWND list = control(lw::testing::kLogListId);
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(lw::testing::kLogColumnTitles[i], lw::testing::ListColumnTitle(program.pi.hProcess, list, i));

  // One request of each kind: the notice above, the feed, the QR picture.
  server.Serve("/cgi-bin/cgi_rss_out?uin=12345",
               HttpResponse("200 OK", "Content-Type: text/xml; charset=utf-8\r\n", kFeed));
  server.Serve("/qr.php", HttpResponse("200 OK", "Content-Type: image/png\r\n", checkerPng(0)));
  lw::testing::TypeInto(control(k编辑框QQ), L"12345");
  ASSERT_TRUE(lw::testing::Press(control(k获取)));
  EXPECT_EQ(4, lw::testing::ListRowCount(list));
  lw::testing::TypeInto(control(k链接框), L"http://user.qzone.qq.com/12345/blog/678");
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
  EXPECT_EQ(blogShareAddress(L"12345", L"678"), shown(k编辑框生成));
  ASSERT_TRUE(lw::testing::Press(control(k按钮_转换1)));
  HWND qr = program.WaitForWindowOfProgram(nullptr, k图片二维码);
  ASSERT_NE(nullptr, qr) << "expected the QR window";
  expectCaptions(lw::testing::ProgramWindow::Qr, qr);
  ASSERT_TRUE(server.WaitForRequests(3));

  // The requests as they came, for comparison with the runs under other code pages.
  std::string wire;
  for (const std::string& r : server.Requests()) wire += r;
  FILE* f = fopen(artifactPath(("wire-cp" + std::to_string(GetACP()) + ".txt").c_str(), false).c_str(), "wb");
  ASSERT_NE(nullptr, f);
  fwrite(wire.data(), 1, wire.size(), f);
  fclose(f);
  EXPECT_EQ((std::vector<std::string>{"/notice.txt", "/cgi-bin/cgi_rss_out?uin=12345",
                                      "/qr.php?value=" + escaped(blogShareAddress(L"12345", L"678"))}),
            targetsOf(server.Requests()));
  PostMessageW(qr, WM_CLOSE, 0, 0);
  closeNormally();
}

TEST_F(EndToEnd, StartsFromAFolderWithAChineseName) {
  // The program works in its own folder: its path must reach it whole, also where
  // the system's code page has no form for the folder's name.
  wchar_t full[MAX_PATH] = {};
  GetFullPathNameW(besideTests(L"..\\artifacts").c_str(), MAX_PATH, full, nullptr);
  CreateDirectoryW(full, nullptr);
  const std::wstring folder = std::wstring(full) + L"\\工具", copy = folder + L"\\linkwright_loopback.exe";
  CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW(besideTests(L"linkwright_loopback.exe").c_str(), copy.c_str(), FALSE));
  serveNotice(u8"版本：3.1#");
  ASSERT_NO_FATAL_FAILURE(launch(copy));
  main = startWindow();
  ASSERT_NE(nullptr, main) << "expected the start window";
  EXPECT_EQ(folder + L"\\", lw::testing::CurrentDirectoryOf(program.pi.hProcess));
  closeNormally();
}

}  // namespace
