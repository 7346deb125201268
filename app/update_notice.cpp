#include "app/update_notice.h"

#include <cstring>

#include "runtime/core/text/text_commands.h"
#include "runtime/core/text/text_strings.h"
#include "runtime/core/values/owned_block.h"

namespace app {

namespace text = lw::text;

const char kOwnVersion[] = "3.1";
const char kUpdateMessage[] = "修复BUG，请下载最新版！";

namespace {

// Line breaks and tabs a publisher's editor leaves around a value, beside the
// spaces TrimSpaces removes. All are ASCII, so none is the trail byte of a
// double-byte character.
bool isLineBlank(char c) { return c == '\r' || c == '\n' || c == '\t'; }

// The text between two markers, without spaces (ASCII or full-width), tabs or line
// breaks at either end, in any mix: "版本：3.1\r\n#" names version 3.1.
std::string trimmedBetween(const char* page, const char* left, const char* right) {
  lw::OwnedText raw(text::textBetween(page, left, right));
  std::string out = raw ? raw.get() : "";
  for (size_t before = out.size() + 1; out.size() != before;) {
    before = out.size();
    lw::OwnedText trimmed(lw::text::TrimSpaces(out.data(), out.size()));
    out = trimmed ? trimmed.get() : "";
    size_t first = 0, last = out.size();
    while (first < last && isLineBlank(out[first])) ++first;
    while (last > first && isLineBlank(out[last - 1])) --last;
    out = out.substr(first, last - first);
  }
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
