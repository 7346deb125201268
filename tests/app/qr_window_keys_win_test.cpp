// The QR window by keyboard, and its picture taken away: the whole test build of the
// program in its own process, driven with real keystrokes through the input queue
// (and the mouse where a person would use it). Esc closes the window and gives the
// start window's control its focus back; Ctrl+C and the picture's menu put the
// picture on the clipboard as shown; 保存图片… writes it as PNG through the save
// dialog, or says why it could not.
//
// The QR service here answers with the real QR code of the share address at half
// the box's side, so the box stretches it: what is copied and saved must be the
// picture at the size shown. The pictures are checked module by module against the
// encoder's own code, and kept in artifacts/ (qr_clipboard.bmp, qr_saved.png, with
// the address in qr_taken_away.txt), where a QR reader in the native build reads
// them back after the Windows runs (scripts/test.sh).
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "tests/app/end_to_end_session_win.h"
#include "tests/app/served_qr_code_win.h"
#include "tests/support/folder_names_win.h"
#include "tests/support/keyboard_input_win.h"
#include "tests/support/screen_capture_win.h"

namespace {

using namespace e2e;
using lw::testing::PressKey;
using lw::testing::ScreenPixels;

constexpr UINT kTimeOut = 15000;

const wchar_t kPasted[] = L"http://user.qzone.qq.com/12345/blog/678";

// The artifacts folder of this code page, in UTF-16.
std::wstring artifactFolder() {
  std::string path = artifactPath("");
  path.pop_back();  // the separator before the empty name
  return wide(path);
}

// ---- The clipboard ----

// What the clipboard holds: its text, its CF_DIB as pixels, and whether CF_BITMAP
// is offered too.
struct ClipboardNow {
  std::string text;
  ScreenPixels dib;
  int bitCount = 0;
  SIZE bitmap = {0, 0};  // the CF_BITMAP the platform makes from the CF_DIB
};
ClipboardNow clipboardNow() {
  ClipboardNow now;
  if (!lw::testing::WaitUntil([] { return OpenClipboard(nullptr) != FALSE; })) return now;
  if (HANDLE h = GetClipboardData(CF_TEXT)) {
    if (const char* p = static_cast<const char*>(GlobalLock(h))) now.text = p;
    GlobalUnlock(h);
  }
  BITMAP made = {};
  HANDLE bitmap = GetClipboardData(CF_BITMAP);
  if (bitmap && GetObjectW(bitmap, sizeof made, &made)) now.bitmap = {made.bmWidth, made.bmHeight};
  if (HANDLE h = GetClipboardData(CF_DIB)) {
    const auto* head = static_cast<const BITMAPINFOHEADER*>(GlobalLock(h));
    const int bpp = head ? head->biBitCount : 0;
    if (head && head->biCompression == BI_RGB && (bpp == 24 || bpp == 32)) {
      now.bitCount = bpp;
      const int w = head->biWidth, hgt = head->biHeight < 0 ? -head->biHeight : head->biHeight;
      const size_t row = (size_t(w) * (bpp / 8) + 3) & ~size_t(3);
      const uint8_t* bits = reinterpret_cast<const uint8_t*>(head) + head->biSize;
      now.dib.width = w;
      now.dib.height = hgt;
      for (int y = 0; y < hgt; ++y) {
        const uint8_t* r = bits + row * size_t(head->biHeight < 0 ? y : hgt - 1 - y);
        for (int x = 0; x < w; ++x, r += bpp / 8) now.dib.bgr.push_back(uint32_t(r[2]) << 16 | r[1] << 8 | r[0]);
      }
    }
    GlobalUnlock(h);
  }
  CloseClipboard();
  return now;
}

// ---- The program ----

struct QrWindowKeys : EndToEndSession {
  void SetUp() override {
    EndToEndSession::SetUp();
    ASSERT_NO_FATAL_FAILURE(startNormally());
    lw::testing::TypeInto(control(k链接框), kPasted);
    ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
    share = lw::testing::WindowText(control(k编辑框生成));
    served = servedCodeOf(gbk(share));
    ASSERT_FALSE(served.png.empty());
    server.Serve("/qr.php", HttpResponse("200 OK", "Content-Type: image/png\r\n", served.png));
  }
  void TearDown() override {
    if (qr && IsWindow(qr)) PostMessageW(qr, WM_CLOSE, 0, 0);
    if (main && IsWindow(main)) {
      PostMessageW(main, WM_CLOSE, 0, 0);
      EXPECT_EQ(0u, program.WaitForExit());
    }
    EndToEndSession::TearDown();
  }

