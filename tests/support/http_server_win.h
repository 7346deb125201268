// A small HTTP server for tests and benchmarks, on a thread of the calling process.
// It listens on 127.0.0.1 at a port the system picks, records every request it
// receives byte for byte, and answers each with the canned response registered for
// its target (path and query, else the path alone), or 404. Every response closes
// its connection, so each exchange is one connection.
//
// Winsock is bound by name when the server starts, so users need no import library.
// Header-only, so that a benchmark program can use it too.
#pragma once
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace lw::testing {

// A whole response: status line, the given header lines, Content-Length and
// "Connection: close", an empty line, the body. `headerLines` are complete lines,
// each ending CR LF.
inline std::string HttpResponse(const std::string& status, const std::string& headerLines, const std::string& body) {
  return "HTTP/1.1 " + status + "\r\n" + headerLines + "Content-Length: " + std::to_string(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

struct HttpServer {
  // Starts listening and serving, at `fixedPort` when given (a program built to
  // talk to a known port), else at one the system picks; false when the loopback
  // socket cannot be made or the port is taken.
  bool Start(int fixedPort = 0);
  // Stops the serving thread and closes the socket; Start may be called again.
  void Stop();
  ~HttpServer() { Stop(); }

  // The answer for requests whose target is `target` (for example "/a?b=1" or "/a").
  void Serve(const std::string& target, std::string response);
  // Misbehaving answers, each ending when the client gives up, the server stops or
  // a minute has passed: `head` and then the same bytes without end (a body with
  // no length that never stops), or nothing at all after reading the request.
  void ServeEndless(const std::string& target, std::string head);
  void ServeSilence(const std::string& target);
  // The address of `target` on this server, "http://127.0.0.1:port/...".
  std::string Address(const std::string& target) const;
  // The raw requests received so far, in order; Clear forgets them.
  std::vector<std::string> Requests();
  void Clear();
  // Waits until at least n requests have been recorded or the time is up.
  bool WaitForRequests(size_t n, DWORD timeoutMs = 5000);

  int port = 0;
  // How long every answer waits before it is sent: a slow service.
  volatile DWORD answerDelayMs = 0;

  // ---- internals ----
  struct Sockets;  // Winsock routines bound by name
  static DWORD WINAPI threadMain(LPVOID self);
  void serveConnection(uintptr_t client);
  uintptr_t listener = ~uintptr_t(0);
  HANDLE thread = nullptr;
  volatile LONG stopping = 0;
  CRITICAL_SECTION lock;
  bool lockMade = false;
  enum class Kind { Whole, Endless, Silent };
  struct Route {
    Kind kind;
    std::string bytes;
  };
  void addRoute(const std::string& target, Route route);
  void answerEndlessly(uintptr_t client, const std::string& head);
  void stayQuiet(uintptr_t client);
  std::map<std::string, std::shared_ptr<const Route>> routes;
  std::vector<std::string> requests;
};

// ---------------------------------------------------------------------------

struct HttpServer::Sockets {
  using Socket = uintptr_t;
  struct Address4 {  // sockaddr_in
    uint16_t family;
    uint16_t portBigEndian;
    uint32_t addressBigEndian;
    char zero[8];
  };
  static constexpr Socket kInvalid = ~Socket(0);
  int(WINAPI* startup)(WORD, void*);
  Socket(WINAPI* socket)(int, int, int);
  int(WINAPI* bind)(Socket, const void*, int);
  int(WINAPI* listen)(Socket, int);
  int(WINAPI* getsockname)(Socket, void*, int*);
  Socket(WINAPI* accept)(Socket, void*, int*);
  int(WINAPI* connect)(Socket, const void*, int);
  int(WINAPI* recv)(Socket, char*, int, int);
  int(WINAPI* send)(Socket, const char*, int, int);
  int(WINAPI* shutdown)(Socket, int);
  int(WINAPI* closesocket)(Socket);
  int(WINAPI* setsockopt)(Socket, int, int, const char*, int);
  int(WINAPI* lastError)();
  bool bound = false;

  static Sockets& get() {
    static Sockets s = [] {
      Sockets k = {};
      HMODULE m = LoadLibraryA("ws2_32.dll");
      if (!m) return k;
      auto bindName = [m](auto& slot, const char* name) {
        slot = reinterpret_cast<std::remove_reference_t<decltype(slot)>>(
            reinterpret_cast<void*>(GetProcAddress(m, name)));
        return slot != nullptr;
      };
      k.bound = bindName(k.startup, "WSAStartup") && bindName(k.socket, "socket") && bindName(k.bind, "bind") &&
                bindName(k.listen, "listen") && bindName(k.getsockname, "getsockname") &&
                bindName(k.accept, "accept") && bindName(k.connect, "connect") && bindName(k.recv, "recv") &&
                bindName(k.send, "send") && bindName(k.shutdown, "shutdown") &&
                bindName(k.closesocket, "closesocket") && bindName(k.setsockopt, "setsockopt") &&
                bindName(k.lastError, "WSAGetLastError");
      if (k.bound) {
        char data[1024];
        k.bound = k.startup(0x0202, data) == 0;
      }
      return k;
    }();
    return s;
  }

  static Address4 loopback(int port) {
    Address4 a = {};
    a.family = 2;  // AF_INET
    a.portBigEndian = uint16_t(((port & 0xFF) << 8) | ((port >> 8) & 0xFF));
    a.addressBigEndian = 0x0100007F;  // 127.0.0.1 in network order
    return a;
  }
};

inline bool HttpServer::Start(int fixedPort) {
  using S = Sockets;
  S& k = S::get();
  if (!k.bound || thread) return false;
  if (!lockMade) {
    InitializeCriticalSection(&lock);
    lockMade = true;
  }
  listener = k.socket(2 /*AF_INET*/, 1 /*SOCK_STREAM*/, 6 /*IPPROTO_TCP*/);
  if (listener == S::kInvalid) return false;
  S::Address4 a = S::loopback(fixedPort);
  int n = sizeof a;
  if (k.bind(listener, &a, sizeof a) != 0 || k.listen(listener, 16) != 0 || k.getsockname(listener, &a, &n) != 0) {
    k.closesocket(listener);
    listener = S::kInvalid;
    return false;
  }
  port = ((a.portBigEndian & 0xFF) << 8) | (a.portBigEndian >> 8);
  stopping = 0;
  thread = CreateThread(nullptr, 0, &threadMain, this, 0, nullptr);
  return thread != nullptr;
}

inline void HttpServer::Stop() {
  using S = Sockets;
  if (!thread) return;
  S& k = S::get();
  InterlockedExchange(&stopping, 1);
  // A connection of our own wakes the accepting thread, which then sees the flag.
  S::Socket poke = k.socket(2, 1, 6);
  if (poke != S::kInvalid) {
    S::Address4 a = S::loopback(port);
    k.connect(poke, &a, sizeof a);
    k.closesocket(poke);
  }
  WaitForSingleObject(thread, 10000);
  CloseHandle(thread);
  thread = nullptr;
  k.closesocket(listener);
  listener = S::kInvalid;
}

inline void HttpServer::addRoute(const std::string& target, Route route) {
  if (!lockMade) {
    InitializeCriticalSection(&lock);
    lockMade = true;
  }
  auto shared = std::make_shared<const Route>(std::move(route));
  EnterCriticalSection(&lock);
  routes[target] = shared;
  LeaveCriticalSection(&lock);
}

inline void HttpServer::Serve(const std::string& target, std::string response) {
  addRoute(target, {Kind::Whole, std::move(response)});
}
inline void HttpServer::ServeEndless(const std::string& target, std::string head) {
  addRoute(target, {Kind::Endless, std::move(head)});
}
inline void HttpServer::ServeSilence(const std::string& target) { addRoute(target, {Kind::Silent, std::string()}); }

inline void HttpServer::answerEndlessly(uintptr_t client, const std::string& head) {
  Sockets& k = Sockets::get();
  std::string block(64 * 1024, 'x');
  DWORD start = GetTickCount();
  if (k.send(client, head.data(), int(head.size()), 0) != int(head.size())) return;
  while (!stopping && GetTickCount() - start < 60000)
    if (k.send(client, block.data(), int(block.size()), 0) <= 0) return;
}

inline void HttpServer::stayQuiet(uintptr_t client) {
  Sockets& k = Sockets::get();
  DWORD timeout = 200, start = GetTickCount();
  k.setsockopt(client, 0xFFFF, 0x1006, reinterpret_cast<const char*>(&timeout), sizeof timeout);
  char byte;
  while (!stopping && GetTickCount() - start < 60000) {
    // Waiting out the receive time-out is the silence; anything else (the client
    // closed or reset the connection, or sent more) ends it.
    if (k.recv(client, &byte, 1, 0) >= 0 || k.lastError() != 10060 /*WSAETIMEDOUT*/) return;
  }
}

inline std::string HttpServer::Address(const std::string& target) const {
  return "http://127.0.0.1:" + std::to_string(port) + target;
}

inline std::vector<std::string> HttpServer::Requests() {
  EnterCriticalSection(&lock);
  std::vector<std::string> copy = requests;
  LeaveCriticalSection(&lock);
  return copy;
}

inline void HttpServer::Clear() {
  EnterCriticalSection(&lock);
  requests.clear();
  LeaveCriticalSection(&lock);
}

inline bool HttpServer::WaitForRequests(size_t n, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    EnterCriticalSection(&lock);
    size_t have = requests.size();
    LeaveCriticalSection(&lock);
    if (have >= n) return true;
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(10);
  }
}

inline DWORD WINAPI HttpServer::threadMain(LPVOID self) {
  auto* server = static_cast<HttpServer*>(self);
  Sockets& k = Sockets::get();
  for (;;) {
    Sockets::Socket client = k.accept(server->listener, nullptr, nullptr);
    if (server->stopping) {
      if (client != Sockets::kInvalid) k.closesocket(client);
      return 0;
    }
    if (client == Sockets::kInvalid) continue;
    server->serveConnection(client);
  }
}

// Reads one request (head, then as many body bytes as Content-Length names),
// records it and sends the canned answer. A connection whose first byte cannot
// begin a request line (a TLS hello, say) is recorded as read and closed.
inline void HttpServer::serveConnection(uintptr_t client) {
  Sockets& k = Sockets::get();
  DWORD timeout = 5000;
  k.setsockopt(client, 0xFFFF /*SOL_SOCKET*/, 0x1006 /*SO_RCVTIMEO*/, reinterpret_cast<const char*>(&timeout),
               sizeof timeout);
  std::string raw;
  char buffer[16384];
  size_t headEnd = std::string::npos;
  size_t wanted = 0;
  bool http = true;
  for (;;) {
    if (headEnd != std::string::npos && raw.size() >= wanted) break;
    int n = k.recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    raw.append(buffer, size_t(n));
    if (raw[0] < 'A' || raw[0] > 'Z') {
      http = false;
      break;
    }
    if (headEnd == std::string::npos && (headEnd = raw.find("\r\n\r\n")) != std::string::npos) {
      size_t bodyLength = 0;
      std::string head = raw.substr(0, headEnd + 2);
      for (char& c : head) c = char(tolower(static_cast<unsigned char>(c)));
      size_t at = head.find("\r\ncontent-length:");
      if (at != std::string::npos) bodyLength = strtoul(head.c_str() + at + 17, nullptr, 10);
      wanted = headEnd + 4 + bodyLength;
    }
  }
  std::shared_ptr<const Route> answer;
  EnterCriticalSection(&lock);
  requests.push_back(raw);
  if (http) {
    size_t lineEnd = raw.find("\r\n");
    std::string line = raw.substr(0, lineEnd);
    size_t s1 = line.find(' '), s2 = line.rfind(' ');
    std::string target = (s1 != std::string::npos && s2 > s1) ? line.substr(s1 + 1, s2 - s1 - 1) : std::string();
    auto found = routes.find(target);
    if (found == routes.end()) found = routes.find(target.substr(0, target.find('?')));
    if (found != routes.end()) answer = found->second;
  }
  LeaveCriticalSection(&lock);
  if (http) Sleep(answerDelayMs);
  if (http && answer && answer->kind == Kind::Endless) {
    answerEndlessly(client, answer->bytes);
  } else if (http && answer && answer->kind == Kind::Silent) {
    stayQuiet(client);
  } else if (http) {
    static const std::string kNotFound = HttpResponse("404 Not Found", "", "");
    const std::string& out = answer ? answer->bytes : kNotFound;
    for (size_t sent = 0; sent < out.size();) {
      int chunk = int(std::min<size_t>(out.size() - sent, 1 << 20));
      int n = k.send(client, out.data() + sent, chunk, 0);
      if (n <= 0) break;
      sent += size_t(n);
    }
    k.shutdown(client, 1 /*SD_SEND*/);
    // Lets the client read everything before the connection goes away.
    timeout = 500;
    k.setsockopt(client, 0xFFFF, 0x1006, reinterpret_cast<const char*>(&timeout), sizeof timeout);
    while (k.recv(client, buffer, sizeof buffer, 0) > 0) {
    }
  }
  k.closesocket(client);
}

}  // namespace lw::testing
