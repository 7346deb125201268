// The core commands that touch the platform: clipboard, cursor position and the
// wait cursor, message box and the shell (core_commands_win.cpp), and their table by name. Platform
// header: only _win.cpp files include it.
#pragma once
#include <cstddef>

#include "runtime/core/services/core_commands.h"

namespace lw::core {

void SetClipboardText(ResultRecord* r, int argc, ArgRecord* args);
void MouseX(ResultRecord* r, int argc, ArgRecord* args);
void MouseY(ResultRecord* r, int argc, ArgRecord* args);
void ShowMessageBox(ResultRecord* r, int argc, ArgRecord* args);
void OpenAddress(ResultRecord* r, int argc, ArgRecord* args);
// The wait cursor over the program's windows until the matching RestoreCursor;
// pairs nest, and the pointer of before comes back when the outermost one ends.
void ShowWaitCursor(ResultRecord* r, int argc, ArgRecord* args);
void RestoreCursor(ResultRecord* r, int argc, ArgRecord* args);

// The platform commands by name, beside kCoreCommands; the lookup gives null for
// an unknown name.
extern const CommandEntry kPlatformCommands[];
extern const size_t kPlatformCommandCount;
LibraryCommand FindPlatformCommand(const char* name);

// The address OpenAddress opens when called without one.
extern const char kDefaultAddress[];

}  // namespace lw::core