  // Opens the QR window with a click on 显示二维码, as a person would, and waits
  // until it is in front showing the served picture.
  void openQrWindow() {
    ASSERT_TRUE(clickOn(control(k按钮_转换1)));
    qr = program.WaitForWindowOfProgram(nullptr, k图片二维码);
    ASSERT_NE(nullptr, qr) << "expected the QR window";
    box = GetDlgItem(qr, k图片二维码);
    ASSERT_TRUE(lw::testing::WaitUntil([&] { return GetForegroundWindow() == qr; }))
        << "expected the QR window in front";
    ASSERT_TRUE(lw::testing::WaitUntil([&] { return modulesWrong(onScreen(box), served) == 0; }))
        << "expected the served code, " << modulesWrong(onScreen(box), served) << " modules wrong";
  }
  // A left click in the middle of a window, which must be what the screen shows there.
  bool clickOn(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    POINT at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    if (WindowFromPoint(at) != window) return false;
    lw::testing::ClickAtScreen(at);
    return true;
  }
  // A right click in the middle of a window, through the input queue.
  bool clickOnWithRight(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    POINT at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    if (WindowFromPoint(at) != window) return false;
    SetCursorPos(at.x, at.y);
    Sleep(100);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    SendInput(2, in, sizeof(INPUT));
    return true;
  }
  static ScreenPixels onScreen(HWND window) {
    RECT r = {};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return lw::testing::CaptureScreen(r);
  }
  SIZE boxSize() {
    RECT r = {};
    GetClientRect(box, &r);
    return {r.right, r.bottom};
  }
  // Opens the picture's menu with the keyboard and picks its `entry`-th item.
  bool chooseFromMenu(WORD key, unsigned modifiers, int entry) {
    PressKey(key, modifiers);
    HWND menu = program.WaitForWindowOfClass(L"#32768", 5000);
    if (!menu) return false;
    for (int i = 0; i < entry; ++i) PressKey(VK_DOWN);
    PressKey(VK_RETURN);
    return lw::testing::WaitUntil([&] { return !IsWindow(menu) || !IsWindowVisible(menu); });
  }

  // Whether the first characters of a two-item menu's items are drawn differently:
  // the ink of each item's first character cell, from its first inked column.
  static bool itemsBeginDifferently(HWND menu) {
    const ScreenPixels p = lw::testing::CaptureWindow(menu);
    const int half = p.height / 2;
    if (half < 8) return false;
    auto firstCharacter = [&](int top) {
      const uint32_t ground = p.At(p.width - 4, top + half / 2);
      auto inked = [&](int x, int y) { return ((p.At(x, y) ^ ground) & 0x808080) != 0; };
      // The cell starts at the item's first inked column and row.
      int x0 = p.width, y0 = top + half;
      for (int y = top + 2; y < top + half - 2; ++y)
        for (int x = 3; x < p.width - 3; ++x)
          if (inked(x, y)) x0 = std::min(x0, x), y0 = std::min(y0, y);
      std::vector<bool> cell;
      for (int y = y0; y < y0 + half / 2; ++y)
        for (int x = x0; x < x0 + half / 2; ++x) cell.push_back(inked(x, y));
      return cell;
    };
    const std::vector<bool> first = firstCharacter(0), second = firstCharacter(half);
    return std::count(first.begin(), first.end(), true) > 0 && first != second;
  }

