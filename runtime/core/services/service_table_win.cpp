// The service entry table and the numbered services behind slot 12.
#include <windows.h>

#include <cstdarg>

#include "runtime/core/services/service_table.h"
#include "runtime/core/startup/runtime_app_win.h"
#include "runtime/core/startup/window_system.h"
#include "runtime/core/text/wide_text_win.h"
#include "runtime/core/values/error_texts.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/runtime_error.h"

namespace lw {
namespace {

uint64_t readProperty(uint32_t windowId, uint32_t unitId, int property, int index) {
  const WindowSystemOps* ws = GetWindowSystem();
  if (!ws) ReportFatalError(error_text::UnitNotLoaded, 0);
  return ws->readProperty(windowId, unitId, property, index);
}

void writeProperty(uint32_t windowId, uint32_t unitId, int property, int index, Word low, Word high) {
  const WindowSystemOps* ws = GetWindowSystem();
  if (!ws) ReportFatalError(error_text::UnitNotLoaded, 0);
  ws->writeProperty(windowId, unitId, property, index, low, high);
}

// A path of the program's as the platform takes it. A path that starts with the
// program's folder as the program reads it (where GBK has no form for a character
// of it, a "?") starts with the folder's UTF-16 form instead.
std::wstring platformPath(const char* path) {
  const std::string& folder = ThisProgram().folderText;
  const size_t n = folder.size();
  if (n == 0 || strncmp(path, folder.c_str(), n) != 0 || (path[n] != '\\' && path[n] != 0)) return Wide(path);
  return ThisProgram().folder + Wide(path + n);
}

// Services 0 and 1: a file search by pattern. The handle lives in the caller's variable.
intptr_t findNextFile(const char* pattern, DWORD attributes, int filterMode, HANDLE* handle) {
  WIN32_FIND_DATAW data;
  bool found;
  if (pattern && *pattern) {
    if (*handle && *handle != INVALID_HANDLE_VALUE) FindClose(*handle);
    *handle = FindFirstFileW(platformPath(pattern).c_str(), &data);
    found = *handle != INVALID_HANDLE_VALUE;
  } else {
    found = *handle && *handle != INVALID_HANDLE_VALUE && FindNextFileW(*handle, &data);
  }
  while (found) {
    bool dotEntry = !wcscmp(data.cFileName, L".") || !wcscmp(data.cFileName, L"..");
    bool match = filterMode ? (data.dwFileAttributes & attributes) == attributes
                            : (attributes == 0 || (data.dwFileAttributes & attributes) != 0 ||
                               !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY));
    if (!dotEntry && match) {
      // A name that GBK cannot hold is given by its short name, which opens the same file.
      const wchar_t* name = data.cFileName;
      std::string text = Gbk(name, wcslen(name));
      if (Wide(text) != name && data.cAlternateFileName[0]) text = Gbk(data.cAlternateFileName, wcslen(data.cAlternateFileName));
      char* block = static_cast<char*>(AllocMemory(text.size() + 1));
      memcpy(block, text.c_str(), text.size() + 1);
      return intptr_t(block);
    }
    found = FindNextFileW(*handle, &data);
  }
  if (*handle && *handle != INVALID_HANDLE_VALUE) FindClose(*handle);
  *handle = nullptr;
  return 0;
}

intptr_t callService(int number, ...) {
  va_list ap;
  va_start(ap, number);
  intptr_t result = 0;
  switch (number) {
    case service::FindNextFile: {
      const char* pattern = va_arg(ap, const char*);
      DWORD attributes = va_arg(ap, DWORD);
      int mode = va_arg(ap, int);
      HANDLE* handle = va_arg(ap, HANDLE*);
      result = findNextFile(pattern, attributes, mode, handle);
      break;
    }
    case service::EndFileSearch: {
      HANDLE h = va_arg(ap, HANDLE);
      if (h && h != INVALID_HANDLE_VALUE) FindClose(h);
      break;
    }
    case service::MakeArrayPrivate: {
      size_t elementSize = va_arg(ap, size_t);
      void** array = va_arg(ap, void**);
      MakeArrayPrivate(elementSize, array);
      break;
    }
    case service::RegisterCleanup: RegisterCleanupRoutine(va_arg(ap, void (*)())); break;
    case service::InitialiseRuntime: InitialiseRuntime(); break;
    default: break;  // 4 and 5 address units held in variables; this program has none
  }
  va_end(ap);
  return result;
}

void freeMemory(void* p) { FreeMemory(p); }
void* allocMemory(size_t n) { return AllocMemory(n); }
void* resizeMemory(void* p, size_t n) { return ResizeMemory(p, n); }

}  // namespace

const ServiceTable kServices = {
    &ReportRuntimeError, &CallDllCommand, &CallUnitCommand, &CallLibraryCommand, &readProperty,
    &writeProperty,      &allocMemory,    &resizeMemory,    &freeMemory,         &EndProgram,
    &Run,                &LoadStartWindow, &callService,
};

}  // namespace lw
