// The component's pattern language read term by term and written out in PCRE2's
// syntax. Pure: no platform, no PCRE2; the output is only text.
#include "regex/pattern_syntax.h"

#include <vector>

namespace regex {
namespace {

// Nesting deeper than this is refused: the parse is recursive, and PCRE2 has a
// nesting limit of its own that the written form, with its wrapping groups, must
// stay under.
constexpr int kMaxNesting = 200;
// The largest bound a quantifier may name.
constexpr uint32_t kMaxBound = 0xFFFF;

struct Range {
  char16_t first, last;
};

// The classes behind "\d", "\w" and "\s", and the line ends of "^" and "$".
const Range kDigit[] = {{u'0', u'9'}};
const Range kWord[] = {{u'0', u'9'}, {u'A', u'Z'}, {u'_', u'_'}, {u'a', u'z'}};
const Range kSpace[] = {{u'\t', u'\r'}, {u' ', u' '}};  // \t \n \v \f \r and space

bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isOctal(char16_t c) { return c >= u'0' && c <= u'7'; }
bool isLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool isWord(char16_t c) { return isLetter(c) || isDigit(c) || c == u'_'; }
int hexValue(char16_t c) {
  if (isDigit(c)) return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

void appendChar(std::u16string& out, char16_t c) {
  static const char kHex[] = "0123456789abcdef";
  out += u"\\x{";
  bool started = false;
  for (int shift = 12; shift >= 0; shift -= 4) {
    int d = (c >> shift) & 0xF;
    if (d || started || shift == 0) {
      out += char16_t(kHex[d]);
      started = true;
    }
  }
  out += u'}';
}

void appendNumber(std::u16string& out, uint32_t n) {
  char16_t digits[10];
  int k = 0;
  do {
    digits[k++] = char16_t(u'0' + n % 10);
    n /= 10;
  } while (n);
  while (k) out += digits[--k];
}

// Ranges as the inside of a PCRE2 class.
void appendRanges(std::u16string& out, const Range* ranges, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    appendChar(out, ranges[i].first);
    if (ranges[i].last != ranges[i].first) {
      out += u'-';
      appendChar(out, ranges[i].last);
    }
  }
}

// The complement of sorted, disjoint ranges within 0..FFFF.
std::vector<Range> complement(const Range* ranges, size_t count) {
  std::vector<Range> out;
  uint32_t next = 0;
  for (size_t i = 0; i < count; ++i) {
    if (ranges[i].first > next) out.push_back({char16_t(next), char16_t(ranges[i].first - 1)});
    next = uint32_t(ranges[i].last) + 1;
  }
  if (next <= 0xFFFF) out.push_back({char16_t(next), char16_t(0xFFFF)});
  return out;
}

// One of "\d \D \w \W \s \S": its ranges, complemented for the capital letter.
std::vector<Range> classEscape(char16_t letter) {
  const Range* r = nullptr;
  size_t n = 0;
  switch (letter) {
    case u'd': case u'D': r = kDigit; n = sizeof kDigit / sizeof *kDigit; break;
    case u'w': case u'W': r = kWord; n = sizeof kWord / sizeof *kWord; break;
    default: r = kSpace; n = sizeof kSpace / sizeof *kSpace; break;
  }
  if (letter >= u'a') return std::vector<Range>(r, r + n);
  return complement(r, n);
}

bool isClassEscape(char16_t c) {
  switch (c) {
    case u'd': case u'D': case u'w': case u'W': case u's': case u'S': return true;
    default: return false;
  }
}

// A class of the ranges, or of everything else when negated. Case-exact, it ignores
// the letter-case setting: "\w" stays ASCII under IgnoreCase.
std::u16string characterSet(const std::vector<Range>& ranges, bool negated, bool caseExact) {
  std::u16string out = caseExact ? u"(?-i:[" : u"[";
  if (negated) out += u'^';
  appendRanges(out, ranges.data(), ranges.size());
  out += caseExact ? u"])" : u"]";
  return out;
}

class Parser {
 public:
  Parser(const char16_t* p, size_t n, bool multiline) : at_(p), end_(p + n), multiline_(multiline) {}

