// The matcher behind the regex object where the platform's regular-expression
// component cannot be made: PCRE2 over the same UTF-16 subject, giving what the
// component gives. The pattern is read with the component's rules
// (pattern_syntax.h); the search steps through the subject as the component does,
// and Replace expands "$" forms as it does. Pure: it builds natively too.
//
// Bounded: PCRE2's match, depth and heap limits stop any one search, and a whole
// run gives up after one second. A run stopped that way is a failed run, as a
// refused pattern is: the caller sees no matches at all, never a part of them.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace regex {

struct MatchFlags {
  bool ignoreCase;
  bool multiline;
  bool global;
};

// Where a match or one of its groups lies in the subject, in UTF-16 units. A group
// that took no part has start -1 and length 0.
struct MatchSpan {
  int32_t start;
  int32_t length;
};

// The matches of one run: `count` rows of `groups + 1` spans each, the whole match
// first, then its groups in order. One block of the runtime's allocator, the spans
// following the record.
struct MatchRun {
  uint32_t groups;
  uint32_t count;
  uint32_t capacity;  // rows the block has room for
  uint32_t reserved;
};

// The spans of match `k` (0-based); null past the last match.
const MatchSpan* matchSpans(const MatchRun* run, uint32_t k);

// The matches of `pattern` in `subject`, both UTF-16 without terminator, as the
// component finds them with these settings. Null when the component would refuse
// the pattern, when a limit stops the search, or when memory runs out.
MatchRun* runPattern(const char16_t* pattern, size_t patternLength, const char16_t* subject,
                     size_t subjectLength, MatchFlags flags);
// A copy of a run (null for null); FreeMemory frees either.
MatchRun* copyMatchRun(const MatchRun* run);

// The subject with every match of the run replaced by `replacement`, in which "$&"
// is the match, "$`" the subject before it, "$'" the subject after it, "$n" and
// "$nn" (1 to 99, the longer when the pattern has that many groups) a group, and
// "$$" one "$"; any other "$" stands for itself.
std::u16string replaceMatches(const MatchRun* run, const char16_t* subject, size_t subjectLength,
                              const char16_t* replacement, size_t replacementLength);

}  // namespace regex
