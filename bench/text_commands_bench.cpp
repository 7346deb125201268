// Text commands over a large GBK text, each against a byte-exact baseline built
// from the C or C++ library's substring search (memmem where the C library has it,
// std::string_view::find elsewhere) with the character-start check applied to each
// hit afterwards by walking the characters up to it.
//
// Prints the median of several runs for each, the ratio command / baseline, and
// the time of the replace and split commands at two sizes (a linear routine takes
// four times as long for four times the text).
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/core/text/text_commands.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/values.h"

namespace {

using lw::Text;

// ---- The text ----

struct Rng {
  uint64_t s;
  uint32_t next() {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return uint32_t(s >> 16);
  }
  uint32_t below(uint32_t n) { return next() % n; }
};

// A blog-like GBK text: about two thirds of the characters are two-byte (common
// Chinese characters, some with a second byte below 0x80, full-width punctuation),
// the rest ASCII words, spaces, commas and line breaks.
std::string makeText(size_t size, uint64_t seed) {
  Rng rng{seed};
  std::string s;
  s.reserve(size + 8);
  while (s.size() < size) {
    uint32_t r = rng.below(1000);
    if (r < 40) {
      s += "的";
    } else if (r < 560) {
      s += char(0xB0 + rng.below(0xD7 - 0xB0 + 1));
      s += char(0xA1 + rng.below(0xFE - 0xA1 + 1));
    } else if (r < 590) {
      s += char(0x81 + rng.below(0xA0 - 0x81 + 1));
      s += char(0x40 + rng.below(0x7E - 0x40 + 1));
    } else if (r < 630) {
      static const char* const kPunct[] = {"，", "。", "　", "：", "“", "”"};
      s += kPunct[rng.below(6)];
    } else if (r < 900) {
      static const char kWord[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789./:?=&";
      s += kWord[rng.below(sizeof kWord - 1)];
    } else if (r < 960) {
      s += ' ';
    } else if (r < 975) {
      s += ',';
    } else {
      s += "\r\n";
    }
  }
  // End on a character boundary.
  size_t i = 0, last = 0;
  while (i < size) {
    last = i;
    i += (uint8_t(s[i]) >= 0x80) ? 2 : 1;
  }
  s.resize(i <= size ? i : last);
  return s;
}

// ---- The baseline ----

size_t findBytes(std::string_view hay, std::string_view pat, size_t from) {
#if defined(__GLIBC__)
  if (from > hay.size()) return std::string_view::npos;
  const void* hit = memmem(hay.data() + from, hay.size() - from, pat.data(), pat.size());
  return hit ? size_t(static_cast<const char*>(hit) - hay.data()) : std::string_view::npos;
#else
  return hay.find(pat, from);
#endif
}

// Walks characters from `walk` (a character start) up to c; true when c is one.
inline bool walkTo(std::string_view s, size_t* walk, size_t c) {
  size_t w = *walk;
  while (w < c) w += uint8_t(s[w]) >= 0x80 && w + 1 < s.size() ? 2 : 1;
  *walk = w;
  return w == c;
}

int64_t baseFind(std::string_view s, std::string_view pat) {
  size_t walk = 0, pos = 0, c;
  while ((c = findBytes(s, pat, pos)) != std::string_view::npos) {
    if (walkTo(s, &walk, c)) return int64_t(c) + 1;
    pos = c + 1;
  }
  return -1;
}

int64_t baseFindLast(std::string_view s, std::string_view pat) {
  size_t walk = 0, pos = 0, c;
  int64_t last = -1;
  while ((c = findBytes(s, pat, pos)) != std::string_view::npos) {
    if (walkTo(s, &walk, c)) last = int64_t(c) + 1;
    pos = c + 1;
  }
  return last;
}

std::string baseReplace(std::string_view s, std::string_view pat, std::string_view rep) {
  std::string out;
  out.reserve(s.size());
  size_t walk = 0, pos = 0, prev = 0, c;
  while ((c = findBytes(s, pat, pos)) != std::string_view::npos) {
    if (walkTo(s, &walk, c)) {
      out.append(s.data() + prev, c - prev);
      out.append(rep);
      prev = pos = walk = c + pat.size();
    } else {
      pos = c + 1;
    }
  }
  out.append(s.data() + prev, s.size() - prev);
  return out;
}

std::vector<std::string> baseSplit(std::string_view s, std::string_view sep) {
  std::vector<std::string> parts;
  size_t walk = 0, pos = 0, prev = 0, c;
  while ((c = findBytes(s, sep, pos)) != std::string_view::npos) {
    if (walkTo(s, &walk, c)) {
      parts.emplace_back(s.data() + prev, c - prev);
      prev = pos = walk = c + sep.size();
    } else {
      pos = c + 1;
    }
  }
  if (prev < s.size()) parts.emplace_back(s.data() + prev, s.size() - prev);
  return parts;
}

// The byte search alone, without any character-start check: not a correct
// command (it accepts hits inside two-byte characters), only the floor under both.
int64_t rawFind(std::string_view s, std::string_view pat) {
  size_t c = findBytes(s, pat, 0);
  return c == std::string_view::npos ? -1 : int64_t(c) + 1;
}

int64_t rawFindLast(std::string_view s, std::string_view pat) {
  size_t pos = 0, c;
  int64_t last = -1;
  while ((c = findBytes(s, pat, pos)) != std::string_view::npos) last = int64_t(c) + 1, pos = c + 1;
  return last;
}

std::string rawReplace(std::string_view s, std::string_view pat, std::string_view rep) {
  std::string out;
  out.reserve(s.size());
  size_t prev = 0, c;
  while ((c = findBytes(s, pat, prev)) != std::string_view::npos) {
    out.append(s.data() + prev, c - prev);
    out.append(rep);
    prev = c + pat.size();
  }
  out.append(s.data() + prev, s.size() - prev);
  return out;
}

std::vector<std::string> rawSplit(std::string_view s, std::string_view sep) {
  std::vector<std::string> parts;
  size_t prev = 0, c;
  while ((c = findBytes(s, sep, prev)) != std::string_view::npos) {
    parts.emplace_back(s.data() + prev, c - prev);
    prev = c + sep.size();
  }
  if (prev < s.size()) parts.emplace_back(s.data() + prev, s.size() - prev);
  return parts;
}

// ---- Timing ----

double medianMs(int runs, const std::function<void()>& body) {
  std::vector<double> ms;
  for (int i = 0; i < runs; ++i) {
    auto t0 = std::chrono::steady_clock::now();
    body();
    auto t1 = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  std::sort(ms.begin(), ms.end());
  return ms[ms.size() / 2];
}

volatile int64_t g_sink;

void row(const char* name, double ours, double base, double raw) {
  printf("%-34s %9.2f ms %9.2f ms %7.2f %9.2f ms %7.2f\n", name, ours, base, ours / base, raw, ours / raw);
}

int g_failures = 0;
void check(bool ok, const char* what) {
  if (!ok) {
    printf("MISMATCH: %s\n", what);
    ++g_failures;
  }
}

}  // namespace

// The commands and the baselines give the same results before anything is timed.
void checkAgreement(const std::string& text, const std::string& needle, const std::string& de,
                    const std::string& comma, const std::string& commaOut, const std::string& line) {
  check(lw::text::FindForward(text.data(), text.size(), needle.data(), needle.size(), 0, false) == baseFind(text, needle),
        "FindText");
  check(lw::text::FindBackward(text.data(), text.size(), de.data(), de.size(), text.size(), false) ==
            baseFindLast(text, de),
        "FindTextBackward");
  {
    Text r = lw::text::Replace(text.data(), text.size(), comma.data(), comma.size(), commaOut.data(), commaOut.size(),
                               0, -1, false);
    check(baseReplace(text, comma, commaOut) == r, "ReplaceSubText");
    lw::FreeMemory(r);
    lw::ArrayBlock a = lw::text::Split(text.data(), text.size(), line.data(), line.size(), -1);
    std::vector<std::string> parts = baseSplit(text, line);
    bool same = a[1] == parts.size();
    Text* e = static_cast<Text*>(lw::ArrayElements(a));
    for (size_t i = 0; same && i < parts.size(); ++i) same = parts[i] == (e[i] ? e[i] : "");
    check(same, "SplitText");
    printf("(%zu lines)\n", parts.size());
    lw::FreeTextArray(a);
  }
}

// Linear growth: the same commands on texts of 2, 4, 8 and 16 MB, with the
// bytes-only search beside them as a routine known to be linear: a linear
// command keeps its time per byte in step with it (both pay the same cache and
// page costs as the text outgrows the caches).
void timeGrowth(const std::string& text, size_t big, int runs, const std::string& comma,
                const std::string& commaOut, const std::string& line) {
  printf("%-8s %27s %27s\n", "growth", "ReplaceSubText ns/B", "SplitText ns/B");
  printf("%-8s %13s %13s %13s %13s\n", "", "command", "bytes only", "command", "bytes only");
  for (size_t mb : {2, 4, 8, 16}) {
    if ((mb << 20) > big) break;
    std::string t = (mb << 20) == big ? text : makeText(mb << 20, 1);
    double n = double(t.size()) / 1e6;
    double r = medianMs(runs, [&] {
      lw::FreeMemory(lw::text::Replace(t.data(), t.size(), comma.data(), comma.size(), commaOut.data(),
                                       commaOut.size(), 0, -1, false));
    });
    double rr = medianMs(runs, [&] { g_sink = int64_t(rawReplace(t, comma, commaOut).size()); });
    double sp = medianMs(runs, [&] { lw::FreeTextArray(lw::text::Split(t.data(), t.size(), line.data(), line.size(), -1)); });
    double sr = medianMs(runs, [&] { g_sink = int64_t(rawSplit(t, line).size()); });
    printf("%5zu MB %13.2f %13.2f %13.2f %13.2f\n", mb, r / n, rr / n, sp / n, sr / n);
  }
}

int main(int argc, char** argv) {
#if defined(__SANITIZE_ADDRESS__)
  // The sanitizer checks the whole remaining haystack on every memmem call, which
  // makes any search loop quadratic: only a small text, and no meaningful figures.
  printf("built with the address sanitizer: a 1 MB text, figures not meaningful\n");
  const int runs = 3;
  const size_t big = 1u << 20;
#else
  const int runs = 7;
  const size_t big = 16u << 20;
#endif
  std::string text = makeText(big - 64, 1);
  const std::string needle = "目标链接";  // placed once, at the very end
  text += needle;
  const std::string de = "的", comma = "，", commaOut = ", ", line = "\r\n";

  size_t twoByte = 0, commas = 0;
  for (size_t i = 0; i < text.size(); i += uint8_t(text[i]) >= 0x80 ? 2 : 1) {
    twoByte += uint8_t(text[i]) >= 0x80;
    commas += text.compare(i, comma.size(), comma) == 0;
  }
  printf("text: %zu bytes, %.0f%% of the bytes in two-byte characters, %zu full-width commas\n", text.size(),
         100.0 * double(twoByte * 2) / double(text.size()), commas);
  char title[64];
  snprintf(title, sizeof title, "command (%zu MB, median of %d)", big >> 20, runs);
  printf("%-34s %12s %12s %7s %12s %7s\n", title, "command", "baseline", "ratio", "bytes only", "ratio");

  checkAgreement(text, needle, de, comma, commaOut, line);

  double ours, base, raw;
  ours = medianMs(runs, [&] {
    g_sink = lw::text::FindForward(text.data(), text.size(), needle.data(), needle.size(), 0, false);
  });
  base = medianMs(runs, [&] { g_sink = baseFind(text, needle); });
  raw = medianMs(runs, [&] { g_sink = rawFind(text, needle); });
  row("FindText (word at the end)", ours, base, raw);

  ours = medianMs(runs, [&] {
    g_sink = lw::text::FindBackward(text.data(), text.size(), de.data(), de.size(), text.size(), false);
  });
  base = medianMs(runs, [&] { g_sink = baseFindLast(text, de); });
  raw = medianMs(runs, [&] { g_sink = rawFindLast(text, de); });
  row("FindTextBackward (frequent char)", ours, base, raw);

  ours = medianMs(runs, [&] {
    Text r = lw::text::Replace(text.data(), text.size(), comma.data(), comma.size(), commaOut.data(), commaOut.size(),
                               0, -1, false);
    lw::FreeMemory(r);
  });
  base = medianMs(runs, [&] { g_sink = int64_t(baseReplace(text, comma, commaOut).size()); });
  raw = medianMs(runs, [&] { g_sink = int64_t(rawReplace(text, comma, commaOut).size()); });
  row("ReplaceSubText (full-width comma)", ours, base, raw);

  ours = medianMs(runs, [&] {
    lw::ArrayBlock a = lw::text::Split(text.data(), text.size(), line.data(), line.size(), -1);
    lw::FreeTextArray(a);
  });
  base = medianMs(runs, [&] { g_sink = int64_t(baseSplit(text, line).size()); });
  raw = medianMs(runs, [&] { g_sink = int64_t(rawSplit(text, line).size()); });
  row("SplitText (lines)", ours, base, raw);

  timeGrowth(text, big, runs, comma, commaOut, line);

  (void)argc;
  (void)argv;
  return g_failures ? 1 : 0;
}