  bool run(TranslatedPattern* out) {
    if (!disjunction(0)) return false;
    if (at_ != end_) return false;  // a ")" with no group open
    out->pcre = std::move(out_);
    out->groups = groups_;
    return true;
  }

 private:
  bool more() const { return at_ < end_; }
  char16_t peek(size_t k = 0) const { return size_t(end_ - at_) > k ? at_[k] : 0; }

  bool disjunction(int depth) {
    if (depth > kMaxNesting) return false;
    for (;;) {
      while (more() && *at_ != u'|' && *at_ != u')') {
        if (!term(depth)) return false;
      }
      if (!more() || *at_ != u'|') return true;
      ++at_;
      out_ += u'|';
    }
  }

  // Reads "{n}", "{n,}" or "{n,m}" at the cursor without moving it. True when it
  // is one; the bounds then say whether either passed the largest bound.
  struct Bounds {
    uint32_t min = 0, max = 0;
    bool open = false;     // "{n,}"
    bool tooBig = false;   // a bound past kMaxBound
    size_t length = 0;     // units from "{" to "}"
  };
  bool bounds(Bounds* b) const {
    const char16_t* p = at_ + 1;
    auto number = [&](uint32_t* v) {
      *v = 0;
      for (; p < end_ && isDigit(*p); ++p) {
        if (*v <= kMaxBound) *v = *v * 10 + (*p - u'0');
        if (*v > kMaxBound) b->tooBig = true;
      }
    };
    if (p >= end_ || !isDigit(*p)) return false;
    number(&b->min);
    b->max = b->min;
    if (p < end_ && *p == u',') {
      ++p;
      if (p < end_ && isDigit(*p)) number(&b->max);
      else b->open = true;
    }
    if (p >= end_ || *p != u'}') return false;
    b->length = size_t(p - at_) + 1;
    return true;
  }

  // True when the cursor is at something that would repeat the term before it.
  bool atQuantifier() const {
    if (!more()) return false;
    if (*at_ == u'*' || *at_ == u'+' || *at_ == u'?') return true;
    Bounds b;
    return *at_ == u'{' && bounds(&b);
  }

  // After an assertion or a quantifier nothing may repeat.
  bool endOfRepeat() const { return !atQuantifier(); }

  bool assertion(const char16_t* text) {
    out_ += text;
    return endOfRepeat();
  }

  bool term(int depth) {
    char16_t c = *at_++;
    std::u16string atom;
    switch (c) {
      case u'^':
        return assertion(multiline_ ? u"(?:\\A|(?<=[\\x{a}\\x{d}]))" : u"\\A");
      case u'$':
        return assertion(multiline_ ? u"(?=[\\x{a}\\x{d}]|\\z)" : u"\\z");
      case u'\\':
        if (!more()) return false;  // a trailing backslash
        if (*at_ == u'b') {
          ++at_;
          return assertion(u"(?-i:(?<=[0-9A-Z_a-z])(?![0-9A-Z_a-z])|(?<![0-9A-Z_a-z])(?=[0-9A-Z_a-z]))");
        }
        if (*at_ == u'B') {
          ++at_;
          return assertion(u"(?-i:(?<=[0-9A-Z_a-z])(?=[0-9A-Z_a-z])|(?<![0-9A-Z_a-z])(?![0-9A-Z_a-z]))");
        }
        escape(&atom);
        break;
      case u'(':
        if (!group(depth, &atom)) return false;
        break;
      case u'[':
        if (!characterClass(&atom)) return false;
        break;
      case u'.':
        atom = u"[^\\x{a}]";
        break;
      case u'*': case u'+': case u'?':
        return false;  // nothing to repeat
      case u'{': {
        --at_;
        bool quantifier = atQuantifier();
        ++at_;
        if (quantifier) return false;
        appendChar(atom, c);
        break;
      }
      default:
        appendChar(atom, c);
        break;
    }
    return quantified(atom);
  }

