// What a screen reader gets of the whole program, read from this process as a
// reader reads it: every control's client object through the platform's
// accessibility interface (its name, role and value), and the change events the
// program raises, through an out-of-context event hook. The program is the test
// build of the end-to-end tests, with this process as its web.
//
// Wine's standard object answers role 10 (client) where the platform documents a
// role of the control's own; each row accepts both.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/app/end_to_end_session_win.h"

namespace {

using namespace e2e;

// Roles as the platform documents them for each kind, and what Wine's standard object says.
constexpr LONG kClient = ROLE_SYSTEM_CLIENT;  // 10

// What a reader reads of a window's client object.
struct ClientObject {
  HRESULT found = E_FAIL;
  std::wstring name, value;
  LONG role = -1;
};

std::wstring textOf(BSTR b) {
  std::wstring s = b ? std::wstring(b, SysStringLen(b)) : std::wstring();
  SysFreeString(b);
  return s;
}

ClientObject readClient(HWND hwnd) {
  ClientObject out;
  IAccessible* object = nullptr;
  out.found = AccessibleObjectFromWindow(hwnd, DWORD(OBJID_CLIENT), IID_IAccessible, reinterpret_cast<void**>(&object));
  if (FAILED(out.found) || !object) return out;
  VARIANT self = {};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR text = nullptr;
  if (object->get_accName(self, &text) == S_OK) out.name = textOf(text);
  text = nullptr;
  if (object->get_accValue(self, &text) == S_OK) out.value = textOf(text);
  VARIANT role = {};
  if (SUCCEEDED(object->get_accRole(self, &role)) && role.vt == VT_I4) out.role = role.lVal;
  object->Release();
  return out;
}

// Name changes of the program's client objects, as an out-of-context hook hears
// them: they arrive through this thread's messages, so waiting pumps them.
std::vector<HWND> g_renamed, g_liveChanged;
constexpr DWORD kLiveRegionChanged = 0x8019;  // EVENT_OBJECT_LIVEREGIONCHANGED

void CALLBACK onNameChange(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
  if (object != OBJID_CLIENT || child != CHILDID_SELF) return;
  if (event == EVENT_OBJECT_NAMECHANGE) g_renamed.push_back(hwnd);
  if (event == kLiveRegionChanged) g_liveChanged.push_back(hwnd);
}

void pumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  } while (GetTickCount() - start < ms);
}

size_t renamesOf(HWND hwnd) { return size_t(std::count(g_renamed.begin(), g_renamed.end(), hwnd)); }

struct Accessibility : EndToEndSession {
  void SetUp() override {
    CoInitialize(nullptr);
    EndToEndSession::SetUp();
    ASSERT_NO_FATAL_FAILURE(startNormally());
  }
  void TearDown() override {
    if (main) PostMessageW(main, WM_CLOSE, 0, 0);
    program.WaitForExit();
    EndToEndSession::TearDown();
    CoUninitialize();
  }
  void convert(const wchar_t* address) {
    lw::testing::TypeInto(control(k链接框), address);
    ASSERT_TRUE(lw::testing::Press(control(k按钮_转换)));
  }
};

// One control as a reader must find it; a null name: the control has no name of
// its own to check (the group box, captionless, is only a frame).
struct Expected {
  const char* what;
  int id;
  const wchar_t* name;
  LONG documentedRole;
};

::testing::AssertionResult readsAs(const ClientObject& seen, const Expected& e) {
  if (FAILED(seen.found)) return ::testing::AssertionFailure() << "no client object: 0x" << std::hex << seen.found;
  if (e.name && seen.name != e.name)
    return ::testing::AssertionFailure() << "expected the name " << gbk(e.name) << ", got " << gbk(seen.name);
  if (seen.role != e.documentedRole && seen.role != kClient)
    return ::testing::AssertionFailure() << "expected the role " << e.documentedRole << " or " << kClient << ", got "
                                         << seen.role;
  return ::testing::AssertionSuccess();
}

