#!/usr/bin/env python3
"""Writes escape_corpus.h: share values and what the platform's script control
answers for "function xx(){var x='<value>';return escape(x);}" followed by a call
of xx, after the apostrophe substitution.

The expectations come from this file's own model of the script engine, written
apart from the program's C++ so the two check each other; the oracle test later
compares both against the real component. Two engines are modelled:

- the system's JScript 5.x: a line break in the value leaves the literal
  unterminated (the statement is rejected, the answer is empty); \\xHH and \\uHHHH
  need all their digits, else the letter stands for itself; legacy octal escapes
  take up to three digits with a value of at most 0377; \\v, \\8, \\9 stand for
  the letter or digit;
- Wine's jscript, where it answers differently: line breaks are allowed in the
  literal, an \\x or \\u without its digits rejects the statement, an octal escape
  takes up to three decimal digits (8 and 9 included) read in base 8, and
  escape() stops at the first U+0000.

Run: python3 tests/data/escape_corpus.py > tests/data/escape_corpus.h
"""

APOSTROPHE_SUBSTITUTE = "\u2019".encode("gbk")  # A1 AF


def replace_sub_text(data, what, with_):
    """The core command's replacement with the double-byte walk (exact case)."""
    out = bytearray()
    i = 0
    while len(data) - i >= len(what):
        lead = data[i] >= 0x80
        if lead and i + 1 >= len(data):
            return bytes(out)  # a first byte without its second is dropped
        if data[i:i + len(what)] == what:
            out += with_
            i += len(what)
        else:
            n = 2 if lead else 1
            out += data[i:i + n]
            i += n
    return bytes(out + data[i:])


HEX = "0123456789abcdefABCDEF"


def literal_system(body):
    out = []
    i = 0
    while i < len(body):
        c = body[i]
        i += 1
        if c == "'" or c in "\r\n\u2028\u2029":
            return None
        if c != "\\":
            out.append(c)
            continue
        if i == len(body):
            return None
        d = body[i]
        i += 1
        simple = {"b": "\b", "f": "\f", "n": "\n", "r": "\r", "t": "\t"}
        if d in simple:
            out.append(simple[d])
        elif d == "x":
            if len(body) - i >= 2 and all(h in HEX for h in body[i:i + 2]):
                out.append(chr(int(body[i:i + 2], 16)))
                i += 2
            else:
                out.append("x")
        elif d == "u":
            if len(body) - i >= 4 and all(h in HEX for h in body[i:i + 4]):
                out.append(chr(int(body[i:i + 4], 16)))
                i += 4
            else:
                out.append("u")
        elif d in "\r\n\u2028\u2029":
            return None
        elif d in "01234567":
            v = int(d)
            if i < len(body) and body[i] in "01234567":
                v = v * 8 + int(body[i])
                i += 1
                if d in "0123" and i < len(body) and body[i] in "01234567":
                    v = v * 8 + int(body[i])
                    i += 1
            out.append(chr(v))
        else:
            out.append(d)
    return "".join(out)


def literal_wine(body):
    # The literal ends at the first apostrophe not preceded by a backslash.
    i = 0
    while i < len(body):
        if body[i] == "'":
            return None
        i += 2 if body[i] == "\\" else 1
    if i > len(body):
        return None  # the last backslash took the closing quote
    out = []
    i = 0
    while i < len(body):
        c = body[i]
        i += 1
        if c != "\\":
            out.append(c)
            continue
        d = body[i]
        i += 1
        simple = {"'": "'", '"': '"', "\\": "\\", "b": "\b", "t": "\t", "n": "\n", "f": "\f", "r": "\r"}
        if d in simple:
            out.append(simple[d])
        elif d == "x":
            if len(body) - i < 2 or not all(h in HEX for h in body[i:i + 2]):
                return None
            out.append(chr(int(body[i:i + 2], 16)))
            i += 2
        elif d == "u":
            if len(body) - i < 4 or not all(h in HEX for h in body[i:i + 4]):
                return None
            out.append(chr(int(body[i:i + 4], 16)))
            i += 4
        elif d.isdigit() and d in "0123456789":
            v = int(d)
            if i < len(body) and body[i] in "0123456789":
                v = v * 8 + int(body[i])
                i += 1
                if i < len(body) and body[i] in "0123456789":
                    v = v * 8 + int(body[i])
                    i += 1
            out.append(chr(v & 0xFFFF))
        else:
            out.append(d)
    return "".join(out)


UNESCAPED = set("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789@*_+-./")


def escape(s, stop_at_nul=False):
    out = []
    for c in s:
        o = ord(c)
        if stop_at_nul and o == 0:
            break
        if c in UNESCAPED:
            out.append(c)
        elif o < 0x100:
            out.append("%%%02X" % o)
        else:
            out.append("%%u%04X" % o)
    return "".join(out)


def engine_answers(value):
    a = replace_sub_text(value, b"'", APOSTROPHE_SUBSTITUTE)
    body = a.decode("gbk")
    system = literal_system(body)
    wine = literal_wine(body)
    return ("" if system is None else escape(system),
            "" if wine is None else escape(wine, stop_at_nul=True))