  // The atom with the quantifier that follows it, if any.
  bool quantified(const std::u16string& atom) {
    if (!atQuantifier()) {
      out_ += atom;
      return true;
    }
    out_ += u"(?:";
    out_ += atom;
    out_ += u')';
    char16_t q = *at_;
    if (q == u'{') {
      Bounds b;
      bounds(&b);
      if (b.tooBig || (!b.open && b.min > b.max)) return false;
      at_ += b.length;
      out_ += u'{';
      appendNumber(out_, b.min);
      if (b.open || b.max != b.min) {
        out_ += u',';
        if (!b.open) appendNumber(out_, b.max);
      }
      out_ += u'}';
    } else {
      ++at_;
      out_ += q;
    }
    if (more() && *at_ == u'?') {
      ++at_;
      out_ += u'?';
    }
    return endOfRepeat();
  }

  bool group(int depth, std::u16string* atom) {
    const char16_t* open = u"(";
    if (peek() == u'?') {
      switch (peek(1)) {
        case u':': open = u"(?:"; break;
        case u'=': open = u"(?="; break;
        case u'!': open = u"(?!"; break;
        default: return false;  // "?" would repeat nothing
      }
      at_ += 2;
    } else {
      ++groups_;
    }
    std::u16string outer;
    outer.swap(out_);
    out_ = open;
    if (!disjunction(depth + 1) || !more()) return false;  // unclosed
    ++at_;  // ")"
    out_ += u')';
    atom->swap(out_);
    out_.swap(outer);
    return true;
  }

  // An escape outside a class (not "\b" or "\B"), the backslash read.
  void escape(std::u16string* atom) {
    char16_t c = *at_++;
    switch (c) {
      case u'f': appendChar(*atom, u'\f'); return;
      case u'n': appendChar(*atom, u'\n'); return;
      case u'r': appendChar(*atom, u'\r'); return;
      case u't': appendChar(*atom, u'\t'); return;
      case u'v': appendChar(*atom, u'\v'); return;
      case u'c':
        // A control letter; anything else leaves a plain "c".
        if (more() && isLetter(*at_)) appendChar(*atom, char16_t(*at_++ & 0x1F));
        else appendChar(*atom, u'c');
        return;
      case u'x': case u'u':
        appendChar(*atom, hexEscape(c, c == u'x' ? 2 : 4));
        return;
      case u'0':
        appendChar(*atom, octal(0));
        return;
      default:
        break;
    }
    if (isDigit(c)) {
      decimalEscape(c, atom);
    } else if (isClassEscape(c)) {
      *atom += characterSet(classEscape(c), false, true);
    } else {
      appendChar(*atom, c);
    }
  }

  // The digits after "\x" or "\u", the letter read. Without them the letter is
  // itself; digits cut short by the pattern's end give what they make.
  char16_t hexEscape(char16_t letter, int digits) {
    uint32_t value = 0;
    for (int i = 0; i < digits && more(); ++i) {
      int d = hexValue(*at_);
      if (d < 0) {
        at_ -= i;
        return letter;
      }
      value = (value << 4) | uint32_t(d);
      ++at_;
    }
    return char16_t(value);
  }

  // An octal escape's further digits, its value so far given; at most 0377.
  char16_t octal(uint32_t value) {
    while (more() && isOctal(*at_)) {
      uint32_t next = value * 8 + uint32_t(*at_ - u'0');
      if (next > 0377) break;
      value = next;
      ++at_;
    }
    return char16_t(value);
  }

  // "\n", "\nm" and longer, the first digit read: the longest back-reference to a
  // group opened before it, else an octal escape, else a backslash and the digit.
  void decimalEscape(char16_t first, std::u16string* atom) {
    const char16_t* digits = at_ - 1;
    uint32_t whole = 0;
    const char16_t* p = digits;
    for (; p < end_ && isDigit(*p) && whole <= 0xFFFF; ++p) whole = whole * 10 + uint32_t(*p - u'0');
    uint32_t two = p - digits >= 2 ? uint32_t(digits[0] - u'0') * 10 + uint32_t(digits[1] - u'0') : 0;
    uint32_t one = uint32_t(first - u'0');
    uint32_t reference = 0;
    if (whole <= groups_) {
      reference = whole;
      at_ = p;
    } else if (two && two <= groups_) {
      reference = two;
      at_ = digits + 2;
    } else if (one <= groups_) {
      reference = one;
    }
    if (reference) {
      *atom += u"\\g{";
      appendNumber(*atom, reference);
      *atom += u'}';
    } else if (isOctal(first)) {
      appendChar(*atom, octal(one));
    } else {
      at_ = digits;  // the digit is read again as a term of its own
      appendChar(*atom, u'\\');
    }
  }

