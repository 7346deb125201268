#include "app/text_between.h"

#include <cstring>

#include "runtime/core/memory.h"

namespace app {

const char kQuotePlaceholder[] = "#引号";

namespace text {
namespace {

inline bool isLead(char c) { return static_cast<unsigned char>(c) >= 0x80; }

inline char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c; }

bool matchesAt(const std::string& s, size_t i, const std::string& what, bool ignoreCase) {
  if (!ignoreCase) return s.compare(i, what.size(), what) == 0;
  for (size_t k = 0; k < what.size(); ++k)
    if (lowerAscii(s[i + k]) != lowerAscii(what[k])) return false;
  return true;
}

// Length of the character starting at i, or 0 for a first byte that ends the text.
inline size_t charLength(const std::string& s, size_t i) {
  if (!isLead(s[i])) return 1;
  return i + 1 < s.size() ? 2 : 0;
}

// Length of the space starting at i (0x20 or A1 A1), or 0 when it is no space.
inline size_t spaceLength(const std::string& s, size_t i) {
  if (s[i] == ' ') return 1;
  if (static_cast<unsigned char>(s[i]) == 0xA1 && i + 1 < s.size() && static_cast<unsigned char>(s[i + 1]) == 0xA1)
    return 2;
  return 0;
}

}  // namespace

int findText(const std::string& s, const std::string& what, int start, bool ignoreCase) {
  size_t len = s.size();
  size_t b = start > 1 ? size_t(start) - 1 : 0;
  if (b >= len) return -1;
  if (what.empty()) return 1;
  for (size_t i = b; i < len && len - i >= what.size();) {
    size_t n = charLength(s, i);
    if (n == 0) break;
    if (matchesAt(s, i, what, ignoreCase)) return int(i + 1);
    i += n;
  }
  return -1;
}

std::string replaceSubText(const std::string& s, const std::string& what, const std::string& with, int start,
                           int count, bool caseSensitive) {
  size_t b = start > 1 ? size_t(start) - 1 : 0;
  if (s.empty() || what.empty() || b >= s.size() || count == 0) return s;
  std::string out(s, 0, b);
  size_t i = b;
  while (s.size() - i >= what.size()) {
    size_t n = charLength(s, i);
    if (n == 0) {  // a first byte without its second ends the walk and is dropped
      i = s.size();
      break;
    }
    if (matchesAt(s, i, what, !caseSensitive)) {
      out += with;
      i += what.size();
      if (count > 0 && --count == 0) break;
    } else {
      out.append(s, i, n);
      i += n;
    }
  }
  out.append(s, i, std::string::npos);
  return out;
}

std::vector<std::string> splitText(const std::string& s, const std::string& separator) {
  std::vector<std::string> items;
  if (s.empty()) return items;
  if (separator.empty()) {
    items.push_back(s);
    return items;
  }
  size_t cut = 0, i = 0;
  while (i < s.size()) {
    size_t n = charLength(s, i);
    if (n == 0) break;
    if (s.size() - i >= separator.size() && s.compare(i, separator.size(), separator) == 0) {
      items.emplace_back(s, cut, i - cut);
      i += separator.size();
      cut = i;
    } else {
      i += n;
    }
  }
  if (cut < s.size()) items.emplace_back(s, cut, std::string::npos);
  return items;
}

std::string trimSpaces(const std::string& s) {
  size_t i = 0;
  while (i < s.size()) {
    size_t sp = spaceLength(s, i);
    if (sp == 0) break;
    i += sp;
  }
  size_t begin = i, end = i;
  while (i < s.size()) {
    size_t n = charLength(s, i);
    if (n == 0) break;
    bool space = spaceLength(s, i) != 0;
    i += n;
    if (!space) end = i;
  }
  return s.substr(begin, end - begin);
}

std::string removeAllSpaces(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size();) {
    size_t n = charLength(s, i);
    if (n == 0) break;
    if (spaceLength(s, i) == 0) out.append(s, i, n);
    i += n;
  }
  return out;
}

std::string toLowerCase(const std::string& s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    size_t n = charLength(s, i);
    if (n == 0) break;
    if (n == 1)
      out += lowerAscii(s[i]);
    else
      out.append(s, i, 2);
    i += n;
  }
  return out;
}

std::string between(const std::string& s, const std::string& left, const std::string& right, int start,
                    bool ignoreCase) {
  std::string l = replaceSubText(left, kQuotePlaceholder, "\"");
  std::string r = replaceSubText(right, kQuotePlaceholder, "\"");
  int p = findText(s, l, start, ignoreCase);
  if (p < 0) return std::string();
  long long from = (long long)p + (long long)l.size();  // first byte after the left marker
  if (from > (long long)s.size()) return std::string();
  int q = findText(s, r, int(from), ignoreCase);
  if (q < 0 || q <= from) return std::string();
  return s.substr(size_t(from - 1), size_t(q - from));
}

lw::Text toText(const std::string& s) {
  if (s.empty()) return nullptr;
  lw::Text t = static_cast<lw::Text>(lw::AllocMemory(s.size() + 1));
  memcpy(t, s.c_str(), s.size() + 1);
  return t;
}

}  // namespace text

lw::Text textBetween(const char* s, const char* left, const char* right, int start, bool ignoreCase) {
  return text::toText(text::between(text::of(s), text::of(left), text::of(right), start, ignoreCase));
}

}  // namespace app