def values():
    g = lambda s: s.encode("gbk")
    v = []
    # Every printable ASCII character alone, and in a word.
    for o in range(0x20, 0x7F):
        v.append(bytes([o]))
    for o in (0x01, 0x07, 0x09, 0x0B, 0x0C, 0x1B, 0x1F, 0x7F):
        v.append(b"a" + bytes([o]) + b"b")
    v += [g(s) for s in [
        "", "abc", "Hello World", "a b:c/d", "{x}", "[1,2]", '{"a":[1,2]}', "key=value&x=1",
        "user@example.com", "a*b_c+d-e.f/g", "~!#$^&()=,;?|`<>", "100% sure", "50%OFF",
        "http://h5.qzone.qq.com/ugc/share?_wv=1&subtype=&ciphertext=&sid=&blog_photo=&g=85"
        "&res_uin=12345&cellid=678&subid=&bp1=&bp2=&bp7=&appid=2&g_f=2000000103",
        "http://h5.qzone.qq.com/ugc/share?ptlang=2052&_wv=1&ADUIN=12345&ADTAG=CLIENT%2EQQ%2E5461_%2E0"
        "&ADSESSION=1357924680&ADPUBNO=26553&subtype=&ciphertext=&sk=&blog_photo=&g=84&res_uin=12345"
        "&cellid=9ab&subid=&bp1=&bp2=&bp7=&appid=311&g_f=2000000103&from=timeline&isappinstalled=0",
        "https://user.qzone.qq.com/12345/blog/678", "ftp://x.y/z?q#frag",
    ]]
    # GBK text: words, punctuation, full-width forms, symbols below U+0100.
    v += [g(s) for s in [
        "中", "中文", "你好，世界！", "日志", "说说", "生成识别链接", "显示二维码", "您输入有误，请检查！",
        "修复BUG，请下载最新版！", "《标题》", "【推荐】", "“引号”", "‘单引号’", "、。；：？",
        "（括号）", "ＡＢＣ１２３", "　全角空格　", "×÷", "°±", "中a文b", "a中", "中a", "版本：3.1#",
        "下载地址：http://x.invalid/#", "α β γ", "ДЖ", "①②③", "￥100", "…",
        "日志标题 2024-01-01", "#引号",
    ]]
    # Apostrophes.
    v += [g(s) for s in [
        "'", "it's", "''", "a'b'c", "'中'", "'\"'", "x'", "'x",
    ]]
    # Backslash forms.
    v += [g(s) for s in [
        "\\b", "\\f", "\\n", "\\r", "\\t", "\\v", "\\\"", "\\\\", "\\'", "a\\nb", "\\n\\t",
        "\\x41", "\\x4a", "\\x4A", "\\x7e", "\\x00", "\\xff", "\\xFF", "\\x4", "\\x4g", "\\xZZ", "\\x", "\\x\\x41",
        "\\u4e2d", "\\u4E2D", "\\u0041", "\\u0000", "\\uFFFF", "\\u12", "\\u12g4", "\\u", "\\uD800",
        "\\0", "\\00", "\\000", "\\0000", "\\08", "\\09", "\\1", "\\12", "\\123", "\\177", "\\377",
        "\\400", "\\477", "\\777", "\\38", "\\381", "\\8", "\\9", "\\18", "\\19", "\\99", "\\a", "\\z",
        "\\q\\w", "\\中", "\\%", "\\ ", "\\/", "\\@",
        "a\\", "a\\\\", "a\\\\\\", "\\", "\\\\\\\\", "end\\\\", "c:\\dir\\file.txt", "c:\\\\dir\\\\new",
        "\\x41\\u0042\\103", "%\\u0025",
    ]]
    # "%u" in the value.
    v += [g(s) for s in ["%u", "%u4E2D", "%U4e2d", "%", "%%", "%25", "a%ub"]]
    # Line breaks.
    v += [g(s) for s in ["\r", "\n", "\r\n", "a\r\nb", "line1\nline2", "a\rb", "\\\n", "\\\r\n", "中\n文"]]
    # Long values.
    v += [g("a" * 1000), g("中" * 500), g("'" * 100), g("\\n" * 300), g("x/y?z=" * 200),
          g("http://h5.qzone.qq.com/ugc/share?res_uin=" + "1234567890" * 50)]
    # A first byte that ends the value is dropped by the apostrophe step.
    v += [b"abc\xb0", b"'\xb0"]
    return v


def c_literal(data):
    """A C++ string literal for GBK bytes: Chinese characters written as themselves
    (the build turns them into GBK again), other bytes escaped in octal."""
    out = ['"']
    i = 0
    while i < len(data):
        b = data[i]
        if b < 0x80:
            ch = chr(b)
            if ch == "\\":
                out.append("\\\\")
            elif ch == '"':
                out.append('\\"')
            elif ch == "?":
                out.append("\\?")
            elif 0x20 <= b < 0x7F:
                out.append(ch)
            else:
                out.append("\\%03o" % b)
            i += 1
            continue
        pair = data[i:i + 2]
        try:
            ch = pair.decode("gbk") if len(pair) == 2 else None
        except UnicodeDecodeError:
            ch = None
        if ch is not None and len(ch) == 1 and ch.encode("gbk") == pair:
            out.append(ch)
            i += 2
        else:
            out.append("\\%03o" % b)
            i += 1
    out.append('"')
    return "".join(out)


def main():
    rows = []
    seen = set()
    for value in values():
        if value in seen:
            continue
        seen.add(value)
        system, wine = engine_answers(value)
        rows.append((value, system, wine))
    print("// Generated by tests/data/escape_corpus.py: share values and the script")
    print("// engine's answer for each. Do not edit by hand; change the script and run it.")
    print("#pragma once")
    print()
    print("namespace corpus {")
    print()
    print("struct EscapeCase {")
    print("  const char* value;")
    print("  const char* expected;  // the system's JScript")
    print("  const char* wine;      // Wine's jscript, where it answers otherwise; else null")
    print("};")
    print()
    print("inline const EscapeCase kEscapeCases[] = {")
    for value, system, wine in rows:
        w = c_literal(wine.encode("ascii")) if wine != system else "nullptr"
        print("    {%s, %s, %s}," % (c_literal(value), c_literal(system.encode("ascii")), w))
    print("};")
    print()
    print("}  // namespace corpus")


if __name__ == "__main__":
    main()