  HWND qr = nullptr, box = nullptr;
  std::wstring share;
  ServedCode served;
};

TEST_F(QrWindowKeys, EscClosesTheQrWindowAndTheStartWindowControlGetsTheFocusBack) {
  struct Case {
    const char* what;
    int focusBefore;  // the start window's control that has the focus when the QR window is left
  };
  const Case cases[] = {
      {"opened by a click on 显示二维码 and closed at once", k按钮_转换1},
      {"the address box used in between", k链接框},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_NO_FATAL_FAILURE(openQrWindow());
    if (c.focusBefore != k按钮_转换1) {
      ASSERT_TRUE(clickOn(control(c.focusBefore))) << "expected the control uncovered";
      ASSERT_TRUE(lw::testing::WaitUntil([&] { return lw::testing::FocusOf(main) == control(c.focusBefore); }));
      ASSERT_TRUE(lw::testing::BringToFront(qr));
    }
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(lw::testing::WaitUntil([&] { return !IsWindow(qr); })) << "expected Esc to close the QR window";
    EXPECT_TRUE(lw::testing::WaitUntil([&] { return GetForegroundWindow() == main; }));
    EXPECT_TRUE(lw::testing::WaitUntil([&] { return lw::testing::FocusOf(main) == control(c.focusBefore); }))
        << "expected the focus back on control " << c.focusBefore << ", got window " << lw::testing::FocusOf(main)
        << " (control " << GetDlgCtrlID(lw::testing::FocusOf(main)) << ")";
  }
  // In the start window, where there are boxes to type into, Esc closes nothing,
  // in a one-line box or in the multi-line one alike.
  for (int id : {k链接框, k编辑框生成}) {
    SCOPED_TRACE(id);
    ASSERT_TRUE(clickOn(control(id)));
    ASSERT_TRUE(lw::testing::WaitUntil([&] { return lw::testing::FocusOf(main) == control(id); }));
    PressKey(VK_ESCAPE);
    Sleep(500);
    EXPECT_TRUE(IsWindow(main) && IsWindowVisible(main)) << "expected the start window to stay open";
    EXPECT_TRUE(program.Running());
  }
}

TEST_F(QrWindowKeys, CtrlCAndTheMenuCopyThePictureAtTheSizeShown) {
  ASSERT_NO_FATAL_FAILURE(openQrWindow());
  const SIZE side = boxSize();
  struct Case {
    const char* what;
    WORD key;  // the key, and for a menu, the entry then taken with the arrows
    unsigned modifiers;
    int menuEntry;  // -1: no menu
  };
  const Case cases[] = {
      {"Ctrl+C", 'C', lw::testing::kCtrl, -1},
      {"the menu's first entry after Shift+F10", VK_F10, lw::testing::kShift, 1},
      {"the menu's first entry after the context-menu key", VK_APPS, lw::testing::kNoModifier, 1},
  };
  ClipboardNow copied;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_TRUE(putOnClipboard("kept"));
    ASSERT_TRUE(lw::testing::BringToFront(qr));
    if (c.menuEntry < 0) {
      PressKey(c.key, c.modifiers);
    } else {
      ASSERT_TRUE(chooseFromMenu(c.key, c.modifiers, c.menuEntry)) << "expected the picture's menu";
    }
    ASSERT_TRUE(lw::testing::WaitUntil([&] { return clipboardNow().dib.width > 0; })) << "expected a picture copied";
    copied = clipboardNow();
    EXPECT_EQ("", copied.text) << "expected the picture to replace the text";
    EXPECT_EQ(side.cx, copied.dib.width) << "expected the box's width in device pixels";
    EXPECT_EQ(side.cy, copied.dib.height);
    EXPECT_EQ(0, modulesWrong(copied.dib, served)) << "expected the served code as the box shows it";
    EXPECT_EQ(24, copied.bitCount) << "expected 24 bits a pixel, which no reader takes for alpha";
    EXPECT_EQ(side.cx, copied.bitmap.cx) << "expected CF_BITMAP made from the CF_DIB";
    EXPECT_EQ(side.cy, copied.bitmap.cy);
  }
  // The artifacts for the QR reader of the native build.
  const std::wstring dir = artifactFolder();
  ASSERT_TRUE(lw::testing::SaveBmp(copied.dib, gbk(dir + L"\\qr_clipboard.bmp")));
  FILE* f = _wfopen((dir + L"\\qr_taken_away.txt").c_str(), L"wb");
  ASSERT_NE(nullptr, f);
  fputs(gbk(share).c_str(), f);
  fclose(f);

