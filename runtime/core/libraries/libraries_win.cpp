// Runtime libraries: their start and shutdown notifications, and the callback
// entry through which library code reaches runtime facilities.
#include <windows.h>

#include <vector>

#include "runtime/core/libraries/library_positions.h"
#include "runtime/core/startup/requests.h"
#include "runtime/core/startup/runtime_app_win.h"
#include "runtime/core/startup/window_system.h"
#include "runtime/core/values/error_texts.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/runtime_error.h"

namespace lw {
namespace {

// The runtime libraries the program lists, and the word each may set for itself.
struct LibraryState {
  std::vector<const LibraryDescriptor*> libraries;
  std::vector<intptr_t> words;
};
LibraryState g_libraries;

}  // namespace

void NotifyLibrariesStart(const ProgramInfoBlock& info) {
  for (uint32_t i = 0; i < info.libraryCount; ++i) {
    const LibraryDescriptor* d = info.libraries[i];
    if (d && d->notify) d->notify(notify::Start, intptr_t(&RuntimeRequest), 0);
  }
  g_libraries.libraries.assign(info.libraries, info.libraries + info.libraryCount);
  g_libraries.words.assign(info.libraryCount, 0);
}

void NotifyLibrariesShutdown() {
  for (size_t i = 0; i < g_libraries.libraries.size(); ++i) {
    const LibraryDescriptor* d = g_libraries.libraries[i];
    if (d && d->notify) d->notify(notify::Shutdown, g_libraries.words[i], 0);
  }
  g_libraries.libraries.clear();
  g_libraries.words.clear();
}

intptr_t __stdcall RuntimeRequest(int code, intptr_t arg1, intptr_t arg2) {
  switch (code) {
    case runtime_request::ProgramDirectory: return intptr_t(ThisProgram().folderText.c_str());
    case runtime_request::ProgramFileName: return intptr_t(ThisProgram().fileNameText.c_str());
    case runtime_request::Allocate:
      return intptr_t(arg2 == 0 ? AllocMemory(size_t(arg1)) : TryAllocMemory(size_t(arg1)));
    case runtime_request::Free: FreeMemory(reinterpret_cast<void*>(arg1)); return 0;
    case runtime_request::Resize: return intptr_t(ResizeMemory(reinterpret_cast<void*>(arg1), size_t(arg2)));
    case runtime_request::FatalError: ReportFatalError(reinterpret_cast<const char*>(arg1), 0);
    case runtime_request::EndProgram: EndProgram(int(arg1));
  }
  if (const WindowSystemOps* ws = GetWindowSystem()) {
    bool handled = true;
    intptr_t r = ws->request(code, arg1, arg2, &handled);
    if (handled) return r;
  }
  // Without the window system nothing is loaded.
  switch (code) {
    case runtime_request::LoadWindow: return -1;
    case runtime_request::GetLiveUnit: ReportFatalError(error_text::UnitNotLoaded, 0);
    default: return 0;
  }
}

}  // namespace lw

namespace lw {
namespace {

// Each runtime library keeps the callback entry it was handed at start.
RuntimeRequestEntry g_callbacks[library_position::Count] = {};

template <int N>
intptr_t __stdcall libraryNotify(int code, intptr_t arg1, intptr_t) {
  switch (code) {
    case notify::Start: g_callbacks[N] = reinterpret_cast<RuntimeRequestEntry>(arg1); return 0;
    case notify::Shutdown: g_callbacks[N] = nullptr; return 0;
    default: return -1;
  }
}

constexpr LibraryDescriptor makeDescriptor(LibraryNotify n) {
  LibraryDescriptor d = {};
  d.magic = kLibraryMagic;
  d.notify = n;
  return d;
}

}  // namespace

// The four libraries the program is built with, each keeping its callback entry
// in the slot of its position (runtime/core/libraries/library_positions.h).
const LibraryDescriptor kCoreLibrary = makeDescriptor(&libraryNotify<library_position::Core>);
const LibraryDescriptor kExtendedUnitsLibrary = makeDescriptor(&libraryNotify<library_position::ExtendedUnits>);
const LibraryDescriptor kListViewLibrary = makeDescriptor(&libraryNotify<library_position::ListView>);
const LibraryDescriptor kInternetLibrary = makeDescriptor(&libraryNotify<library_position::Internet>);

}  // namespace lw
