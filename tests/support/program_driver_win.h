// Drives a whole program in another process the way a person at the screen would:
// finds its windows and controls, types into them, presses buttons, clicks with the
// mouse, and reads what the controls show (list views through a block of memory in
// the program's own process, since their item records hold pointers). Texts go
// both ways in UTF-16, through the W calls, so what is read does not depend on the
// system's code page.
//
// Header-only, so that benchmarks can drive the program too.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

namespace lw::testing {

// A program started for a test; ended by force if it is still running when the
// record goes away.
struct ProgramUnderTest {
  PROCESS_INFORMATION pi = {};

  bool Start(const std::wstring& commandLine) {
    Close();
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    std::wstring cmd = commandLine;
    return CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0;
  }
  // Starts the program with a library loaded into it before its first instruction:
  // created suspended, the library loaded by a thread of its own in the program's
  // process, then let go. False when the library could not be loaded.
  bool StartWithLibrary(const std::wstring& commandLine, const std::wstring& library) {
    Close();
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    std::wstring cmd = commandLine;
    if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &si, &pi))
      return false;
    const SIZE_T bytes = (library.size() + 1) * sizeof(wchar_t);
    void* path = VirtualAllocEx(pi.hProcess, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    DWORD loaded = 0;
    if (path && WriteProcessMemory(pi.hProcess, path, library.c_str(), bytes, nullptr)) {
      // The system's libraries sit at the same address in every process.
      auto load = reinterpret_cast<LPTHREAD_START_ROUTINE>(
          reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "LoadLibraryW")));
      if (HANDLE t = CreateRemoteThread(pi.hProcess, nullptr, 0, load, path, 0, nullptr)) {
        if (WaitForSingleObject(t, 15000) == WAIT_OBJECT_0) GetExitCodeThread(t, &loaded);
        CloseHandle(t);
      }
    }
    if (!loaded) {
      Close();
      return false;
    }
    ResumeThread(pi.hThread);
    return true;
  }
  bool Running() const { return pi.hProcess && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; }
  // The exit code, or 0xDEAD when it has not ended in time (it is then ended).
  DWORD WaitForExit(DWORD timeoutMs = 15000) {
    if (!pi.hProcess) return 0xBAD;
    DWORD code = 0xDEAD;
    if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
      GetExitCodeProcess(pi.hProcess, &code);
    } else {
      TerminateProcess(pi.hProcess, 0xDEAD);
      WaitForSingleObject(pi.hProcess, 5000);
    }
    return code;
  }
  // A visible top-level window of the program: by title when one is given, else the
  // first one found whose title is empty and that has a child with `childId`.
  HWND FindWindowOfProgram(const wchar_t* title, int childId = 0) const {
    struct Search {
      DWORD pid;
      const wchar_t* title;
      int childId;
      HWND found;
    } s = {pi.dwProcessId, title, childId, nullptr};
    EnumWindows(
        [](HWND h, LPARAM lp) WINAPI -> BOOL {
          auto* s = reinterpret_cast<Search*>(lp);
          DWORD pid = 0;
          GetWindowThreadProcessId(h, &pid);
          if (pid != s->pid || !IsWindowVisible(h)) return TRUE;
          wchar_t text[256] = {};
          GetWindowTextW(h, text, 256);
          if (s->title ? wcscmp(text, s->title) != 0 : (text[0] != 0 || !GetDlgItem(h, s->childId))) return TRUE;
          s->found = h;
          return FALSE;
        },
        LPARAM(&s));
    return s.found;
  }
  HWND WaitForWindowOfProgram(const wchar_t* title, int childId = 0, DWORD timeoutMs = 15000) const {
    DWORD start = GetTickCount();
    for (;;) {
      if (HWND h = FindWindowOfProgram(title, childId)) return h;
      if (!Running() || GetTickCount() - start >= timeoutMs) return nullptr;
      Sleep(20);
    }
  }
  // A visible window of the program of class `cls` ("#32770" a message box, "#32768"
  // a pop-up menu).
  HWND FindWindowOfClass(const wchar_t* cls) const {
    struct Search {
      DWORD pid;
      const wchar_t* cls;
      HWND found;
    } s = {pi.dwProcessId, cls, nullptr};
    EnumWindows(
        [](HWND h, LPARAM lp) WINAPI -> BOOL {
          auto* s = reinterpret_cast<Search*>(lp);
          DWORD pid = 0;
          GetWindowThreadProcessId(h, &pid);
          wchar_t cls[64] = {};
          GetClassNameW(h, cls, 64);
          if (pid != s->pid || !IsWindowVisible(h) || wcscmp(cls, s->cls) != 0) return TRUE;
          s->found = h;
          return FALSE;
        },
        LPARAM(&s));
    return s.found;
  }
  HWND WaitForWindowOfClass(const wchar_t* cls, DWORD timeoutMs = 10000) const {
    DWORD start = GetTickCount();
    for (;;) {
      if (HWND h = FindWindowOfClass(cls)) return h;
      if (!Running() || GetTickCount() - start >= timeoutMs) return nullptr;
      Sleep(20);
    }
  }

  // Ends the program if it still runs and lets go of it; Start may follow.
  void Close() {
    if (Running()) {
      TerminateProcess(pi.hProcess, 0xDEAD);
      WaitForSingleObject(pi.hProcess, 5000);
    }
    if (pi.hThread) CloseHandle(pi.hThread);
    if (pi.hProcess) CloseHandle(pi.hProcess);
    pi = {};
  }

  ProgramUnderTest() = default;
  ProgramUnderTest(const ProgramUnderTest&) = delete;
  ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;
  ~ProgramUnderTest() { Close(); }
};

