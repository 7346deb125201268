// Fetching a large body from a loopback server: webPageRequest against a plain
// WinINet read loop.
// Baseline: the same WinINet calls made directly in C (functions looked up once in
// wininet.dll, same request flags, 64 KiB reads appended to a buffer grown by
// doubling). Measured: webPageRequest, whose calls go through the DLL-command service,
// whose waits are bounded by its time-outs and whose body grows in a runtime block
// checked against a bound (twice the body here, so that the check runs and passes).
// Both fetch 16 MB and 64 MB; the time per megabyte staying flat between the two
// sizes shows that appending is linear. Run by hand: wine web_request_bench_win.exe
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_clock.h"
#include "runtime/core/values/memory.h"
#include "tests/support/http_server_win.h"
#include "tests/support/program_dll_table_win.h"
#include "web/web_request_win.h"

namespace {

constexpr int kRounds = 9;

typedef void*(WINAPI* OpenFn)(const char*, DWORD, const char*, const char*, DWORD);
typedef void*(WINAPI* ConnectFn)(void*, const char*, WORD, const char*, const char*, DWORD, DWORD, DWORD_PTR);
typedef void*(WINAPI* OpenRequestFn)(void*, const char*, const char*, const char*, const char*, const char**, DWORD,
                                     DWORD_PTR);
typedef BOOL(WINAPI* SendFn)(void*, const char*, DWORD, void*, DWORD);
typedef BOOL(WINAPI* ReadFn)(void*, void*, DWORD, DWORD*);
typedef BOOL(WINAPI* CloseFn)(void*);

struct WinInet {
  OpenFn open;
  ConnectFn connect;
  OpenRequestFn openRequest;
  SendFn send;
  ReadFn read;
  CloseFn close;
};

template <class T> T lookUp(HMODULE m, const char* name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(m, name)));
}

// The plain loop: returns the number of body bytes read.
size_t plainFetch(const WinInet& w, int port, const char* path) {
  void* root = w.open("bench", 1, NULL, NULL, 0);
  void* connection = w.connect(root, "127.0.0.1", WORD(port), NULL, NULL, 3, 0, 0);
  void* request = w.openRequest(connection, "GET", path, "HTTP/1.1", NULL, NULL, 0x80004010, 0);
  w.send(request, NULL, 0, (void*)"", 0);
  size_t length = 0, capacity = 65536;
  char* body = (char*)malloc(capacity);
  static char chunk[64 * 1024];
  DWORD count;
  while (w.read(request, chunk, sizeof chunk, &count) && count > 0) {
    if (length + count > capacity) {
      capacity *= 2;
      body = (char*)realloc(body, capacity);
    }
    memcpy(body + length, chunk, count);
    length += count;
  }
  free(body);
  w.close(request);
  w.close(connection);
  w.close(root);
  return length;
}

size_t routineFetch(const std::string& address, size_t bound) {
  lw::Text a = static_cast<lw::Text>(lw::AllocMemory(address.size() + 1));
  memcpy(a, address.c_str(), address.size() + 1);
  lw::ByteSet body = web::webPageRequest(&a, 0, nullptr, nullptr, nullptr, nullptr, nullptr, false, nullptr, nullptr,
                                         bound);
  size_t length = lw::byteSetLength(body);
  lw::FreeMemory(body);
  lw::FreeMemory(a);
  return length;
}

}  // namespace

int main() {
  lw::testing::InstallProgramDllTable();
  HMODULE wininet = LoadLibraryA("wininet.dll");
  WinInet w = {lookUp<OpenFn>(wininet, "InternetOpenA"),      lookUp<ConnectFn>(wininet, "InternetConnectA"),
               lookUp<OpenRequestFn>(wininet, "HttpOpenRequestA"), lookUp<SendFn>(wininet, "HttpSendRequestA"),
               lookUp<ReadFn>(wininet, "InternetReadFile"),   lookUp<CloseFn>(wininet, "InternetCloseHandle")};

  lw::testing::HttpServer server;
  if (!server.Start()) {
    fprintf(stderr, "no loopback server\n");
    return 1;
  }
  const size_t kSizes[] = {size_t(16) << 20, size_t(64) << 20};
  for (size_t size : kSizes) {
    std::string body(size, '\0');
    for (size_t i = 0; i < size; ++i) body[i] = char(i * 131 >> 3);
    std::string path = "/body" + std::to_string(size >> 20);
    server.Serve(path, lw::testing::HttpResponse("200 OK", "Content-Type: application/octet-stream\r\n", body));
    body.clear();
    body.shrink_to_fit();

    std::vector<double> plain, routine;
    for (int r = 0; r < kRounds; ++r) {
      // Alternating which goes first keeps the order out of the comparison.
      size_t a = 0, b = 0;
      double tPlain = 0, tRoutine = 0;
      for (int k = 0; k < 2; ++k) {
        double t0 = bench::NowMs();
        if ((k == 0) == (r % 2 == 0)) {
          a = plainFetch(w, server.port, path.c_str());
          tPlain = bench::NowMs() - t0;
        } else {
          b = routineFetch(server.Address(path), 2 * size);
          tRoutine = bench::NowMs() - t0;
        }
      }
      if (a != size || b != size) {
        fprintf(stderr, "short read: plain %u, webPageRequest %u of %u bytes\n", unsigned(a), unsigned(b),
                unsigned(size));
        return 1;
      }
      plain.push_back(tPlain);
      routine.push_back(tRoutine);
    }
    double mb = double(size >> 20);
    double p = bench::Median(plain), q = bench::Median(routine);
    printf("%3.0f MB: plain WinINet loop %8.1f ms (%.2f ms/MB), webPageRequest %8.1f ms (%.2f ms/MB), ratio %.2f\n",
           mb, p, p / mb, q, q / mb, q / p);
    server.Serve(path, "");
  }
  server.Stop();
  return 0;
}
