#include "app/share_escape.h"

#include "app/endpoints.h"
#include "runtime/core/text/codepage.h"
#include "runtime/core/text/text_strings.h"
#include "runtime/core/values/owned_block.h"

namespace app {

namespace text = lw::text;
namespace {

// Stands for the apostrophe inside the literal, so the value cannot end it.
const char kApostropheSubstitute[] = "’";

int hexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// The value of `digits` hexadecimal digits at body[i], or -1 when they are not all there.
long hexRun(const std::u16string& body, size_t i, size_t digits) {
  if (body.size() - i < digits) return -1;
  long v = 0;
  for (size_t k = 0; k < digits; ++k) {
    int h = hexValue(body[i + k]);
    if (h < 0) return -1;
    v = v * 16 + h;
  }
  return v;
}

bool isOctal(char16_t c) { return c >= u'0' && c <= u'7'; }

bool isLineTerminator(char16_t c) { return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029; }

// escape() leaves letters, digits and these seven characters as they are.
bool staysUnescaped(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'@' ||
         c == u'*' || c == u'_' || c == u'+' || c == u'-' || c == u'.' || c == u'/';
}

const char kHexDigits[] = "0123456789ABCDEF";

}  // namespace

// The literal's rules are the script engine's (JScript 5.x): \b \f \n \r \t, \xHH
// and \uHHHH with exactly two and four hexadecimal digits, legacy octal escapes of
// up to three digits with a value of at most 0377; every other escaped character,
// \v, \8, \9 and an \x or \u without its digits included, stands for itself.
std::optional<std::u16string> scriptLiteralValue(const std::u16string& body) {
  std::u16string out;
  out.reserve(body.size());
  size_t i = 0;
  while (i < body.size()) {
    char16_t c = body[i++];
    // A quote would end the literal early and hand the rest of the value to the
    // engine as script; that statement is never run here.
    if (c == u'\'' || isLineTerminator(c)) return std::nullopt;
    if (c != u'\\') {
      out += c;
      continue;
    }
    if (i == body.size()) return std::nullopt;  // the backslash escapes the closing quote
    char16_t d = body[i++];
    long v;
    switch (d) {
      case u'b': out += u'\b'; break;
      case u'f': out += u'\f'; break;
      case u'n': out += u'\n'; break;
      case u'r': out += u'\r'; break;
      case u't': out += u'\t'; break;
      case u'x':
        if ((v = hexRun(body, i, 2)) >= 0) i += 2;
        out += v >= 0 ? char16_t(v) : u'x';
        break;
      case u'u':
        if ((v = hexRun(body, i, 4)) >= 0) i += 4;
        out += v >= 0 ? char16_t(v) : u'u';
        break;
      default:
        if (isLineTerminator(d)) return std::nullopt;
        if (isOctal(d)) {
          v = d - u'0';
          if (i < body.size() && isOctal(body[i])) {
            v = v * 8 + (body[i++] - u'0');
            if (d <= u'3' && i < body.size() && isOctal(body[i])) v = v * 8 + (body[i++] - u'0');
          }
          out += char16_t(v);
        } else {
          out += d;
        }
    }
  }
  return out;
}

std::string scriptEscape(const std::u16string& s) {
  std::string out;
  out.reserve(s.size() * 3);
  for (char16_t c : s) {
    if (staysUnescaped(c)) {
      out += char(c);
    } else if (c < 0x100) {
      out += '%';
      out += kHexDigits[c >> 4];
      out += kHexDigits[c & 0xF];
    } else {
      out += "%u";
      for (int shift = 12; shift >= 0; shift -= 4) out += kHexDigits[(c >> shift) & 0xF];
    }
  }
  return out;
}

lw::Text escapeShareValue(const char* value, bool keepBrackets, bool keepJson, const char* percentUSubstitute) {
  std::string a = text::replaceSubText(text::of(value), "'", kApostropheSubstitute);
  std::u16string wide = lw::GbkToWide(a.data(), a.size());
  std::optional<std::u16string> literal = scriptLiteralValue(wide);
  a = literal ? scriptEscape(*literal) : std::string();
  return text::toText(applyEscapeOptions(a, keepBrackets, keepJson, percentUSubstitute));
}

std::string applyEscapeOptions(std::string a, bool keepBrackets, bool keepJson, const char* percentUSubstitute) {
  if (keepBrackets) {
    static const ReplacePair kBrackets[] = {{"%7B", "{"}, {"%7D", "}"}, {"%5B", "["}, {"%5D", "]"}};
    for (const ReplacePair& p : kBrackets) a = text::replaceSubText(a, p.find, p.replacement);
  }
  if (keepJson) {
    static const ReplacePair kJson[] = {{"%3A", ":"}, {"%2C", ","}, {"%22", "\""}};
    for (const ReplacePair& p : kJson) a = text::replaceSubText(a, p.find, p.replacement);
  }
  std::string substitute = text::of(percentUSubstitute);
  if (substitute != "%u" && !text::trimSpaces(substitute).empty()) a = text::replaceSubText(a, "%u", substitute);
  return text::replaceSubText(a, kApostropheSubstitute, "'", 1, int(a.size()));
}

lw::Text replacePairs(const char* s, const ReplacePair* pairs, int pairCount, int count, int start,
                      bool caseSensitive) {
  std::string t = text::of(s);
  for (int k = 0; k < pairCount; ++k) {
    if (!pairs[k].find) continue;  // an omitted pair
    t = text::replaceSubText(t, pairs[k].find, text::of(pairs[k].replacement), start, count, caseSensitive);
  }
  return text::toText(t);
}

lw::Text qrImageAddress(const char* qrValue) {
  return text::toText(std::string("http://") + endpoints::kQrHost + "/qr.php?value=" + text::of(qrValue));
}

}  // namespace app
