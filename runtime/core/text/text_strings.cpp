#include "runtime/core/text/text_strings.h"

#include <cstring>

#include "runtime/core/text/text_commands.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/values.h"

namespace lw::text {

const char kQuotePlaceholder[] = "#引号";

namespace {

// A result block of the text algorithms as a string; the block is freed.
std::string taken(lw::Text t) {
  std::string out = t ? t : "";
  lw::FreeMemory(t);
  return out;
}

}  // namespace

// These wrap the text algorithms of text_commands.h (one implementation of the
// double-byte rule for the whole program) for work on std::string.

int findText(const std::string& s, const std::string& what, int start, bool ignoreCase) {
  size_t b = start > 1 ? size_t(start) - 1 : 0;
  if (b >= s.size()) return -1;
  return int(FindForward(s.data(), s.size(), what.data(), what.size(), b, ignoreCase));
}

std::string replaceSubText(const std::string& s, const std::string& what, const std::string& with, int start, int count,
                           bool caseSensitive) {
  size_t b = start > 1 ? size_t(start) - 1 : 0;
  return taken(
      Replace(s.data(), s.size(), what.data(), what.size(), with.data(), with.size(), b, count, !caseSensitive));
}

std::vector<std::string> splitText(const std::string& s, const std::string& separator) {
  std::vector<std::string> items;
  lw::ArrayBlock parts = Split(s.data(), s.size(), separator.data(), separator.size(), -1);
  size_t n = 0;
  lw::ArrayElementCount(parts, &n);
  auto* texts = static_cast<lw::Text*>(lw::ArrayElements(parts));
  for (size_t i = 0; i < n; ++i) items.emplace_back(texts[i] ? texts[i] : "");
  lw::FreeTextArray(parts);
  return items;
}

std::string trimSpaces(const std::string& s) { return taken(TrimSpaces(s.data(), s.size())); }
std::string removeAllSpaces(const std::string& s) { return taken(RemoveAllSpaces(s.data(), s.size())); }
std::string toLowerCase(const std::string& s) { return taken(ToLower(s.data(), s.size())); }

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

lw::Text toText(const std::string& s) { return lw::MakeText(s.data(), s.size()); }

lw::Text textBetween(const char* s, const char* left, const char* right, int start, bool ignoreCase) {
  return toText(between(of(s), of(left), of(right), start, ignoreCase));
}

}  // namespace lw::text
