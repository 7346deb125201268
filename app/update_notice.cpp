#include "app/update_notice.h"

#include <cstring>

#include "app/text_between.h"
#include "runtime/core/memory.h"
#include "runtime/core/text_commands.h"

namespace app {

const char kOwnVersion[] = "3.1";
const char kUpdateMessage[] = "修复BUG，请下载最新版！";

namespace {

// The text between two markers, without spaces at either end.
std::string trimmedBetween(const char* page, const char* left, const char* right) {
  lw::Text raw = textBetween(page, left, right);
  lw::Text trimmed = raw ? lw::text::TrimSpaces(raw, strlen(raw)) : nullptr;
  std::string out = trimmed ? trimmed : "";
  lw::FreeMemory(raw);
  lw::FreeMemory(trimmed);
  return out;
}

bool startsWithIgnoringCase(const std::string& s, const char* prefix) {
  size_t n = strlen(prefix);
  if (s.size() < n) return false;
  for (size_t i = 0; i < n; ++i) {
    char c = s[i];
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c != prefix[i]) return false;
  }
  return true;
}

}  // namespace

UpdateNotice readUpdateNotice(const char* page) {
  UpdateNotice n;
  if (!page || !*page) return n;
  n.version = trimmedBetween(page, "版本：", "#");
  if (n.version.empty() || n.version == kOwnVersion) return n;
  n.update = true;
  n.download = trimmedBetween(page, "下载地址：", "#");
  n.openDownload = startsWithIgnoringCase(n.download, "http://") || startsWithIgnoringCase(n.download, "https://");
  return n;
}

}  // namespace app