  // "[…]", the "[" read: its members, escapes and ranges as the component reads
  // them. The letter-case setting applies to the literal members only, as it does
  // in the component; "\w" and its kin keep to ASCII.
  bool characterClass(std::u16string* atom) {
    const char16_t* start = at_;
    while (at_ < end_ && *at_ != u']') {
      if (*at_ == u'\\' && at_ + 1 < end_) ++at_;
      ++at_;
    }
    if (at_ >= end_) return false;  // unclosed
    const char16_t* src = start;
    const char16_t* end = at_++;
    bool negated = src < end && *src == u'^';
    if (negated) ++src;
    if (start == end) {  // "[]"
      *atom = u"(?!)";
      return true;
    }

    std::vector<Range> literal, exact;
    bool inRange = false;
    char16_t rangeStart = 0;
    while (src != end) {
      char16_t ch = *src++;
      if (ch == u'\\') {
        char16_t e = *src++;
        switch (e) {
          case u'b': ch = 0x08; break;
          case u'f': ch = u'\f'; break;
          case u'n': ch = u'\n'; break;
          case u'r': ch = u'\r'; break;
          case u't': ch = u'\t'; break;
          case u'v': ch = u'\v'; break;
          case u'c':
            if (src < end && isWord(*src)) {
              ch = char16_t(*src++ & 0x1F);
            } else {
              --src;
              ch = u'\\';
            }
            break;
          case u'x': case u'u': {
            // Without its digits the backslash stands for itself, and reading
            // goes on after the letter; digits cut short by the class's end give
            // what they make.
            int digits = e == u'x' ? 2 : 4;
            uint32_t value = 0;
            for (int i = 0; i < digits && src < end; ++i) {
              int d = hexValue(*src++);
              if (d < 0) {
                src -= i + 1;
                value = u'\\';
                break;
              }
              value = (value << 4) | uint32_t(d);
            }
            ch = char16_t(value);
            break;
          }
          default:
            if (isOctal(e)) {
              uint32_t value = uint32_t(e - u'0');
              if (src < end && isOctal(*src)) {
                value = value * 8 + uint32_t(*src++ - u'0');
                if (src < end && isOctal(*src) && value * 8 + uint32_t(*src - u'0') <= 0377)
                  value = value * 8 + uint32_t(*src++ - u'0');
              }
              ch = char16_t(value);
            } else if (isClassEscape(e)) {
              std::vector<Range> r = classEscape(e);
              exact.insert(exact.end(), r.begin(), r.end());
              continue;  // a set never starts or ends a range
            } else {
              ch = e;
            }
            break;
        }
      }
      if (inRange) {
        if (rangeStart > ch) return false;  // out of order
        literal.push_back({rangeStart, ch});
        inRange = false;
      } else {
        literal.push_back({ch, ch});
        if (end - src >= 2 && *src == u'-') {
          ++src;
          inRange = true;
          rangeStart = ch;
        }
      }
    }

    if (literal.empty() && exact.empty()) {  // "[^]"
      *atom = u"[\\x{0}-\\x{ffff}]";
      return true;
    }
    // The literal members follow the letter-case setting, the class escapes do not;
    // where a class has both, the two parts are joined (or, negated, both kept out).
    if (exact.empty()) {
      *atom = characterSet(literal, negated, false);
    } else if (literal.empty()) {
      *atom = characterSet(exact, negated, true);
    } else if (negated) {
      *atom = u"(?!" + characterSet(exact, false, true) + u')' + characterSet(literal, true, false);
    } else {
      *atom = u"(?:" + characterSet(exact, false, true) + u'|' + characterSet(literal, false, false) + u')';
    }
    return true;
  }

  const char16_t* at_;
  const char16_t* end_;
  bool multiline_;
  uint32_t groups_ = 0;
  std::u16string out_;
};

}  // namespace

bool translatePattern(const char16_t* pattern, size_t length, bool multiline, TranslatedPattern* out) {
  if (!pattern) length = 0;
  Parser parser(pattern ? pattern : u"", length, multiline);
  return parser.run(out);
}

}  // namespace regex
