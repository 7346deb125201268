#include "runtime/core/text/text_commands.h"

#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/core/text/gbk_full_width.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/values.h"

namespace lw::text {
namespace {

constexpr size_t kNone = SIZE_MAX;

inline const uint8_t* bytes(const char* p) { return reinterpret_cast<const uint8_t*>(p); }

inline uint8_t foldLetter(uint8_t b) { return (b >= 'A' && b <= 'Z') ? uint8_t(b + 32) : b; }

bool equalIgnoringLetterCase(const uint8_t* a, const uint8_t* b, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (foldLetter(a[i]) != foldLetter(b[i])) return false;
  return true;
}

// Whether pat matches in full at byte offset c of s.
inline bool matchesAt(const uint8_t* s, size_t c, const uint8_t* pat, size_t plen, bool ignoreCase) {
  return ignoreCase ? equalIgnoringLetterCase(s + c, pat, plen) : memcmp(s + c, pat, plen) == 0;
}

// First byte offset in [from, end) where pat matches in full, ignoring character
// starts; kNone when there is none.
size_t findBytes(const char* s, size_t from, size_t end, const char* pat, size_t plen, bool ignoreCase) {
  if (from > end || end - from < plen) return kNone;
  if (!ignoreCase) {
#if defined(__GLIBC__)
    const void* hit = memmem(s + from, end - from, pat, plen);
    return hit ? size_t(static_cast<const char*>(hit) - s) : kNone;
#else
    size_t hit = std::string_view(s + from, end - from).find(std::string_view(pat, plen));
    return hit == std::string_view::npos ? kNone : from + hit;
#endif
  }
  for (size_t i = from, last = end - plen; i <= last; ++i)
    if (matchesAt(bytes(s), i, bytes(pat), plen, true)) return i;
  return kNone;
}

// Whether offset c starts a character of a walk known to pass through offset k
// (k <= c). The byte after any byte below 0x80 starts a character, and from there
// on the bytes of 0x80 and more pair up; so only the run of such bytes just before
// c, bounded by k, needs looking at. Callers move k forward past every position
// they have looked at, which keeps a whole search linear.
inline bool isCharStart(const uint8_t* s, size_t k, size_t c) {
  size_t i = c;
  while (i > k && IsLeadByte(s[i - 1])) --i;
  return ((c - i) & 1) == 0;
}

// Walks text[from, end) and hands each match at a character start to `onMatch`,
// which returns where the walk resumes: after the match (a character start by the
// walk's own rule), the match itself to go on looking from the byte after it (so
// matches may overlap), or kNone to stop. Returns the offset where the walk stopped
// looking.
template <class OnMatch>
size_t walkMatches(const char* s, size_t from, size_t end, const char* pat, size_t plen, bool ignoreCase,
                   OnMatch onMatch) {
  const uint8_t* u = bytes(s);
  size_t known = from, pos = from;
  for (;;) {
    size_t c = findBytes(s, pos, end, pat, plen, ignoreCase);
    if (c == kNone) return end;
    if (isCharStart(u, known, c)) {
      size_t next = onMatch(c);
      if (next == kNone) return c;
      known = next;
      pos = next == c ? c + 1 : next;
    } else {
      // c is the second byte of a character, so c + 1 starts the next one.
      known = pos = c + 1;
    }
  }
}

bool isSpaceAt(const uint8_t* s, size_t i, size_t len, size_t* width) {
  if (s[i] == 0x20) {
    *width = 1;
    return true;
  }
  if (i + 1 < len && gbk::IsFullWidthSpace(s[i], s[i + 1])) {
    *width = 2;
    return true;
  }
  return false;
}

// Width of the character at i: 2 for a first byte with a byte after it, else 1.
inline size_t charWidth(const uint8_t* s, size_t i, size_t len) {
  return (IsLeadByte(s[i]) && i + 1 < len) ? 2 : 1;
}

}  // namespace

int64_t FindForward(const char* text, size_t len, const char* pat, size_t plen, size_t from, bool ignoreCase) {
  if (from >= len) return -1;
  if (plen == 0) return 1;
  int64_t found = -1;
  walkMatches(text, from, len, pat, plen, ignoreCase, [&](size_t c) {
    found = int64_t(c) + 1;
    return kNone;
  });
  return found;
}

int64_t FindBackward(const char* text, size_t len, const char* pat, size_t plen, size_t limit, bool ignoreCase) {
  size_t end = limit < len ? limit : len;
  if (end == 0) return -1;
  if (plen == 0) return 1;
  if (!IsLeadByte(bytes(pat)[0])) {
    // A pattern that starts below 0x80 is looked for from the end back, so a match
    // near the end of a long text is found without walking the text. Such a byte
    // never lies inside a run of bytes of 0x80 and more, so the runs that the
    // character-start checks of two candidates look back over never overlap: the
    // search stays linear however far back the match lies.
    if (end < plen) return -1;
    for (size_t c = end - plen + 1; c-- > 0;)
      if (matchesAt(bytes(text), c, bytes(pat), plen, ignoreCase) && isCharStart(bytes(text), 0, c))
        return int64_t(c) + 1;
    return -1;
  }
  int64_t found = -1;
  walkMatches(text, 0, end, pat, plen, ignoreCase, [&](size_t c) {
    found = int64_t(c) + 1;
    return c;  // the walk goes on from this character start: matches may overlap
  });
  return found;
}

Text Replace(const char* text, size_t len, const char* pat, size_t plen, const char* rep, size_t rlen, size_t from,
             int64_t count, bool ignoreCase) {
  if (len == 0 || plen == 0 || from >= len || count == 0) return MakeText(text, len);
  // First the matches, then one block of the exact size.
  std::vector<size_t> hits;
  size_t resume = walkMatches(text, from, len, pat, plen, ignoreCase, [&](size_t c) {
    hits.push_back(c);
    if (count > 0 && --count == 0) return kNone;
    return c + plen;
  });
  size_t keep = len;
  if (resume == len && plen == 1) {
    // The walk went on to the end; a first byte standing alone there ends it and is
    // dropped (unless it was replaced itself).
    size_t lastEnd = hits.empty() ? from : hits.back() + plen;
    if (lastEnd < len && IsLeadByte(bytes(text)[len - 1]) && isCharStart(bytes(text), lastEnd, len - 1)) keep = len - 1;
  }
  if (hits.empty()) return MakeText(text, keep);
  size_t removed = hits.size() * plen, added = 0, total = 0;
  if (!checkedMul(hits.size(), rlen, &added) || !checkedAdd(keep - removed, added, &total))
    ReportUnaddressableSize();
  if (total == 0) return nullptr;
  char* out = static_cast<char*>(AllocMemory(total + 1));
  char* w = out;
  size_t prev = 0;
  for (size_t c : hits) {
    memcpy(w, text + prev, c - prev);
    w += c - prev;
    if (rlen) memcpy(w, rep, rlen);
    w += rlen;
    prev = c + plen;
  }
  memcpy(w, text + prev, keep - prev);
  w += keep - prev;
  *w = 0;
  return out;
}

ArrayBlock Split(const char* text, size_t len, const char* sep, size_t slen, int64_t maximum) {
  std::vector<std::pair<size_t, size_t>> parts;  // offset, length
  if (len > 0 && maximum != 0) {
    if (slen == 0) {
      parts.emplace_back(0, len);
    } else {
      size_t prev = 0;
      bool usedUp = false;
      walkMatches(text, 0, len, sep, slen, false, [&](size_t c) {
        parts.emplace_back(prev, c - prev);
        prev = c + slen;
        if (maximum > 0 && --maximum == 0) {
          usedUp = true;
          return kNone;
        }
        return prev;
      });
      if (!usedUp && prev < len) parts.emplace_back(prev, len - prev);
    }
  }
  ArrayBlock block = MakeArray(parts.size(), sizeof(Text));
  Text* elems = static_cast<Text*>(ArrayElements(block));
  for (size_t i = 0; i < parts.size(); ++i) elems[i] = MakeText(text + parts[i].first, parts[i].second);
  return block;
}

Text ToLower(const char* text, size_t len) {
  Text out = MakeText(text, len);
  if (!out) return nullptr;
  uint8_t* s = reinterpret_cast<uint8_t*>(out);
  for (size_t i = 0; i < len;) {
    if (IsLeadByte(s[i])) {
      i += 2;
      continue;
    }
    if (s[i] >= 'A' && s[i] <= 'Z') s[i] = uint8_t(s[i] + 32);
    ++i;
  }
  return out;
}

Text TrimSpaces(const char* text, size_t len) {
  const uint8_t* s = bytes(text);
  size_t i = 0, w = 0;
  while (i < len && isSpaceAt(s, i, len, &w)) i += w;
  size_t start = i, end = i;
  while (i < len) {
    if (isSpaceAt(s, i, len, &w)) {
      i += w;
    } else {
      i += charWidth(s, i, len);
      end = i;
    }
  }
  return MakeText(text + start, end - start);
}

Text RemoveAllSpaces(const char* text, size_t len) {
  const uint8_t* s = bytes(text);
  std::string kept;
  kept.reserve(len);
  size_t w = 0;
  for (size_t i = 0; i < len; i += w)
    if (!isSpaceAt(s, i, len, &w)) {
      w = charWidth(s, i, len);
      kept.append(text + i, w);
    }
  return MakeText(kept.data(), kept.size());
}

std::string FullWidthToHalfWidth(const char* text, size_t len) {
  const uint8_t* s = bytes(text);
  std::string out;
  out.reserve(len);
  for (size_t i = 0; i < len;) {
    size_t w = charWidth(s, i, len);
    if (w == 2) {
      if (char half = gbk::HalfWidthOf(s[i], s[i + 1])) {
        out += half;
        i += 2;
        continue;
      }
    }
    out.append(text + i, w);
    i += w;
  }
  return out;
}

int32_t ParseInteger(const char* text, size_t len) {
  size_t i = 0;
  while (i < len && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < len && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int64_t v = 0;
  for (; i < len && text[i] >= '0' && text[i] <= '9'; ++i) {
    v = v * 10 + (text[i] - '0');
    if (v > int64_t(INT32_MAX) + 1) v = int64_t(INT32_MAX) + 1;  // saturated; keeps reading digits
  }
  if (negative) return v > int64_t(INT32_MAX) ? INT32_MIN : int32_t(-v);
  return v > INT32_MAX ? INT32_MAX : int32_t(v);
}

int32_t TextToInteger(const char* text, size_t len) {
  std::string half = FullWidthToHalfWidth(text, len);
  return ParseInteger(half.data(), half.size());
}

}  // namespace lw::text
