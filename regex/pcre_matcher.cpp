// PCRE2 (16-bit code units, JIT where it compiles) driven the way the platform's
// component searches: each search starts where the last match ended, one unit
// further after an empty match, and every block PCRE2 takes comes from the
// runtime's allocator.
#include "regex/pcre_matcher.h"

#include <pcre2.h>

#include <chrono>
#include <cstring>

#include "regex/pattern_syntax.h"
#include "runtime/core/values/memory.h"

namespace regex {
namespace {

// What stops a search: PCRE2's own counters for one search, and a clock for the
// whole run, so that no pattern and no subject holds the program beyond a second.
constexpr uint32_t kMatchLimit = 10000000;
constexpr uint32_t kDepthLimit = 1000000;
constexpr uint32_t kHeapLimitKiB = 64 * 1024;
constexpr auto kRunBudget = std::chrono::seconds(1);
// The JIT's stack for one search.
constexpr size_t kJitStackBytes = 1 << 20;
// The start positions one search may try before it comes back to look at the clock.
constexpr size_t kStartsPerSearch = 1 << 16;
// PCRE2's nesting limit; the written pattern nests about three times the original.
constexpr uint32_t kParensNestLimit = 1000;

void* pcreAlloc(PCRE2_SIZE n, void*) { return lw::TryAllocMemory(n ? n : 1); }
void pcreFree(void* p, void*) { lw::FreeMemory(p); }

// Everything one run holds of PCRE2, released in reverse order on every way out.
struct Pcre {
  pcre2_general_context* general = nullptr;
  pcre2_compile_context* compile = nullptr;
  pcre2_code* code = nullptr;
  pcre2_match_context* match = nullptr;
  pcre2_jit_stack* jitStack = nullptr;
  pcre2_match_data* data = nullptr;
  ~Pcre() {
    pcre2_match_data_free(data);
    pcre2_jit_stack_free(jitStack);
    pcre2_match_context_free(match);
    pcre2_code_free(code);
    pcre2_compile_context_free(compile);
    pcre2_general_context_free(general);
  }
};

// Compiles the written pattern and sets up one search's limits. False when PCRE2
// refuses it too (a pattern past its own limits) or memory runs out.
bool prepare(Pcre* p, const std::u16string& pattern, bool ignoreCase) {
  p->general = pcre2_general_context_create(&pcreAlloc, &pcreFree, nullptr);
  if (!p->general) return false;
  p->compile = pcre2_compile_context_create(p->general);
  if (!p->compile) return false;
  pcre2_set_parens_nest_limit(p->compile, kParensNestLimit);
  // Each unit is one character, as the component sees it: no UTF-16 pairing. UCP
  // gives letter case beyond ASCII; the written pattern spells out every class, so
  // it changes nothing else.
  uint32_t options = PCRE2_NEVER_UTF | PCRE2_UCP | PCRE2_MATCH_UNSET_BACKREF | PCRE2_USE_OFFSET_LIMIT;
  if (ignoreCase) options |= PCRE2_CASELESS;
  int error = 0;
  PCRE2_SIZE errorOffset = 0;
  p->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options, &error,
                          &errorOffset, p->compile);
  if (!p->code) return false;
  pcre2_jit_compile(p->code, PCRE2_JIT_COMPLETE);  // without it the interpreter matches
  p->match = pcre2_match_context_create(p->general);
  p->data = pcre2_match_data_create_from_pattern(p->code, p->general);
  if (!p->match || !p->data) return false;
  pcre2_set_match_limit(p->match, kMatchLimit);
  pcre2_set_depth_limit(p->match, kDepthLimit);
  pcre2_set_heap_limit(p->match, kHeapLimitKiB);
  p->jitStack = pcre2_jit_stack_create(32 * 1024, kJitStackBytes, p->general);
  if (p->jitStack) pcre2_jit_stack_assign(p->match, nullptr, p->jitStack);
  return true;
}

MatchSpan* spansOf(MatchRun* run) { return reinterpret_cast<MatchSpan*>(run + 1); }
const MatchSpan* spansOf(const MatchRun* run) { return reinterpret_cast<const MatchSpan*>(run + 1); }

// The block size for `rows` rows of `groups + 1` spans; false when it overflows.
bool runBytes(uint32_t groups, size_t rows, size_t* bytes) {
  size_t perRow = 0, spans = 0;
  return lw::checkedMul(size_t(groups) + 1, sizeof(MatchSpan), &perRow) && lw::checkedMul(perRow, rows, &spans) &&
         lw::checkedAdd(spans, sizeof(MatchRun), bytes);
}

MatchRun* newRun(uint32_t groups, uint32_t capacity) {
  size_t bytes = 0;
  if (!runBytes(groups, capacity, &bytes)) return nullptr;
  auto* run = static_cast<MatchRun*>(lw::TryAllocMemory(bytes));
  if (run) *run = {groups, 0, capacity, 0};
  return run;
}

// Room for one more row, moving the run to a larger block when it is full.
bool makeRoom(MatchRun** run) {
  MatchRun* r = *run;
  if (r->count < r->capacity) return true;
  if (r->capacity > UINT32_MAX / 2) return false;
  MatchRun* bigger = newRun(r->groups, r->capacity * 2);
  if (!bigger) return false;
  size_t used = 0;
  runBytes(r->groups, r->count, &used);
  memcpy(bigger, r, used);
  bigger->capacity = r->capacity * 2;
  lw::FreeMemory(r);
  *run = bigger;
  return true;
}

int32_t spanValue(PCRE2_SIZE v) { return v == PCRE2_UNSET ? -1 : int32_t(v); }

}  // namespace