// The current directory of another 32-bit process, as its process parameters hold
// it (with its closing backslash); empty when it cannot be read.
inline std::wstring CurrentDirectoryOf(HANDLE process) {
  struct BasicInformation {  // what the kernel's process query 0 answers
    LONG exitStatus;
    DWORD peb;
    ULONG_PTR affinity, basePriority, processId, parentProcessId;
  } basic = {};
  using Query = LONG(WINAPI*)(HANDLE, ULONG, void*, ULONG, ULONG*);
  auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  // The process block holds the parameters' address at 0x10; they hold the current
  // directory's counted text at 0x24.
  DWORD parameters = 0;
  struct {
    USHORT bytes, room;
    DWORD text;
  } dir = {};
  if (!query || query(process, 0, &basic, sizeof basic, nullptr) != 0 ||
      !ReadProcessMemory(process, reinterpret_cast<void*>(uintptr_t(basic.peb) + 0x10), &parameters, 4, nullptr) ||
      !ReadProcessMemory(process, reinterpret_cast<void*>(uintptr_t(parameters) + 0x24), &dir, sizeof dir, nullptr))
    return std::wstring();
  std::wstring path(dir.bytes / sizeof(wchar_t), L'\0');
  if (!ReadProcessMemory(process, reinterpret_cast<void*>(uintptr_t(dir.text)), &path[0], dir.bytes, nullptr)) return {};
  return path;
}

// A control anywhere below `top` (controls may sit inside a group box) by its id.
inline HWND FindControl(HWND top, int controlId) {
  struct Search {
    int id;
    HWND found;
  } s = {controlId, nullptr};
  EnumChildWindows(
      top,
      [](HWND h, LPARAM lp) WINAPI -> BOOL {
        auto* s = reinterpret_cast<Search*>(lp);
        if (GetDlgCtrlID(h) != s->id) return TRUE;
        s->found = h;
        return FALSE;
      },
      LPARAM(&s));
  return s.found;
}

inline std::wstring WindowText(HWND h) {
  wchar_t buffer[8192] = {};
  if (h) SendMessageTimeoutW(h, WM_GETTEXT, 8192, LPARAM(buffer), SMTO_NORMAL, 10000, nullptr);
  return buffer;
}

// Types a text into an edit box: the control's whole text becomes `text`.
inline void TypeInto(HWND edit, const std::wstring& text) {
  SendMessageTimeoutW(edit, WM_SETTEXT, 0, LPARAM(text.c_str()), SMTO_NORMAL, 10000, nullptr);
}

// Presses a button and waits until the program has handled the click (its handler
// runs inside the press), at most `timeoutMs`.
inline bool Press(HWND button, DWORD timeoutMs = 30000) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, timeoutMs, &ignored) != 0;
}

