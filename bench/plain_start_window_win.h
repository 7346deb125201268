// The start window made the plain way, with direct platform calls: the window with
// the program's icon and its eleven controls at the stored geometry ("STATIC" for
// the labels). The baseline of the window-loading, start-up and feed benchmarks,
// with the plain programs' window class and message loop. The class is registered
// by the caller; the benchmarks carry the program's icon and manifest
// (plain_program.rc), so their controls are the same version as the program's.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace bench {

// The plain programs' own window class "PlainWindow": the arrow, the button-face
// background, and the end of the message loop when the window goes.
inline LRESULT CALLBACK PlainWindowProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(h, m, w, l);
}
inline void RegisterPlainWindowClass() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = PlainWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
  wc.hbrBackground = HBRUSH(COLOR_BTNFACE + 1);
  wc.lpszClassName = "PlainWindow";
  RegisterClassA(&wc);
}

// Shows the window and runs the messages until it is closed.
inline void ShowAndRunPlainWindow(HWND w) {
  ShowWindow(w, SW_SHOW);
  UpdateWindow(w);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

inline HWND CreatePlainStartWindow(const char* className) {
  HINSTANCE inst = GetModuleHandleA(nullptr);
  HWND w = CreateWindowExA(WS_EX_CONTROLPARENT, className, "Linkwright",
                           WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN, 400, 100, 400, 504, nullptr,
                           nullptr, inst, nullptr);
  // The program's icon in the caption and task bar, as the program's windows show it.
  if (HICON big = LoadIconA(inst, MAKEINTRESOURCEA(1))) {
    SendMessageA(w, WM_SETICON, ICON_BIG, LPARAM(big));
    HICON small = HICON(LoadImageA(inst, MAKEINTRESOURCEA(1), IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                   GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    SendMessageA(w, WM_SETICON, ICON_SMALL, LPARAM(small ? small : big));
  }
  auto child = [&](HWND parent, const char* cls, const char* text, DWORD style, DWORD ex, int x, int y, int cx,
                   int cy, int id) {
    HWND c = CreateWindowExA(ex, cls, text, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | style, x, y, cx, cy, parent,
                             HMENU(INT_PTR(id)), inst, nullptr);
    SendMessageA(c, WM_SETFONT, WPARAM(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    return c;
  };
  child(w, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 108, 8, 272, 24, 100);
  child(w, "EDIT", "", ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN | WS_TABSTOP, WS_EX_CLIENTEDGE, 8, 80, 368,
        128, 110);
  child(w, "STATIC", "说说或者日志地址", SS_LEFT, 0, 3, 7, 98, 24, 120);
  child(w, "BUTTON", "生成识别链接", BS_PUSHBUTTON | WS_TABSTOP, 0, 24, 38, 144, 32, 130);
  child(w, "STATIC", "提示：", SS_LEFT, 0, 24, 208, 320, 32, 140);
  child(w, "BUTTON", "显示二维码", BS_PUSHBUTTON | WS_TABSTOP, 0, 192, 39, 144, 32, 150);
  HWND group = child(w, "BUTTON", "", BS_GROUPBOX, 0, 0, 232, 384, 216, 160);
  HWND list = child(group, WC_LISTVIEWA, "", LVS_REPORT | LVS_SINGLESEL | WS_TABSTOP, WS_EX_CLIENTEDGE, 8, 8, 368,
                    168, 170);
  LVCOLUMNA col = {};
  col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  col.pszText = const_cast<char*>("日志");
  col.cx = 250;
  SendMessageA(list, LVM_INSERTCOLUMNA, 0, LPARAM(&col));
  col.pszText = const_cast<char*>("ID");
  col.cx = 150;
  SendMessageA(list, LVM_INSERTCOLUMNA, 1, LPARAM(&col));
  child(group, "EDIT", "", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 60, 182, 156, 24, 180);
  child(group, "BUTTON", "获取", BS_PUSHBUTTON | WS_TABSTOP, 0, 237, 183, 104, 24, 190);
  child(group, "STATIC", "QQ号：", SS_LEFT, 0, 16, 181, 32, 32, 200);
  return w;
}

}  // namespace bench
