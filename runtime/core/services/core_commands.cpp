#include "runtime/core/services/core_commands.h"

#include <cmath>
#include <cstring>

#include "runtime/core/text/text_commands.h"
#include "runtime/core/values/error_texts.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/runtime_error.h"
#include "runtime/core/values/values.h"

namespace lw::core {
namespace {

// ---- Reading arguments ----

bool given(int argc, const ArgRecord* args, int i) { return i < argc && args[i].type != type::None; }

bool isPointerValued(TypeWord t) {
  switch (type::base(t)) {
    case type::Text: case type::ByteSet: case type::Object: case type::Variant: return true;
    default: return false;
  }
}

// The argument as a plain value: a scalar passed by reference is read through
// its address. Arrays keep their block pointer (the block is the data).
ArgRecord valueOf(const ArgRecord& a) {
  if (!type::isByRef(a.type) || type::isArray(a.type) || !type::isBasic(a.type)) return a;
  ArgRecord v{0, 0, type::base(a.type)};
  const void* at = reinterpret_cast<const void*>(a.low);
  if (!at) return v;
  if (isPointerValued(v.type)) {
    void* p;
    memcpy(&p, at, sizeof p);
    v.low = reinterpret_cast<Word>(p);
    return v;
  }
  uint64_t bits = 0;
  memcpy(&bits, at, type::valueSize(v.type));
  v.low = Word(uint32_t(bits));
  v.high = Word(uint32_t(bits >> 32));
  return v;
}

double asDouble(uint64_t bits) {
  double d;
  memcpy(&d, &bits, 8);
  return d;
}

float asSingle(uint32_t bits) {
  float f;
  memcpy(&f, &bits, 4);
  return f;
}

// A real truncated toward zero; beyond the 32-bit range it saturates, NaN gives 0.
int32_t truncateReal(double d) {
  if (std::isnan(d)) return 0;
  if (d >= 2147483647.0) return INT32_MAX;
  if (d <= -2147483648.0) return INT32_MIN;
  return int32_t(d);
}

// The numeric conversion of ToInteger for every type but text: 0 for types that
// have no integer value.
int32_t numberToInt(const ArgRecord& v) {
  uint32_t low = uint32_t(v.low);
  switch (type::base(v.type)) {
    case type::Logical: return int32_t(low);
    case type::Byte: return int32_t(uint8_t(low));
    case type::Short: return int16_t(uint16_t(low));
    case type::Int: case type::Long: case type::SubPointer: return int32_t(low);
    case type::Single: return truncateReal(asSingle(low));
    case type::Double: return truncateReal(asDouble(recordValue64(v)));
    default: return 0;
  }
}

int32_t intArg(const ArgRecord& a) {
  if (type::isArray(a.type)) return 0;
  return numberToInt(valueOf(a));
}

int32_t intArg(int argc, const ArgRecord* args, int i, int32_t fallback) {
  return given(argc, args, i) ? intArg(args[i]) : fallback;
}

const char* textArg(const ArgRecord& a) { return TextArgument(a); }

const ByteSetHeader* byteSetArg(const ArgRecord& a) {
  if (type::isArray(a.type)) return nullptr;
  ArgRecord v = valueOf(a);
  if (type::base(v.type) != type::ByteSet) return nullptr;
  return reinterpret_cast<const ByteSetHeader*>(v.low);
}

// The bytes of a numeric array, or null (with *size 0) for any other array.
const uint8_t* numericArrayBytes(const ArgRecord& a, size_t* size) {
  *size = 0;
  auto block = reinterpret_cast<ArrayBlock>(a.low);
  size_t count = 0, bytes = 0;
  if (!block || !type::isNumeric(type::base(a.type))) return nullptr;
  if (!ArrayElementCount(block, &count) || !checkedMul(count, type::valueSize(a.type), &bytes)) return nullptr;
  *size = bytes;
  return static_cast<const uint8_t*>(ArrayElements(block));
}

// ---- Writing results ----

void setInt(ResultRecord* r, int32_t v) {
  r->low = Word(uint32_t(v));
  r->high = 0;
}

void setText(ResultRecord* r, Text t) { setResultPointer(r, t); }
void setByteSet(ResultRecord* r, ByteSet b) { setResultPointer(r, b); }

// Start position argument of the searches: the 0-based offset it names, never
// below 0.
size_t startOffset(int32_t start) { return start > 1 ? size_t(int64_t(start) - 1) : 0; }

void findText(ResultRecord* r, int argc, ArgRecord* args, bool backward) {
  const char* s = textArg(args[0]);
  const char* pat = argc > 1 ? textArg(args[1]) : "";
  size_t len = strlen(s), plen = strlen(pat);
  bool ignoreCase = given(argc, args, 3) && intArg(args[3]) != 0;
  int64_t found;
  if (backward) {
    size_t limit = given(argc, args, 2) ? startOffset(intArg(args[2])) : len;
    found = text::FindBackward(s, len, pat, plen, limit, ignoreCase);
  } else {
    size_t from = given(argc, args, 2) ? startOffset(intArg(args[2])) : 0;
    found = text::FindForward(s, len, pat, plen, from, ignoreCase);
  }
  setInt(r, int32_t(found));
}

// The type word each GetByteSetData type code reads.
const TypeWord kByteSetDataTypes[] = {
    type::None, type::Byte, type::Short, type::Int, type::Long, type::Single,
    type::Double, type::Logical, type::DateTime, type::SubPointer, type::Text,
};

}  // namespace

const char* TextArgument(const ArgRecord& a) {
  if (type::isArray(a.type)) return "";
  ArgRecord v = valueOf(a);
  if (type::base(v.type) != type::Text || !v.low) return "";
  return reinterpret_cast<const char*>(v.low);
}

// ---- Texts ----

void TextLength(ResultRecord* r, int argc, ArgRecord* args) {
  setInt(r, argc > 0 ? int32_t(strlen(textArg(args[0]))) : 0);
}

void TextLeft(ResultRecord* r, int argc, ArgRecord* args) {
  const char* s = argc > 0 ? textArg(args[0]) : "";
  int32_t n = intArg(argc, args, 1, 0);
  size_t len = strlen(s);
  setText(r, n <= 0 ? nullptr : MakeText(s, size_t(n) < len ? size_t(n) : len));
}

void TextRight(ResultRecord* r, int argc, ArgRecord* args) {
  const char* s = argc > 0 ? textArg(args[0]) : "";
  int32_t n = intArg(argc, args, 1, 0);
  size_t len = strlen(s);
  size_t take = n <= 0 ? 0 : (size_t(n) < len ? size_t(n) : len);
  setText(r, MakeText(s + len - take, take));
}

void TextMiddle(ResultRecord* r, int argc, ArgRecord* args) {
  const char* s = argc > 0 ? textArg(args[0]) : "";
  int32_t start = intArg(argc, args, 1, 0), n = intArg(argc, args, 2, 0);
  size_t len = strlen(s);
  if (start < 1 || size_t(start) > len || n <= 0) return setText(r, nullptr);
  size_t from = size_t(start) - 1, rest = len - from;
  setText(r, MakeText(s + from, size_t(n) < rest ? size_t(n) : rest));
}

void CharFromCode(ResultRecord* r, int argc, ArgRecord* args) {
  char c = char(uint8_t(intArg(argc, args, 0, 0)));
  setText(r, MakeText(&c, c ? 1 : 0));
}

void FindText(ResultRecord* r, int argc, ArgRecord* args) {
  if (argc < 1) return setInt(r, -1);
  findText(r, argc, args, false);
}

void FindTextBackward(ResultRecord* r, int argc, ArgRecord* args) {
  if (argc < 1) return setInt(r, -1);
  findText(r, argc, args, true);
}

void ToLowerCase(ResultRecord* r, int argc, ArgRecord* args) {
  const char* s = argc > 0 ? textArg(args[0]) : "";
  setText(r, text::ToLower(s, strlen(s)));
}

void TrimSpaces(ResultRecord* r, int argc, ArgRecord* args) {
  const char* s = argc > 0 ? textArg(args[0]) : "";
  setText(r, text::TrimSpaces(s, strlen(s)));
}

void RemoveAllSpaces(ResultRecord* r, int argc, ArgRecord* args) {
  const char* s = argc > 0 ? textArg(args[0]) : "";
  setText(r, text::RemoveAllSpaces(s, strlen(s)));
}

void ReplaceSubText(ResultRecord* r, int argc, ArgRecord* args) {
  const char* s = argc > 0 ? textArg(args[0]) : "";
  const char* pat = argc > 1 ? textArg(args[1]) : "";
  const char* rep = given(argc, args, 2) ? textArg(args[2]) : "";
  size_t from = given(argc, args, 3) ? startOffset(intArg(args[3])) : 0;
  int64_t count = given(argc, args, 4) ? intArg(args[4]) : -1;
  // The case flag is not optional; a call without it compares exactly.
  bool caseSensitive = !given(argc, args, 5) || intArg(args[5]) != 0;
  setText(r, text::Replace(s, strlen(s), pat, strlen(pat), rep, strlen(rep), from, count, !caseSensitive));
}

void SplitText(ResultRecord* r, int argc, ArgRecord* args) {
  const char* s = argc > 0 ? textArg(args[0]) : "";
  const char* sep = given(argc, args, 1) ? textArg(args[1]) : ",";
  int64_t maximum = -1;
  if (given(argc, args, 2)) {
    maximum = intArg(args[2]);
    if (maximum < 0) maximum = 0;
  }
  setResultPointer(r, text::Split(s, strlen(s), sep, strlen(sep), maximum));
}

void BlankText(ResultRecord* r, int argc, ArgRecord* args) {
  int32_t n = intArg(argc, args, 0, 0);
  setText(r, n < 1 ? nullptr : MakeFilledText(' ', size_t(n)));
}

// ---- Conversions ----

void ToInteger(ResultRecord* r, int argc, ArgRecord* args) {
  if (argc < 1 || type::isArray(args[0].type)) return setInt(r, 0);
  ArgRecord v = valueOf(args[0]);
  if (type::base(v.type) == type::Text) {
    const char* s = textArg(v);
    return setInt(r, text::TextToInteger(s, strlen(s)));
  }
  setInt(r, numberToInt(v));
}

void ToText(ResultRecord* r, int argc, ArgRecord* args) {
  if (argc < 1) return setText(r, nullptr);
  const ArgRecord& a = args[0];
  const uint8_t* data = nullptr;
  size_t size = 0;
  if (type::isArray(a.type)) {
    data = numericArrayBytes(a, &size);
  } else if (type::base(a.type) == type::ByteSet) {
    const ByteSetHeader* b = byteSetArg(a);
    if (b) data = byteSetData(b), size = b->length;
  } else {
    ArgRecord v = valueOf(a);
    if (!type::isBasic(v.type)) return setText(r, nullptr);
    return setText(r, ValueToText(v.type, recordValue64(v), type::base(v.type) == type::Text ? textArg(v) : nullptr));
  }
  // Bytes as text: up to the first zero byte or the end of the data.
  const void* nul = size ? memchr(data, 0, size) : nullptr;
  if (nul) size = size_t(static_cast<const uint8_t*>(nul) - data);
  setText(r, MakeText(reinterpret_cast<const char*>(data), size));
}

void ToByteSet(ResultRecord* r, int argc, ArgRecord* args) {
  if (argc < 1) return setByteSet(r, nullptr);
  const ArgRecord& a = args[0];
  if (type::isArray(a.type)) {
    size_t size = 0;
    const uint8_t* data = numericArrayBytes(a, &size);
    return setByteSet(r, MakeByteSet(data, size));
  }
  ArgRecord v = valueOf(a);
  switch (type::base(v.type)) {
    case type::Text: {
      const char* s = textArg(v);
      return setByteSet(r, MakeByteSet(s, strlen(s)));
    }
    case type::ByteSet: {
      const ByteSetHeader* b = byteSetArg(v);
      return setByteSet(r, b ? MakeByteSet(byteSetData(b), b->length) : nullptr);
    }
    default: break;
  }
  uint32_t size = type::isBasic(v.type) ? type::valueSize(v.type) : 0;
  if (size == 0 || size > 8) return setByteSet(r, nullptr);
  uint64_t bits = recordValue64(v);
  uint8_t raw[8];
  memcpy(raw, &bits, 8);  // little-endian: the value's bytes come first
  setByteSet(r, MakeByteSet(raw, size));
}

// ---- Byte sets ----

void ByteSetLength(ResultRecord* r, int argc, ArgRecord* args) {
  setInt(r, argc > 0 ? int32_t(byteSetLength(byteSetArg(args[0]))) : 0);
}

void ByteSetLeft(ResultRecord* r, int argc, ArgRecord* args) {
  const ByteSetHeader* b = argc > 0 ? byteSetArg(args[0]) : nullptr;
  int32_t n = intArg(argc, args, 1, 0);
  uint32_t len = byteSetLength(b);
  if (n <= 0 || len == 0) return setByteSet(r, nullptr);
  setByteSet(r, MakeByteSet(byteSetData(b), uint32_t(n) < len ? uint32_t(n) : len));
}

void BlankByteSet(ResultRecord* r, int argc, ArgRecord* args) {
  int32_t n = intArg(argc, args, 0, 0);
  setByteSet(r, n <= 0 ? nullptr : MakeByteSet(nullptr, size_t(n)));
}

void GetByteSetData(ResultRecord* r, int argc, ArgRecord* args) {
  int32_t code = intArg(argc, args, 1, 0);
  if (code < 1 || code > 10) ReportFatalError(error_text::ByteSetDataTypeInvalid, 0);
  TypeWord t = kByteSetDataTypes[code];
  r->type = t;
  r->low = 0;
  r->high = 0;

  const ByteSetHeader* b = argc > 0 ? byteSetArg(args[0]) : nullptr;
  const uint8_t* data = b ? byteSetData(b) : nullptr;
  size_t size = byteSetLength(b);

  // The read position, 0-based. A reference to an integer variable is advanced.
  int64_t p = 0;
  int32_t* position = nullptr;
  if (given(argc, args, 2)) {
    const ArgRecord& a = args[2];
    if (type::isByRef(a.type) && type::base(a.type) == type::Int && !type::isArray(a.type))
      position = reinterpret_cast<int32_t*>(a.low);
    p = int64_t(intArg(a)) - 1;
  }
  if (p < 0) return;  // nothing read: 0, or null for a text

  size_t at = uint64_t(p) < size ? size_t(p) : size;
  size_t avail = size - at;
  RawDataToValue(t, data ? data + at : nullptr, avail, r);

  if (!position) return;
  uint64_t advance;
  if (t == type::Text) {
    const char* s = reinterpret_cast<const char*>(r->low);
    advance = uint64_t(TextBytes(s)) + 1;  // the text and its terminating zero
  } else {
    advance = type::valueSize(t);
  }
  uint64_t next = uint64_t(p) + advance;
  *position = next >= size ? -1 : int32_t(next + 1);
}

void BitOr(ResultRecord* r, int argc, ArgRecord* args) {
  uint32_t v = 0;
  for (int i = 0; i < argc; ++i) v |= uint32_t(intArg(args[i]));
  setInt(r, int32_t(v));
}

// ---- Message box arguments ----

MessageBoxRequest PrepareMessageBox(int argc, const ArgRecord* args) {
  MessageBoxRequest m;
  if (argc > 0 && !type::isArray(args[0].type)) {
    ArgRecord v = valueOf(args[0]);
    if (type::isBasic(v.type))
      AppendValueText(m.text, v.type, recordValue64(v), type::base(v.type) == type::Text ? textArg(v) : nullptr);
  }
  m.style = uint32_t(intArg(argc, args, 1, 0));
  if (!(m.style & kSystemModal)) m.style |= kTaskModal;
  m.caption = given(argc, args, 2) ? textArg(args[2]) : "信息：";
  if (given(argc, args, 3)) {
    const ArgRecord& o = args[3];
    TypeWord t = type::base(o.type);
    if (type::isLibraryType(o.type) && t != type::Object && t != type::Variant) {
      m.ownerIsUnit = true;
      m.windowId = uint32_t(o.low);
    } else if (type::isNumeric(o.type)) {
      m.ownerHandle = uintptr_t(uint32_t(intArg(o)));
    }
  }
  return m;
}

// ---- The table ----

const CommandEntry kCoreCommands[] = {
    {"TextLength", &TextLength},
    {"TextLeft", &TextLeft},
    {"TextRight", &TextRight},
    {"TextMiddle", &TextMiddle},
    {"CharFromCode", &CharFromCode},
    {"FindText", &FindText},
    {"FindTextBackward", &FindTextBackward},
    {"ToLowerCase", &ToLowerCase},
    {"TrimSpaces", &TrimSpaces},
    {"RemoveAllSpaces", &RemoveAllSpaces},
    {"ReplaceSubText", &ReplaceSubText},
    {"SplitText", &SplitText},
    {"BlankText", &BlankText},
    {"ToInteger", &ToInteger},
    {"ToText", &ToText},
    {"ToByteSet", &ToByteSet},
    {"ByteSetLength", &ByteSetLength},
    {"ByteSetLeft", &ByteSetLeft},
    {"BlankByteSet", &BlankByteSet},
    {"GetByteSetData", &GetByteSetData},
    {"BitOr", &BitOr},
};
const size_t kCoreCommandCount = sizeof kCoreCommands / sizeof kCoreCommands[0];

LibraryCommand FindCoreCommand(const char* name) {
  for (const CommandEntry& e : kCoreCommands)
    if (strcmp(e.name, name) == 0) return e.routine;
  return nullptr;
}

}  // namespace lw::core
