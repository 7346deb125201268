// The update notice: at start the publisher's notice page names the current version
// and a download address; another version than this one opens the download page,
// tells the user and ends the program.
#pragma once
#include <string>

#include "app/handlers.h"

namespace app {

extern const char kOwnVersion[];      // "3.1"
extern const char kUpdateMessage[];   // "修复BUG，请下载最新版！"

// What a notice page asks for.
struct UpdateNotice {
  bool update = false;        // a version is named and it is not ours
  bool openDownload = false;  // the download address may be handed to the shell
  std::string version;        // the named version, trimmed of blanks and line breaks
  std::string download;       // the download address, trimmed the same way
};

// Reads a notice page (GBK text). A page that is empty, unreadable or names no
// version ("版本：" … "#") asks for nothing: a notice that cannot be read must not
// stop the tool. The download address is opened only when it is a web address
// ("http://" or "https://", any letter case), never a local program or file.
UpdateNotice readUpdateNotice(const char* page);

// Starts reading the notice page on a thread of its own, so that it comes while
// the start window is made. The check then takes that page; when no thread could
// be started, it reads the page itself.
void startUpdateNoticeFetch();

// The update check: takes the notice page (waiting for it if it has not come yet)
// and acts on it; returns only when the tool may go on.
void checkForUpdate();

}  // namespace app