  // A right-click on the picture opens the same menu; Esc leaves it with nothing done.
  ASSERT_TRUE(putOnClipboard("kept"));
  ASSERT_TRUE(clickOnWithRight(box));
  HWND menu = program.WaitForWindowOfClass(L"#32768", 5000);
  EXPECT_NE(nullptr, menu) << "expected the menu under the pointer";
  // Readable under every code page: 复 and 保 draw differently, where the boxes of a
  // font without them would be alike.
  EXPECT_TRUE(lw::testing::WaitUntil([&] { return itemsBeginDifferently(menu); }, 2000))
      << "expected the two items' first characters told apart";
  PressKey(VK_ESCAPE);
  EXPECT_EQ("kept", clipboardNow().text);
  EXPECT_TRUE(IsWindow(qr)) << "expected Esc in the menu to close only the menu";
}

TEST_F(QrWindowKeys, AnEmptyBoxOffersNothingAndCopiesNothing) {
  // A text no QR code holds, and a service that fails: the window opens empty.
  server.Serve("/qr.php", HttpResponse("404 Not Found", "Content-Type: text/html\r\n", "<html>Not Found</html>"));
  lw::testing::TypeInto(control(k编辑框生成), std::wstring(2400, L'a'));
  ASSERT_TRUE(clickOn(control(k按钮_转换1)));
  qr = program.WaitForWindowOfProgram(nullptr, k图片二维码);
  ASSERT_NE(nullptr, qr);
  box = GetDlgItem(qr, k图片二维码);
  ASSERT_TRUE(lw::testing::WaitUntil([&] { return GetForegroundWindow() == qr; }));
  ASSERT_TRUE(putOnClipboard("kept"));
  PressKey('C', lw::testing::kCtrl);
  PressKey(VK_F10, lw::testing::kShift);
  PressKey(VK_APPS);
  clickOnWithRight(box);
  EXPECT_EQ(nullptr, program.WaitForWindowOfClass(L"#32768", 1000)) << "expected no menu on an empty box";
  ClipboardNow now = clipboardNow();
  EXPECT_EQ("kept", now.text);
  EXPECT_EQ(0, now.dib.width);
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(lw::testing::WaitUntil([&] { return !IsWindow(qr); })) << "expected Esc to close the empty window too";
}

// ---- Saving ----

std::wstring picturesFolder() {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, CSIDL_MYPICTURES | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

// A PNG file's pixels as the screen captures hold them; empty when it is none.
ScreenPixels pngFile(const std::wstring& path) {
  ScreenPixels p;
  FILE* f = _wfopen(path.c_str(), L"rb");
  if (!f) return p;
  std::vector<uint8_t> bytes;
  for (int c; (c = fgetc(f)) != EOF;) bytes.push_back(uint8_t(c));
  fclose(f);
  if (lw::DetectPictureFormat(bytes.data(), bytes.size()) != lw::kPicturePng) return p;
  lw::DecodedPicture* d = lw::DecodePicture(bytes.data(), bytes.size());
  if (!d) return p;
  p.width = int(d->width);
  p.height = int(d->height);
  for (size_t i = 0; i < size_t(d->width) * d->height; ++i)
    p.bgr.push_back(uint32_t(d->pixels[i * 4 + 2]) << 16 | d->pixels[i * 4 + 1] << 8 | d->pixels[i * 4]);
  lw::FreePicture(d);
  return p;
}

// Answers Yes to a message box the dialog asks a question in, if one is up.
void answerQuestionOf(HWND dialog) {
  struct Search {
    HWND owner, found;
  } search = {dialog, nullptr};
  EnumWindows(
      [](HWND h, LPARAM lp) WINAPI -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (GetWindow(h, GW_OWNER) != s->owner || !IsWindowVisible(h) || !GetDlgItem(h, IDYES)) return TRUE;
        s->found = h;
        return FALSE;
      },
      LPARAM(&search));
  if (!search.found) return;
  const std::string asked = gbk(lw::testing::WindowText(GetDlgItem(search.found, 0xFFFF)));
  printf("[ save dialog ] asks: %s\n", lw::GbkToUtf8(asked.data(), asked.size()).c_str());
  PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), LPARAM(GetDlgItem(search.found, IDYES)));
  lw::testing::WaitUntil([&] { return !IsWindow(search.found); });
}

