// What every test that drives the whole program shares: the loopback server the
// test build talks to, the control ids of its windows, texts in both forms, message
// boxes and the clipboard read as a person reads them, and the session fixture that
// starts the program with a notice of its own version. Included by the end-to-end
// test files; header-only.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include "app/endpoints.h"
#include "runtime/core/text/codepage.h"
#include "tests/support/clipboard_text_win.h"
#include "tests/support/http_server_win.h"
#include "tests/support/message_box_win.h"  // BesideTests
#include "tests/support/program_driver_win.h"

namespace e2e {

using lw::testing::HttpResponse;
using lw::testing::ProgramUnderTest;

constexpr int kPort = LINKWRIGHT_LOOPBACK_PORT;  // where the test build of the program looks for everything
inline const std::string kLoopback = "127.0.0.1:" + std::to_string(kPort);

// Control ids of the start window, and of the picture box in the QR window.
enum : int {
  k链接框 = 100, k编辑框生成 = 110, k标签2 = 120, k按钮_转换 = 130, k标签_提示 = 140, k按钮_转换1 = 150,
  k分组框1 = 160, k超级列表框日志 = 170, k编辑框QQ = 180, k获取 = 190, k标签1 = 200, k图片二维码 = 100,
};

// The program's GBK form of a text, and the UTF-16 form of GBK bytes.
inline std::string gbk(const std::wstring& text) {
  return lw::WideToGbk(reinterpret_cast<const char16_t*>(text.data()), text.size());
}
inline std::wstring wide(const std::string& gbkText) {
  std::u16string w = lw::GbkToWide(gbkText);
  return std::wstring(w.begin(), w.end());
}

inline const std::wstring kShare = L"http://" + wide(app::endpoints::kShareHost) + L"/ugc/share?";

inline std::wstring blogShareAddress(const std::wstring& owner, const std::wstring& id) {
  return kShare + L"_wv=1&subtype=&ciphertext=&sid=&blog_photo=&g=85&res_uin=" + owner + L"&cellid=" + id +
         L"&subid=&bp1=&bp2=&bp7=&appid=2&g_f=2000000103";
}

// What the script engine's escape makes of a text.
inline std::string escaped(const std::wstring& s) {
  static const wchar_t kKeep[] = L"@*_+-./";
  std::string out;
  for (wchar_t c : s) {
    char hex[8];
    if (c < 0x80 && (iswalnum(c) || (c && wcschr(kKeep, c)))) {
      out += char(c);
    } else {
      snprintf(hex, sizeof hex, c < 0x100 ? "%%%02X" : "%%u%04X", unsigned(c));
      out += hex;
    }
  }
  return out;
}

// The request line's target of a raw request.
inline std::string targetOf(const std::string& request) {
  size_t a = request.find(' '), b = request.find(' ', a + 1);
  return a == std::string::npos || b == std::string::npos ? std::string() : request.substr(a + 1, b - a - 1);
}

inline std::vector<std::string> targetsOf(const std::vector<std::string>& requests) {
  std::vector<std::string> out;
  for (const std::string& r : requests) out.push_back(targetOf(r));
  return out;
}

// A file in the artifacts folder; the screenshots of runs under other code pages
// than 936 go to a folder of their own.
inline std::string artifactPath(const char* name, bool ofThisCodePage = true) {
  std::string dir = lw::testing::BesideTests("..\\artifacts");
  CreateDirectoryA(dir.c_str(), nullptr);
  if (ofThisCodePage && GetACP() != lw::kTextCodePage) {
    dir += "\\cp" + std::to_string(GetACP());
    CreateDirectoryA(dir.c_str(), nullptr);
  }
  return dir + "\\" + name;
}

// The path of a file beside the test program, in UTF-16.
inline std::wstring besideTests(const wchar_t* name) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (wchar_t* slash = wcsrchr(path, L'\\')) slash[1] = 0;
  return std::wstring(path) + name;
}

// Under Wine the shell hands web addresses to the host's browser; for these tests
// the "browser" is curl (or wget), whose request the loopback server records. The
// previous setting comes back afterwards.
struct HostBrowserFetches {
  HostBrowserFetches() {
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
      return;
    DWORD size = sizeof old;
    had = RegQueryValueExA(key, "Browsers", nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) == ERROR_SUCCESS;
    RegSetValueExA(key, "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>("curl,wget"), 10);
  }
  ~HostBrowserFetches() {
    if (!key) return;
    if (had) RegSetValueExA(key, "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(old), DWORD(strlen(old) + 1));
    else RegDeleteValueA(key, "Browsers");
    RegCloseKey(key);
  }
  HKEY key = nullptr;
  bool had = false;
  char old[1024] = {};
};

// A message box of the program, read and answered with OK as a person would.
struct SeenBox {
  bool found = false;
  HWND owner = nullptr;
  std::wstring caption, text;
};
inline SeenBox answerMessageBox(const ProgramUnderTest& program, DWORD timeoutMs = 15000) {
  SeenBox seen;
  HWND box = program.WaitForWindowOfClass(L"#32770", timeoutMs);
  if (!box) return seen;
  seen.found = true;
  seen.owner = GetWindow(box, GW_OWNER);
  seen.caption = lw::testing::WindowText(box);
  seen.text = lw::testing::WindowText(GetDlgItem(box, 0xFFFF));  // a message box's text
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(box, IDOK)));
  return seen;
}

