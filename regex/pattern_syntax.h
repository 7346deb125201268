// The platform component's pattern language, rewritten for PCRE2. The regex object
// matches with PCRE2 where the platform's regular-expression component cannot be
// made, and PCRE2 must then read every pattern as the component reads it: the same
// patterns refused, the same meaning for the rest. So the pattern is parsed here
// with the component's own rules, and written out again in a form of PCRE2's
// syntax that leaves PCRE2 nothing to decide: every literal is a numbered
// character, every class spelt out, every anchor an explicit assertion.
//
// The component's rules, as its documentation gives them:
// - "." is any character but "\n"; "\s" is [ \f\n\r\t\v]; "\w" [A-Za-z0-9_] and
//   "\d" [0-9], ASCII only whatever the letter-case setting; "\b" and "\B" stand
//   between "\w" and the rest.
// - "^" and "$" are the subject's start and end; multi-line, also after and
//   before "\n" or "\r".
// - "\xhh" takes exactly two hex digits and "\uhhhh" four; with fewer, the
//   letter stands for itself. "\cX" is a control character for a letter X, else a
//   plain "c". "\n", "\nm" and "\nml" are back-references when as many groups
//   open before them, else octal escapes.
// - "[]" matches nothing and "[^]" any character; "-" at a class's end is itself.
// - Groups are "(…)", "(?:…)", "(?=…)" and "(?!…)"; any other "(?" is refused.
//   A quantifier needs something before it to repeat (an assertion will not do);
//   "{" that does not make a quantifier is a literal; a bound past 65535, or a
//   minimum past the maximum, is refused.
// Where the documentation is silent, the rules of the platform's own engine hold
// ("\8" with too few groups is a backslash and an 8).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace regex {

struct TranslatedPattern {
  std::u16string pcre;  // the pattern in PCRE2's syntax, for its 16-bit library
  uint32_t groups = 0;  // capturing groups, as the component counts them
};

// The PCRE2 form of `length` UTF-16 units of a pattern; false when the component
// would refuse the pattern.
bool translatePattern(const char16_t* pattern, size_t length, bool multiline, TranslatedPattern* out);

}  // namespace regex
