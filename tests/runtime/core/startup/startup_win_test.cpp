// Start-up, the loop, shutdown, fatal errors and DLL commands, observed from outside
// by running the probe program as its own process.
#include <windows.h>

#include <gtest/gtest.h>

#include <new>
#include <string>

#include "runtime/core/startup/guarded_procedure_win.h"

#include "tests/support/message_box_win.h"

namespace lw::testing {
namespace {

struct Probe {
  std::string log;
  DWORD exitCode = 0;
  SeenMessageBox box;
  bool windowUsableUnderBox = true;
};

struct ProbeRun {
  bool expectBox;
  bool closeWindow;
  SeenMessageBox box;
  bool watchWindow;             // see whether the probe's window is usable under the box
  bool windowUsableUnderBox;
};

void interact(void* context) {
  auto* run = static_cast<ProbeRun*>(context);
  if (run->watchWindow) {
    // A task-modal box disables the window while it shows; wait a while for that.
    HWND w = WaitForWindow("probe-window");
    for (DWORD start = GetTickCount(); w && IsWindowEnabled(w) && GetTickCount() - start < 5000;) Sleep(50);
    run->windowUsableUnderBox = w && IsWindowEnabled(w);
  }
  if (run->expectBox) run->box = AnswerMessageBox(IDOK, 15000);
  if (run->closeWindow) {
    HWND w = WaitForWindow("probe-window");
    if (w) PostMessageA(w, WM_CLOSE, 0, 0);
  }
}

Probe runProbe(const std::string& args, bool expectBox = false, bool closeWindow = false, bool watchWindow = false) {
  std::string logPath = BesideTests("probe.log");
  DeleteFileA(logPath.c_str());
  SetEnvironmentVariableA("LW_PROBE_LOG", logPath.c_str());
  ProbeRun run = {expectBox, closeWindow, {}, watchWindow, true};
  Probe p;
  p.exitCode = RunProgram("\"" + BesideTests("runtime_probe.exe") + "\" " + args, 20000, &interact, &run);
  p.box = run.box;
  p.windowUsableUnderBox = run.windowUsableUnderBox;
  p.log = ReadWholeFile(logPath);
  return p;
}

std::string errorText(const char* message, int code) {
  std::string t = "运行时出错!\r\n\r\n";
  if (code) t += "错误代码：" + std::to_string(code) + "\r\n\r\n";
  return t + "错误信息：" + message + "\r\n";
}

TEST(Startup, ClosingTheLastWindowEndsWithCodeZeroInShutdownOrder) {
  Probe p = runProbe("close", false, true);
  EXPECT_EQ(p.exitCode, 0u);
  EXPECT_EQ(p.log,
            "library notified 1\nsection read\nloop starts\nwindow destroyed\nloop ended\n"
            "cleanup\nlibrary notified 6\n");
}

TEST(Startup, EndProgramEndsWithTheChosenCodeAfterTheSameShutdown) {
  Probe p = runProbe("end 7");
  EXPECT_EQ(p.exitCode, 7u);
  EXPECT_EQ(p.log, "library notified 1\nsection read\nloop starts\nwindow destroyed\ncleanup\nlibrary notified 6\n");
}

TEST(Startup, EndProgramFromAnotherThreadIsCarriedOutByTheMainThread) {
  Probe p = runProbe("cross-thread 9");
  EXPECT_EQ(p.exitCode, 9u);
  EXPECT_NE(p.log.find("window destroyed\ncleanup\nlibrary notified 6\n"), std::string::npos) << p.log;
}

TEST(Startup, ACleanupRoutineRegisteredTwiceRunsOnce) {
  Probe p = runProbe("cleanup-twice", false, true);
  EXPECT_EQ(p.exitCode, 0u);
  EXPECT_EQ(p.log.find("cleanup"), p.log.rfind("cleanup")) << p.log;
}

TEST(Startup, TheIdleHookGivesLoadedWindowsTheirTurn) {
  Probe p = runProbe("idle");
  EXPECT_EQ(p.exitCode, 0u);
  EXPECT_NE(p.log.find("loop starts\nidle turn\nwindow destroyed\n"), std::string::npos) << p.log;
}

TEST(Startup, LibrariesReachTheRuntimeThroughTheCallbackEntry) {
  Probe p = runProbe("requests", true);
  EXPECT_NE(p.log.find("file runtime_probe.exe dir-is-cwd 1 block 1234567 load -1\n"), std::string::npos) << p.log;
  EXPECT_EQ(p.box.text, errorText("指定窗口或窗口组件不存在或尚未载入", 0));
  EXPECT_EQ(p.exitCode, DWORD(-1));
}

TEST(FatalError, ShowsTheOwnerlessBoxAndEndsWithMinusOneWithoutCleanup) {
  Probe p = runProbe("fatal 4", true);
  ASSERT_TRUE(p.box.found);
  EXPECT_EQ(p.box.caption, "错误");
  EXPECT_EQ(p.box.text, errorText("数组成员引用下标必须大于等于1", 4));
  EXPECT_EQ(p.box.owner, nullptr);
  EXPECT_EQ(p.exitCode, DWORD(-1));
  EXPECT_EQ(p.log.find("cleanup"), std::string::npos) << p.log;
}

TEST(FatalError, TheBoxIsTaskModalOverAnOpenWindow) {
  Probe p = runProbe("fatal-over-window 4", true, false, true);
  ASSERT_TRUE(p.box.found);
  EXPECT_EQ(p.box.caption, "错误");
  EXPECT_EQ(p.box.text, errorText("数组成员引用下标必须大于等于1", 4));
  EXPECT_EQ(p.box.owner, nullptr);
  EXPECT_FALSE(p.windowUsableUnderBox) << "expected the program's window disabled while the box shows";
  EXPECT_EQ(p.exitCode, DWORD(-1));
}

TEST(FatalError, DamagedSectionStopsStartUp) {
  Probe p = runProbe("bad-section", true);
  EXPECT_EQ(p.box.text, errorText("载入窗口模板数据段出错!", 0));
  EXPECT_EQ(p.exitCode, DWORD(-1));
}

TEST(FatalError, StartWindowThatCannotBeLoaded) {
  Probe p = runProbe("no-windows", true);
  EXPECT_EQ(p.box.text, errorText("载入启动窗口失败", 0));
  EXPECT_EQ(p.exitCode, DWORD(-1));
}

TEST(DllCommands, BindByNameOrdinalAndSystemSearchAndFreeTheirLibrariesAtShutdown) {
  Probe p = runProbe("dll");
  EXPECT_EQ(p.exitCode, 0u);
  EXPECT_NE(p.log.find("sum 42 marker 4242 wide 500001234 converted 2 ab\n"), std::string::npos) << p.log;
  // The library is freed after the libraries were told of the shutdown.
  EXPECT_NE(p.log.find("library notified 6\nlibrary unloaded\n"), std::string::npos) << p.log;
}

TEST(DllCommands, AWrongArgumentCountIsError6EitherWay) {
  for (const char* mode : {"dll-too-few", "dll-too-many"}) {
    Probe p = runProbe(mode, true);
    EXPECT_EQ(p.box.text, errorText("调用DLL命令后发现堆栈错误", 6)) << mode;
    EXPECT_EQ(p.exitCode, DWORD(-1)) << mode;
  }
}

TEST(DllCommands, MissingLibraryAndMissingOrdinalNameWhatWasAskedFor) {
  Probe p = runProbe("dll-missing-library", true);
  EXPECT_EQ(p.box.text, errorText("无法找到指定DLL库文件“no_such_library.dll”中的输出命令“Anything”", 0));
  p = runProbe("dll-bad-ordinal", true);
  EXPECT_EQ(p.box.text, errorText("无法找到指定DLL库文件“probe_dll.dll”中的输出命令“#99”", 0));
}

TEST(DllCommands, ALibraryPlantedUnderASystemNameIsNotLoaded) {
  struct Case {
    const char* planted;  // a copy of the probe library beside the program, under this name
    const char* mode;
    const char* error;    // what the command then reports instead of the plant's answer
  };
  const Case cases[] = {
      // A command naming a system library.
      {"msimg32", "dll-planted", "无法找到指定DLL库文件“msimg32.dll”中的输出命令“ProbeMarker”"},
      // A command naming no library: the search of the system libraries.
      {"mpr", "dll-planted-search", "无法找到指定DLL库文件中的输出命令“ProbeMarker”"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.planted);
    std::string planted = BesideTests((std::string(c.planted) + ".dll").c_str());
    ASSERT_TRUE(CopyFileA(BesideTests("probe_dll.dll").c_str(), planted.c_str(), FALSE));
    // Under Wine, ask the loader to prefer a library file over its own built-in copy
    // for the probe, as Windows does for a file beside the program; otherwise the
    // plant would never be loaded and the test would prove nothing.
    const char* key = "Software\\Wine\\AppDefaults\\runtime_probe.exe\\DllOverrides";
    HKEY h = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) ==
        ERROR_SUCCESS) {
      RegSetValueExA(h, c.planted, 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"), 15);
      RegCloseKey(h);
    }
    Probe p = runProbe(c.mode, true);
    RegDeleteKeyA(HKEY_CURRENT_USER, key);
    DeleteFileA(planted.c_str());
    EXPECT_EQ(p.log.find("planted library answered"), std::string::npos) << p.log;
    EXPECT_EQ(p.box.text, errorText(c.error, 0));
    EXPECT_EQ(p.exitCode, DWORD(-1));
  }
}

// Runs the probe copied into a folder of the given name beside the tests, with the
// probe library beside it. The folder's name is UTF-16 from start to end.
Probe runProbeIn(const std::wstring& name, const char* args) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  *wcsrchr(self, L'\\') = 0;
  const std::wstring folder = std::wstring(self) + L"\\" + name;
  CreateDirectoryW(folder.c_str(), nullptr);
  Probe p;
  for (const wchar_t* file : {L"runtime_probe.exe", L"probe_dll.dll"})
    if (!CopyFileW((std::wstring(self) + L"\\" + file).c_str(), (folder + L"\\" + file).c_str(), FALSE)) return p;
  std::string logPath = BesideTests("probe.log");
  DeleteFileA(logPath.c_str());
  SetEnvironmentVariableA("LW_PROBE_LOG", logPath.c_str());
  std::wstring command = L"\"" + folder + L"\\runtime_probe.exe\" ";
  for (const char* a = args; *a; ++a) command += wchar_t(*a);
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    if (WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 0xDEAD);
    GetExitCodeProcess(pi.hProcess, &p.exitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  p.log = ReadWholeFile(logPath);
  return p;
}

TEST(Startup, FromAFolderNoCodePageCanSpellThePlatformGetsItsWholePath) {
  // Hangul and a character beyond the basic plane: GBK holds neither, nor does any
  // code page of the settings. The folder is used as UTF-16 at the platform, and
  // the program's own text of it has a "?" for each unit GBK cannot hold.
  Probe p = runProbeIn(L"\uB3C4\uAD6C \U0001F527", "folder");
  EXPECT_EQ(p.exitCode, 0u);
  EXPECT_NE(p.log.find("cwd-is-folder 1 folder-text ?? ?? found probe_dll.dll sum 42\n"), std::string::npos) << p.log;
}

TEST(Memory, ResizingConstantDataGivesAFreshCopy) {
  Probe p = runProbe("resize-constant");
  EXPECT_EQ(p.exitCode, 0u);
  EXPECT_NE(p.log.find("copy Xons constant constant\n"), std::string::npos) << p.log;
}

LRESULT CALLBACK throwingProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_USER + 1 || msg == WM_PAINT) throw std::bad_alloc();  // a message of the test's own, and a paint
  return DefWindowProcA(hwnd, msg, wp, lp);
}

TEST(WindowProcedures, AnExceptionEndsTheMessageNotTheProgram) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &Guarded<throwingProc>;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "lw-throwing-test";
  RegisterClassA(&wc);
  HWND w = CreateWindowA(wc.lpszClassName, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                         wc.hInstance, nullptr);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(SendMessageA(w, WM_USER + 1, 0, 0), 0);
  UpdateWindow(w);
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE)) << "a paint that threw must leave nothing to paint";
  DestroyWindow(w);
  UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

}  // namespace
}  // namespace lw::testing
