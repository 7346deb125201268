// libFuzzer entry for the matcher that stands in for the platform's component:
// any pattern over any subject, with any settings, through the pattern reader,
// PCRE2, the search loop and Replace. Input: a settings byte (bit 0 letter case
// ignored, bit 1 multi-line, bit 2 every match), then the pattern, a zero byte
// and the subject; each pair of bytes is one UTF-16 unit, so lone surrogates and
// every other unit come through as they are.
#include <string>

#include "regex/pcre_matcher.h"
#include "runtime/core/values/memory.h"

namespace {

std::u16string units(const uint8_t* data, size_t size) {
  std::u16string out;
  for (size_t i = 0; i + 1 < size; i += 2) out += char16_t(data[i] | data[i + 1] << 8);
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  regex::MatchFlags flags = {(data[0] & 1) != 0, (data[0] & 2) != 0, (data[0] & 4) != 0};
  size_t split = 1;
  while (split < size && data[split] != 0) ++split;
  std::u16string pattern = units(data + 1, split - 1);
  std::u16string subject = split < size ? units(data + split + 1, size - split - 1) : std::u16string();

  regex::MatchRun* run =
      regex::runPattern(pattern.data(), pattern.size(), subject.data(), subject.size(), flags);
  if (!run) return 0;
  // Every span lies in the subject, and the matches come in order without overlap.
  int32_t end = 0;
  for (uint32_t k = 0; k < run->count; ++k) {
    const regex::MatchSpan* m = regex::matchSpans(run, k);
    if (m[0].start < end || m[0].length < 0) __builtin_trap();
    end = m[0].start + m[0].length;
    for (uint32_t g = 0; g <= run->groups; ++g) {
      if (m[g].start < 0) continue;
      if (m[g].length < 0 || size_t(m[g].start) + size_t(m[g].length) > subject.size()) __builtin_trap();
    }
  }
  if (run->count > subject.size() + 1) __builtin_trap();
  if (!flags.global && run->count > 1) __builtin_trap();
  regex::MatchRun* copy = regex::copyMatchRun(run);
  std::u16string replaced = regex::replaceMatches(copy, subject.data(), subject.size(), pattern.data(), pattern.size());
  volatile size_t n = replaced.size();
  (void)n;
  lw::FreeMemory(copy);
  lw::FreeMemory(run);
  return 0;
}
