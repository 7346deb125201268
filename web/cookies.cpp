#include "web/cookies.h"

#include <cstring>
#include <vector>

#include "runtime/core/text/text_strings.h"
#include "runtime/core/values/memory.h"

namespace web {
namespace text = lw::text;
namespace {

const char kDeletedMark[] = "=deleted";

std::string nameOf(const std::string& entry) {
  int eq = text::findText(entry, "=");
  return text::trimSpaces(eq < 0 ? entry : entry.substr(0, size_t(eq - 1)));
}

bool anyNamed(const std::vector<std::string>& entries, const std::string& name) {
  for (const std::string& e : entries)
    if (nameOf(e) == name) return true;
  return false;
}

bool isDeleted(const std::string& entry) {
  const size_t n = sizeof kDeletedMark - 1;
  return entry.size() >= n && entry.compare(entry.size() - n, n, kDeletedMark) == 0;
}

// Drops `n` bytes from the end (the last separator of a joined list).
void cutEnd(std::string& s, size_t n) { s.resize(s.size() > n ? s.size() - n : 0); }

std::string withoutRepeats(const std::string& s, const std::string& separator) {
  std::vector<std::string> seen;
  std::string result;
  for (const std::string& item : text::splitText(s, separator)) {
    bool repeated = false;
    for (const std::string& x : seen)
      if (x == item) repeated = true;
    if (repeated) continue;
    seen.push_back(item);
    result += item;
    result += separator;
  }
  cutEnd(result, separator.size());
  return result;
}

// The texts of an array block of texts (dimension count, sizes, then the text
// pointers); a block that claims more elements than can be addressed gives none.
std::vector<std::string> textsOf(const lw::ArrayBlock block) {
  std::vector<std::string> out;
  if (!block || block[0] == 0) return out;
  size_t count = 1;
  for (uint32_t d = 0; d < block[0]; ++d)
    if (!lw::checkedMul(count, block[1 + d], &count)) return out;
  const char* elems = reinterpret_cast<const char*>(block + 1 + block[0]);
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    lw::Text t;
    memcpy(&t, elems + i * sizeof t, sizeof t);  // 4-byte aligned after an odd dimension count
    out.push_back(text::of(t));
  }
  return out;
}

// Replaces a text variable's value, freeing the old block after the new one exists.
void assign(lw::Text* variable, const std::string& value) {
  lw::Text fresh = text::toText(value);
  lw::FreeMemory(*variable);
  *variable = fresh;
}

}  // namespace

std::string mergeCookieTexts(std::string& cookies, std::string& newCookies) {
  cookies = text::removeAllSpaces(cookies);
  newCookies = text::removeAllSpaces(newCookies);
  std::vector<std::string> merged = text::splitText(newCookies, ";");
  for (const std::string& item : text::splitText(cookies, ";"))
    if (!anyNamed(merged, nameOf(item))) merged.push_back(item);
  std::string joined;
  for (const std::string& item : merged) {
    if (isDeleted(item)) continue;
    joined += item;
    joined += "; ";
  }
  cutEnd(joined, 2);
  cookies = withoutRepeats(joined, "; ");
  return cookies;
}

lw::Text mergeCookies(lw::Text* cookies, lw::Text* newCookies) {
  std::string c = text::of(*cookies), n = text::of(*newCookies);
  std::string result = mergeCookieTexts(c, n);
  assign(cookies, c);
  assign(newCookies, n);
  return text::toText(result);
}

lw::Text cookieName(const char* entry) { return text::toText(nameOf(text::of(entry))); }

bool hasCookieNamed(const lw::ArrayBlock entries, const char* name) {
  return anyNamed(textsOf(entries), text::of(name));
}

lw::Text removeDuplicateItems(const char* s, const char* separator) {
  return text::toText(withoutRepeats(text::of(s), text::of(separator)));
}

int indexOfItem(const lw::ArrayBlock items, const char* item) {
  std::vector<std::string> all = textsOf(items);
  std::string wanted = text::of(item);
  for (size_t i = 0; i < all.size(); ++i)
    if (all[i] == wanted) return int(i + 1);
  return -1;
}

}  // namespace web
