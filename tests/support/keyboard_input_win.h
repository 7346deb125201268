// Real keystrokes for tests that drive a program as a person at the keyboard does:
// through the system's input queue (SendInput), so they reach whichever window has
// the focus, and pass through the program's own message loop, its dialog keys and
// its accelerators on the way. Header-only.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <vector>

namespace lw::testing {

// Modifier keys held while a key is pressed.
enum KeyModifier : unsigned { kNoModifier = 0, kShift = 1, kCtrl = 2, kAlt = 4 };

inline INPUT KeyInput(WORD virtualKey, bool up) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = virtualKey;
  in.ki.wScan = WORD(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  // The keys of the extended block are told apart from the number pad's.
  switch (virtualKey) {
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_HOME: case VK_END: case VK_PRIOR:
    case VK_NEXT: case VK_INSERT: case VK_DELETE: case VK_APPS:
      in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
      break;
    default: break;
  }
  return in;
}

// Presses and releases one key with the given modifiers held, then gives the
// program `settleMs` to take it.
inline void PressKey(WORD virtualKey, unsigned modifiers = kNoModifier, DWORD settleMs = 150) {
  static const struct {
    unsigned flag;
    WORD key;
  } kModifierKeys[] = {{kCtrl, VK_CONTROL}, {kShift, VK_SHIFT}, {kAlt, VK_MENU}};
  std::vector<INPUT> in;
  for (const auto& m : kModifierKeys)
    if (modifiers & m.flag) in.push_back(KeyInput(m.key, false));
  in.push_back(KeyInput(virtualKey, false));
  in.push_back(KeyInput(virtualKey, true));
  for (size_t i = sizeof kModifierKeys / sizeof kModifierKeys[0]; i-- > 0;)
    if (modifiers & kModifierKeys[i].flag) in.push_back(KeyInput(kModifierKeys[i].key, true));
  SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
  Sleep(settleMs);
}

// Several keys in a row, each pressed alone.
inline void PressKeys(std::initializer_list<WORD> keys, DWORD settleMs = 150) {
  for (WORD k : keys) PressKey(k, kNoModifier, settleMs);
}

// Types a text as characters (the platform's Unicode key packets), whatever the
// keyboard layout, into the control that has the focus.
inline void TypeText(const wchar_t* text, DWORD settleMs = 150) {
  std::vector<INPUT> in;
  for (const wchar_t* c = text; *c; ++c) {
    INPUT down = {};
    down.type = INPUT_KEYBOARD;
    down.ki.wScan = *c;
    down.ki.dwFlags = KEYEVENTF_UNICODE;
    INPUT up = down;
    up.ki.dwFlags |= KEYEVENTF_KEYUP;
    in.push_back(down);
    in.push_back(up);
  }
  if (!in.empty()) SendInput(UINT(in.size()), in.data(), sizeof(INPUT));
  Sleep(settleMs);
}

// Brings a top-level window of another process to the front with the keyboard
// focus in it, as a click on its caption would; true when it is the foreground
// window afterwards.
inline bool BringToFront(HWND window, DWORD timeoutMs = 3000) {
  DWORD start = GetTickCount();
  do {
    SetForegroundWindow(window);
    if (GetForegroundWindow() == window) return true;
    Sleep(50);
  } while (GetTickCount() - start < timeoutMs);
  return false;
}

// The control of another process's thread that has the keyboard focus (null when
// none), read through the thread's input state.
inline HWND FocusOf(HWND window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  DWORD thread = GetWindowThreadProcessId(window, nullptr);
  return GetGUIThreadInfo(thread, &info) ? info.hwndFocus : nullptr;
}

}  // namespace lw::testing
