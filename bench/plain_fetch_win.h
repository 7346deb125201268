// A page fetched the plain way, with WinINet's functions looked up by name and
// called directly: the baseline side of the benchmarks that include a fetch.
#pragma once
#include <windows.h>

#include <string>

namespace bench {

inline std::string PlainFetch(const std::string& url) {
  std::string body;
  HMODULE m = LoadLibraryA("wininet.dll");
  if (!m) return body;
  using OpenFn = void*(WINAPI*)(const char*, DWORD, const char*, const char*, DWORD);
  using OpenUrlFn = void*(WINAPI*)(void*, const char*, const char*, DWORD, DWORD, DWORD_PTR);
  using ReadFn = BOOL(WINAPI*)(void*, void*, DWORD, DWORD*);
  using CloseFn = BOOL(WINAPI*)(void*);
  auto open = reinterpret_cast<OpenFn>(reinterpret_cast<void*>(GetProcAddress(m, "InternetOpenA")));
  auto openUrl = reinterpret_cast<OpenUrlFn>(reinterpret_cast<void*>(GetProcAddress(m, "InternetOpenUrlA")));
  auto read = reinterpret_cast<ReadFn>(reinterpret_cast<void*>(GetProcAddress(m, "InternetReadFile")));
  auto close = reinterpret_cast<CloseFn>(reinterpret_cast<void*>(GetProcAddress(m, "InternetCloseHandle")));
  void* session = open("plain", 1 /*INTERNET_OPEN_TYPE_DIRECT*/, nullptr, nullptr, 0);
  if (!session) return body;
  if (void* request = openUrl(session, url.c_str(), nullptr, 0, 0x80000000 /*RELOAD*/, 0)) {
    static char buffer[65536];
    DWORD n = 0;
    while (read(request, buffer, sizeof buffer, &n) && n > 0) body.append(buffer, n);
    close(request);
  }
  close(session);
  return body;
}

}  // namespace bench