const MatchSpan* matchSpans(const MatchRun* run, uint32_t k) {
  if (!run || k >= run->count) return nullptr;
  return spansOf(run) + size_t(k) * (size_t(run->groups) + 1);
}

MatchRun* runPattern(const char16_t* pattern, size_t patternLength, const char16_t* subject, size_t subjectLength,
                     MatchFlags flags) {
  // Positions are 32-bit in the object's operations.
  if (subjectLength > size_t(INT32_MAX) - 1) return nullptr;
  TranslatedPattern written;
  if (!translatePattern(pattern, patternLength, flags.multiline, &written)) return nullptr;
  Pcre p;
  if (!prepare(&p, written.pcre, flags.ignoreCase)) return nullptr;
  const char16_t* text = subject ? subject : u"";
  auto subjectUnits = reinterpret_cast<PCRE2_SPTR>(text);

  MatchRun* run = newRun(written.groups, 16);
  if (!run) return nullptr;
  const auto deadline = std::chrono::steady_clock::now() + kRunBudget;
  size_t from = 0;
  while (from <= subjectLength) {
    if (std::chrono::steady_clock::now() > deadline) break;
    pcre2_set_offset_limit(p.match, from + kStartsPerSearch);
    int rc = pcre2_match(p.code, subjectUnits, subjectLength, from, 0, p.data, p.match);
    if (rc == PCRE2_ERROR_NOMATCH) {
      if (subjectLength - from <= kStartsPerSearch) {
        from = SIZE_MAX;  // searched to the end
        break;
      }
      from += kStartsPerSearch + 1;
      continue;
    }
    if (rc < 0 || !makeRoom(&run)) break;  // a limit, or no memory
    const PCRE2_SIZE* ov = pcre2_get_ovector_pointer(p.data);
    uint32_t pairs = pcre2_get_ovector_count(p.data);
    MatchSpan* row = spansOf(run) + size_t(run->count) * (size_t(run->groups) + 1);
    for (uint32_t g = 0; g <= run->groups; ++g) {
      int32_t start = g < pairs ? spanValue(ov[2 * g]) : -1;
      int32_t end = g < pairs ? spanValue(ov[2 * g + 1]) : -1;
      row[g] = start < 0 || end < start ? MatchSpan{-1, 0} : MatchSpan{start, end - start};
    }
    ++run->count;
    if (!flags.global) {
      from = SIZE_MAX;
      break;
    }
    size_t end = size_t(row[0].start) + size_t(row[0].length);
    from = row[0].length == 0 ? end + 1 : end;
    if (from > subjectLength) {
      from = SIZE_MAX;
      break;
    }
  }
  if (from != SIZE_MAX) {  // stopped before the end: a failed run, not a partial one
    lw::FreeMemory(run);
    return nullptr;
  }
  return run;
}

MatchRun* copyMatchRun(const MatchRun* run) {
  if (!run) return nullptr;
  MatchRun* c = newRun(run->groups, run->count ? run->count : 1);
  if (!c) return nullptr;
  size_t used = 0;
  runBytes(run->groups, run->count, &used);
  memcpy(c, run, used);
  c->capacity = run->count ? run->count : 1;
  return c;
}

std::u16string replaceMatches(const MatchRun* run, const char16_t* subject, size_t subjectLength,
                              const char16_t* replacement, size_t replacementLength) {
  std::u16string out;
  if (!subject) subjectLength = 0;
  if (!replacement) replacementLength = 0;
  size_t copied = 0;  // the subject up to here is in `out`
  uint32_t groups = run ? run->groups : 0;
  for (uint32_t k = 0; run && k < run->count; ++k) {
    const MatchSpan* m = matchSpans(run, k);
    size_t start = size_t(m[0].start), end = start + size_t(m[0].length);
    out.append(subject + copied, start - copied);
    copied = end;
    for (size_t i = 0; i < replacementLength; ++i) {
      char16_t c = replacement[i];
      char16_t next = i + 1 < replacementLength ? replacement[i + 1] : 0;
      if (c != u'$') {
        out += c;
        continue;
      }
      switch (next) {
        case u'$': out += u'$'; ++i; continue;
        case u'&': out.append(subject + start, end - start); ++i; continue;
        case u'`': out.append(subject, start); ++i; continue;
        case u'\'': out.append(subject + end, subjectLength - end); ++i; continue;
        default: break;
      }
      uint32_t group = 0;
      if (next >= u'0' && next <= u'9') {
        uint32_t one = uint32_t(next - u'0');
        char16_t third = i + 2 < replacementLength ? replacement[i + 2] : 0;
        uint32_t two = third >= u'0' && third <= u'9' ? one * 10 + uint32_t(third - u'0') : 0;
        if (third >= u'0' && third <= u'9' && two <= groups && two > 0) {
          group = two;
          i += 2;
        } else if (one > 0 && one <= groups) {
          group = one;
          i += 1;
        }
      }
      if (!group) {
        out += u'$';
        continue;
      }
      const MatchSpan& g = m[group];
      if (g.start >= 0) out.append(subject + g.start, size_t(g.length));
    }
  }
  out.append(subject + copied, subjectLength - copied);
  return out;
}

}  // namespace regex