TEST_F(QrWindowKeys, SavedPictureIsAPngOfTheSizeShownAndAFailedSaveLeavesNoFile) {
  ASSERT_NO_FATAL_FAILURE(openQrWindow());
  const SIZE side = boxSize();
  const std::wstring pictures = picturesFolder(), artifacts = artifactFolder();
  const std::wstring blocked = artifacts + L"\\blocked";
  CreateDirectoryW(blocked.c_str(), nullptr);
  CreateDirectoryW((blocked + L"\\二维码.png").c_str(), nullptr);  // the name a folder already holds
  struct Case {
    const char* what;
    std::wstring typed;         // into the file name box; empty: the name suggested, as it is
    std::wstring folder, name;  // where the file lands
    bool saved;
  };
  const Case cases[] = {
      {"the suggested name in the Pictures folder", L"", pictures, L"二维码.png", true},
      {"a path typed into the file name box", artifacts + L"\\qr_saved.png", artifacts, L"qr_saved.png", true},
      {"a name a folder holds, the dialog adding the extension", blocked + L"\\二维码", blocked, L"二维码.png", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::wstring path = c.folder + L"\\" + c.name;
    if (c.saved) DeleteFileW(path.c_str());
    ASSERT_TRUE(lw::testing::BringToFront(qr));
    ASSERT_TRUE(chooseFromMenu(VK_APPS, lw::testing::kNoModifier, 2)) << "expected the picture's menu";
    HWND dialog = program.WaitForWindowOfClass(L"#32770", kTimeOut);
    ASSERT_NE(nullptr, dialog) << "expected the save dialog";
    HWND nameBox = nullptr;
    ASSERT_TRUE(lw::testing::WaitUntil([&] { return IsChild(dialog, nameBox = lw::testing::FocusOf(dialog)); }))
        << "expected the focus in the dialog";
    EXPECT_EQ(L"二维码.png", lw::testing::WindowText(nameBox)) << "expected the suggested name";
    if (!c.typed.empty()) {
      PressKey(VK_HOME);
      PressKey(VK_END, lw::testing::kShift);
      lw::testing::TypeText(c.typed.c_str());
    }
    PressKey(VK_RETURN);
    // A file or folder of that name is there: the dialog asks first, and is told yes.
    ASSERT_TRUE(lw::testing::WaitUntil([&] { return answerQuestionOf(dialog), !IsWindow(dialog); }, kTimeOut))
        << "expected the dialog to close";
    if (c.saved) {
      ASSERT_TRUE(lw::testing::WaitUntil([&] { return pngFile(path).width > 0; })) << "expected " << gbk(path);
      ScreenPixels saved = pngFile(path);
      EXPECT_EQ(side.cx, saved.width) << "expected the box's width in device pixels";
      EXPECT_EQ(side.cy, saved.height);
      EXPECT_EQ(0, modulesWrong(saved, served)) << "expected the served code as the box shows it";
    } else {
      HWND told = program.WaitForWindowOfClass(L"#32770", kTimeOut);
      ASSERT_NE(nullptr, told) << "expected a message box";
      const std::wstring text = lw::testing::WindowText(GetDlgItem(told, 0xFFFF));
      EXPECT_EQ(0u, text.find(L"图片没有保存，无法写入这个文件：")) << gbk(text);
      EXPECT_NE(std::wstring::npos, text.find(L"\\blocked\\" + c.name)) << "expected the path named";
      PostMessageW(told, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), LPARAM(GetDlgItem(told, IDOK)));
      EXPECT_TRUE(lw::testing::WaitUntil([&] { return !IsWindow(told); }));
      EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) << "expected the folder kept";
    }
    // Nothing beside the file: no temporary file is left, whichever way it went.
    for (const std::wstring& name : lw::testing::NamesIn(c.folder))
      EXPECT_EQ(std::wstring::npos, name.find(L".tmp")) << "left behind: " << gbk(name);
    if (c.folder == pictures) DeleteFileW(path.c_str());
  }
  EXPECT_EQ(std::vector<std::wstring>{L"二维码.png\\"}, lw::testing::NamesIn(blocked));
  RemoveDirectoryW((blocked + L"\\二维码.png").c_str());
  RemoveDirectoryW(blocked.c_str());
}

}  // namespace