// Another program holding the clipboard open, as a clipboard tool may: this process,
// through a window of its own (opened without one it is not exclusive everywhere).
struct HeldClipboard {
  HeldClipboard() { held = lw::testing::WaitUntil([this] { return OpenClipboard(window) != FALSE; }); }
  ~HeldClipboard() {
    if (held) CloseClipboard();
    DestroyWindow(window);
  }
  HWND window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  bool held = false;
};

// A text on the clipboard, once the clipboard is free.
inline bool putOnClipboard(const std::string& text) {
  return lw::testing::WaitUntil([&] { return lw::testing::PutOnClipboard(text); });
}

// The clipboard's text in both forms a program may ask for: its CF_UNICODETEXT, and
// its CF_TEXT bytes as the program's GBK read in UTF-16.
struct ClipboardTexts {
  std::wstring unicode, bytes;
};
inline ClipboardTexts clipboardTexts() {
  if (!lw::testing::WaitUntil([] { return OpenClipboard(nullptr) != FALSE; })) return {L"<busy>", L"<busy>"};
  ClipboardTexts out;
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* p = static_cast<const wchar_t*>(GlobalLock(h))) out.unicode = p;
    GlobalUnlock(h);
  }
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(h))) out.bytes = wide(p);
    GlobalUnlock(h);
  }
  CloseClipboard();
  return out;
}
// The clipboard holds `text` in both forms.
inline ::testing::AssertionResult clipboardHolds(const std::wstring& text) {
  ClipboardTexts now = clipboardTexts();
  if (now.unicode == text && now.bytes == text) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "expected the clipboard to hold " << gbk(text) << ", got CF_UNICODETEXT "
                                       << gbk(now.unicode) << " and CF_TEXT " << gbk(now.bytes);
}

// Whether window a lies above window b in the z-order of top-level windows.
inline bool isAbove(HWND a, HWND b) {
  for (HWND h = GetTopWindow(nullptr); h; h = GetWindow(h, GW_HWNDNEXT)) {
    if (h == a) return true;
    if (h == b) return false;
  }
  return false;
}

struct EndToEndSession : ::testing::Test {
  void SetUp() override {
    // Another run of these tests may hold the port for a few seconds.
    ASSERT_TRUE(lw::testing::WaitUntil([this] { return server.Start(kPort); }, 60000))
        << "the loopback port " << kPort << " is taken";
  }
  void TearDown() override { server.Stop(); }

  void serveNotice(const std::string& utf8) {
    server.Serve("/notice.txt", HttpResponse("200 OK", "Content-Type: text/plain; charset=utf-8\r\n", utf8));
  }
  void launch(const std::wstring& exe = besideTests(L"linkwright_loopback.exe")) {
    ASSERT_TRUE(program.Start(L"\"" + exe + L"\""));
  }
  // The start window once it is on the screen.
  HWND startWindow() { return program.WaitForWindowOfProgram(L"Linkwright"); }
  HWND control(int id) { return lw::testing::FindControl(main, id); }
  std::wstring shown(int id) { return lw::testing::WindowText(control(id)); }

  // Starts the program with a notice of our own version and waits for its window.
  void startNormally() {
    serveNotice(u8"版本：3.1#\r\n下载地址：http://" + kLoopback + "/download#");
    launch();
    main = startWindow();
    ASSERT_NE(nullptr, main) << "expected the start window";
  }
  // Clicks the start window's client area where no other window covers it, as a
  // person clicks a window to bring it forward. False when no such spot is found.
  bool clickOnStartWindowBeside(HWND other) {
    RECT client = {}, covered = {};
    GetClientRect(main, &client);
    GetWindowRect(other, &covered);
    const POINT corners[] = {{4, 4}, {client.right - 4, 4}, {4, client.bottom - 4}, {client.right - 4, client.bottom - 4}};
    for (POINT at : corners) {
      ClientToScreen(main, &at);
      if (PtInRect(&covered, at) || WindowFromPoint(at) != main) continue;
      lw::testing::ClickAtScreen(at);
      return true;
    }
    return false;
  }
  // Closes the start window as its close box would; the program then ends with 0.
  void closeNormally() {
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(0u, program.WaitForExit());
  }

  lw::testing::HttpServer server;
  ProgramUnderTest program;
  HWND main = nullptr;
};

}  // namespace e2e