TEST_F(Accessibility, EveryControlIsReadWithItsNameAndRole) {
  const Expected controls[] = {
      // The edit boxes are named after the labels beside them, the closing colon left out.
      {"链接框", k链接框, L"说说或者日志地址", ROLE_SYSTEM_TEXT},
      {"编辑框QQ", k编辑框QQ, L"QQ号", ROLE_SYSTEM_TEXT},
      // The two with no label beside them are named by the application.
      {"编辑框生成", k编辑框生成, L"识别链接", ROLE_SYSTEM_TEXT},
      {"按钮_转换", k按钮_转换, L"生成识别链接", ROLE_SYSTEM_PUSHBUTTON},
      {"按钮_转换1", k按钮_转换1, L"显示二维码", ROLE_SYSTEM_PUSHBUTTON},
      {"获取", k获取, L"获取", ROLE_SYSTEM_PUSHBUTTON},
      {"标签2", k标签2, L"说说或者日志地址", ROLE_SYSTEM_STATICTEXT},
      {"标签1", k标签1, L"QQ号：", ROLE_SYSTEM_STATICTEXT},
      {"标签_提示", k标签_提示, L"提示：", ROLE_SYSTEM_STATICTEXT},
      {"超级列表框日志", k超级列表框日志, L"日志列表", ROLE_SYSTEM_LIST},
      {"分组框1", k分组框1, nullptr, ROLE_SYSTEM_GROUPING},
  };
  std::string roles;
  for (const Expected& e : controls) {
    const ClientObject seen = readClient(control(e.id));
    EXPECT_TRUE(readsAs(seen, e)) << e.what;
    roles += std::string(" ") + e.what + "=" + std::to_string(seen.role);
  }
  RecordProperty("roles", roles);

  // A box with text in it keeps its label's name: the text is its value, not its name.
  lw::testing::TypeInto(control(k链接框), L"http://user.qzone.qq.com/12345/blog/678");
  lw::testing::TypeInto(control(k编辑框QQ), L"12345");
  EXPECT_TRUE(readsAs(readClient(control(k链接框)), controls[0])) << "with an address typed";
  EXPECT_TRUE(readsAs(readClient(control(k编辑框QQ)), controls[1])) << "with a number typed";
}

TEST_F(Accessibility, QrPictureIsNamedWithTheAddressItShowsAsItsValue) {
  const wchar_t* const pasted[] = {L"http://user.qzone.qq.com/12345/blog/678", L"http://user.qzone.qq.com/12345/mood/9ab"};
  HWND qr = nullptr;
  for (const wchar_t* address : pasted) {
    SCOPED_TRACE(gbk(address));
    ASSERT_NO_FATAL_FAILURE(convert(address));
    const std::wstring share = lw::testing::WindowText(control(k编辑框生成));
    // Opened the first time, shown again in the open window the second.
    ASSERT_TRUE(lw::testing::Press(control(k按钮_转换1)));
    qr = program.WaitForWindowOfProgram(nullptr, k图片二维码);
    ASSERT_NE(nullptr, qr) << "expected the QR window";
    const ClientObject seen = readClient(GetDlgItem(qr, k图片二维码));
    EXPECT_TRUE(readsAs(seen, {"图片二维码", k图片二维码, L"二维码", ROLE_SYSTEM_GRAPHIC}));
    EXPECT_EQ(share, seen.value) << "expected the value " << gbk(share) << ", got " << gbk(seen.value);
  }
  PostMessageW(qr, WM_CLOSE, 0, 0);
}

// The status line is a live region: each status an action sets is read out, the
// same one twice too (the same error again is still news to a user who cannot see it).
TEST_F(Accessibility, StatusLineIsAnnouncedEachTimeItIsSet) {
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, kLiveRegionChanged, nullptr, &onNameChange,
                                       program.pi.dwProcessId, 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(nullptr, hook);
  g_renamed.clear();
  g_liveChanged.clear();
  HWND status = control(k标签_提示);
  struct Step {
    const char* what;
    const wchar_t* address;
    size_t announced;  // name changes of the status line so far
  };
  const Step steps[] = {
      {"a blog address: a new status", L"http://user.qzone.qq.com/12345/blog/678", 1},
      {"the same again: the same status, announced again", L"http://user.qzone.qq.com/12345/blog/678", 2},
      {"no post in the address: another status", L"http://user.qzone.qq.com/12345", 3},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.what);
    ASSERT_NO_FATAL_FAILURE(convert(s.address));
    // The expected count is waited for; a surplus would show after a while.
    const DWORD start = GetTickCount();
    while (renamesOf(status) < s.announced && GetTickCount() - start < 10000) pumpFor(20);
    pumpFor(300);
    EXPECT_EQ(s.announced, renamesOf(status));
    EXPECT_EQ(s.announced, size_t(std::count(g_liveChanged.begin(), g_liveChanged.end(), status)))
        << "expected each as a live region's change too";
    // What a reader reads on hearing of it: the new text.
    EXPECT_EQ(lw::testing::WindowText(status), readClient(status).name);
  }
  UnhookWinEvent(hook);
}

}  // namespace