// A left click at a screen position, through the input queue as the mouse gives
// it: the pointer moves there first, then the button goes down and up, with a pause
// between the steps as a hand makes them.
inline void ClickAtScreen(POINT at) {
  int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  INPUT in = {};
  in.type = INPUT_MOUSE;
  in.mi.dx = LONG((at.x * 65535 + w / 2) / (w - 1));
  in.mi.dy = LONG((at.y * 65535 + h / 2) / (h - 1));
  in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in, sizeof in);
  Sleep(100);
  in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in.mi.dx = in.mi.dy = 0;
  SendInput(1, &in, sizeof in);
  Sleep(100);
  in.mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &in, sizeof in);
}

// A key pressed and released, posted to a window of the program.
inline void PostKey(HWND to, WORD virtualKey) {
  PostMessageA(to, WM_KEYDOWN, virtualKey, 1);
  PostMessageA(to, WM_KEYUP, virtualKey, LPARAM(0xC0000001));
}

// Waits until `done` holds, checking every 20 ms; false when the time is up.
template <typename Condition>
bool WaitUntil(Condition done, DWORD timeoutMs = 10000) {
  DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(20);
  }
}

// A block of memory in another process, for messages whose records hold pointers.
struct RemoteBlock {
  HANDLE process = nullptr;
  char* at = nullptr;
  size_t size = 0;

  RemoteBlock(HANDLE p, size_t n) : process(p), size(n) {
    at = static_cast<char*>(VirtualAllocEx(p, nullptr, n, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  }
  ~RemoteBlock() {
    if (at) VirtualFreeEx(process, at, 0, MEM_RELEASE);
  }
  RemoteBlock(const RemoteBlock&) = delete;
  RemoteBlock& operator=(const RemoteBlock&) = delete;
  bool Write(size_t offset, const void* data, size_t n) {
    return at && offset <= size && n <= size - offset &&
           WriteProcessMemory(process, at + offset, data, n, nullptr);
  }
  bool Read(size_t offset, void* data, size_t n) const {
    return at && offset <= size && n <= size - offset && ReadProcessMemory(process, at + offset, data, n, nullptr);
  }
};

inline int ListRowCount(HWND list) { return int(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

// A text a list view in another process writes behind `record` (an item or column
// record) in a block of that process's memory; `needsAnswer` when the message
// answers 0 for failure.
template <class Record>
std::wstring RemoteListText(HANDLE process, HWND list, UINT message, WPARAM wp, Record record, bool needsAnswer) {
  constexpr size_t kTextRoom = 1024;
  RemoteBlock block(process, sizeof record + kTextRoom * sizeof(wchar_t));
  record.pszText = reinterpret_cast<wchar_t*>(block.at + sizeof record);
  record.cchTextMax = int(kTextRoom);
  wchar_t text[kTextRoom] = {};
  if (!block.Write(0, &record, sizeof record) || !block.Write(sizeof record, text, sizeof(wchar_t))) return L"<no memory>";
  if (!SendMessageW(list, message, wp, LPARAM(block.at)) && needsAnswer) return L"<no answer>";
  block.Read(sizeof record, text, (kTextRoom - 1) * sizeof(wchar_t));
  return text;
}

// The text of one cell of a list view in another process.
inline std::wstring ListCell(HANDLE process, HWND list, int row, int column) {
  LVITEMW item = {};
  item.iSubItem = column;
  return RemoteListText(process, list, LVM_GETITEMTEXTW, WPARAM(row), item, false);
}

// The title of one column of a list view in another process.
inline std::wstring ListColumnTitle(HANDLE process, HWND list, int column) {
  LVCOLUMNW col = {};
  col.mask = LVCF_TEXT;
  return RemoteListText(process, list, LVM_GETCOLUMNW, WPARAM(column), col, true);
}

// The screen rectangle of one row of a list view in another process.
inline RECT ListRowOnScreen(HANDLE process, HWND list, int row) {
  RemoteBlock block(process, sizeof(RECT));
  RECT r = {};
  r.left = LVIR_LABEL;
  block.Write(0, &r, sizeof r);
  SendMessageA(list, LVM_GETITEMRECT, WPARAM(row), LPARAM(block.at));
  block.Read(0, &r, sizeof r);
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace lw::testing
