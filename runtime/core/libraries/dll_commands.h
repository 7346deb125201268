// The program's DLL commands: the platform routines application code calls by
// index through the runtime's DLL-command service. The table sits with that
// service, below every unit that calls through it (the web request, the regular
// expression object, the application). The program image hands it to the runtime;
// tests that run application routines without the image install the same table
// themselves.
#pragma once
#include <cstddef>

namespace lw::dll {

// Indexes in the table. One export may be declared more than once, each
// declaration for one way of passing its arguments.
enum Command : int {
  CoInitialize = 0,
  CoUninitialize = 1,
  InternetOpen = 2,
  InternetCloseHandle = 3,
  InternetConnect = 4,
  HttpOpenRequest = 5,
  HttpSendRequestText = 6,   // GET: optional data given as a text
  HttpSendRequestBytes = 7,  // POST and HEAD: optional data given as bytes
  InternetReadFile = 8,
  HttpQueryInfo = 9,
  MultiByteToWideChar = 10,
  WideCharToMultiByteText = 11,   // into a text
  WideCharToMultiByteSize = 12,   // asking for the size
  WideCharToMultiByteBytes = 13,  // into a byte set
  InternetSetOption = 14,
};
struct DllCommandRow {
  dll::Command index;
  const char* library;     // "" means: search the system libraries
  const char* exportName;  // "#n" names an ordinal
};

inline constexpr DllCommandRow kDllCommands[] = {
    {dll::CoInitialize, "ole32.dll", "CoInitialize"},
    {dll::CoUninitialize, "ole32.dll", "CoUninitialize"},
    {dll::InternetOpen, "wininet.dll", "InternetOpenA"},
    {dll::InternetCloseHandle, "wininet.dll", "InternetCloseHandle"},
    {dll::InternetConnect, "wininet.dll", "InternetConnectA"},
    {dll::HttpOpenRequest, "wininet.dll", "HttpOpenRequestA"},
    {dll::HttpSendRequestText, "wininet.dll", "HttpSendRequestA"},
    {dll::HttpSendRequestBytes, "wininet.dll", "HttpSendRequestA"},
    {dll::InternetReadFile, "wininet.dll", "InternetReadFile"},
    {dll::HttpQueryInfo, "wininet.dll", "HttpQueryInfoA"},
    {dll::MultiByteToWideChar, "", "MultiByteToWideChar"},
    {dll::WideCharToMultiByteText, "kernel32.dll", "WideCharToMultiByte"},
    {dll::WideCharToMultiByteSize, "kernel32.dll", "WideCharToMultiByte"},
    {dll::WideCharToMultiByteBytes, "kernel32.dll", "WideCharToMultiByte"},
    {dll::InternetSetOption, "wininet.dll", "InternetSetOptionA"},
};
inline constexpr size_t kDllCommandCount = sizeof kDllCommands / sizeof kDllCommands[0];

// The runtime finds a command by its position, so each row must sit at its index.
constexpr bool dllRowsAtTheirIndexes() {
  for (size_t i = 0; i < kDllCommandCount; ++i)
    if (size_t(kDllCommands[i].index) != i) return false;
  return true;
}
static_assert(dllRowsAtTheirIndexes(), "a DLL-command row out of place");

}  // namespace lw::dll
