#include "runtime/core/values/values.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "runtime/core/values/error_texts.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/runtime_error.h"

namespace lw {
namespace {

[[noreturn]] void sizeOverflow() { ReportUnaddressableSize(); }

size_t addOrDie(size_t a, size_t b) {
  size_t r;
  if (!checkedAdd(a, b, &r)) sizeOverflow();
  return r;
}

size_t mulOrDie(size_t a, size_t b) {
  size_t r;
  if (!checkedMul(a, b, &r)) sizeOverflow();
  return r;
}

// Civil date of a day number counted from 1970-01-01 (proleptic Gregorian).
void civilFromDays(int64_t z, int* y, int* m, int* d) {
  z += 719468;
  int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  int64_t doe = z - era * 146097;
  int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  int64_t mp = (5 * doy + 2) / 153;
  *d = int(doy - (153 * mp + 2) / 5 + 1);
  *m = int(mp < 10 ? mp + 3 : mp - 9);
  *y = int(yoe + era * 400 + (*m <= 2));
}

// 1899-12-30 as a day number counted from 1970-01-01.
constexpr int64_t kDateTimeEpoch = -25569;

}  // namespace

void ReportUnaddressableSize() {
  // Reported like any other allocation the heap cannot give.
  char msg[64];
  snprintf(msg, sizeof msg, error_text::AllocationFailed, -1);
  ReportFatalError(msg, 0);
}

// ---- Texts ----

Text MakeText(const char* p, size_t n) {
  if (n == 0) return nullptr;
  char* t = static_cast<char*>(AllocMemory(addOrDie(n, 1)));
  memcpy(t, p, n);
  t[n] = 0;
  return t;
}

Text CopyText(const char* s) { return s ? MakeText(s, strlen(s)) : nullptr; }

Text MakeFilledText(char c, size_t n) {
  if (n == 0) return nullptr;
  char* t = static_cast<char*>(AllocMemory(addOrDie(n, 1)));
  memset(t, c, n);
  t[n] = 0;
  return t;
}

size_t TextBytes(const char* s) { return s ? strlen(s) : 0; }

// ---- Byte sets ----

ByteSet MakeByteSet(const void* p, size_t n) {
  if (n == 0) return nullptr;
  if (n > UINT32_MAX) sizeOverflow();
  auto* b = static_cast<ByteSet>(AllocMemory(addOrDie(sizeof(ByteSetHeader), n)));
  b->dims = 1;
  b->length = uint32_t(n);
  if (p)
    memcpy(byteSetData(b), p, n);
  else
    memset(byteSetData(b), 0, n);
  return b;
}

// ---- Arrays ----

bool IsPointerElement(TypeWord t) {
  switch (type::base(t)) {
    case type::Text: case type::ByteSet: case type::Object: case type::Variant: return true;
    default: return false;
  }
}

size_t ArrayElementSize(TypeWord t) {
  if (IsPointerElement(t)) return sizeof(void*);
  uint32_t n = type::valueSize(t);
  return n ? n : 4;  // library types not listed above hold one 32-bit word
}

ArrayBlock MakeArray(size_t count, size_t elementSize) {
  if (count > UINT32_MAX) sizeOverflow();
  size_t bytes = addOrDie(8, mulOrDie(count, elementSize));
  auto block = static_cast<ArrayBlock>(AllocMemory(bytes));
  memset(block, 0, bytes);
  block[0] = 1;
  block[1] = uint32_t(count);
  return block;
}

bool ArrayElementCount(const uint32_t* block, size_t* count) {
  *count = 0;
  if (!block) return true;
  size_t n = 1;
  for (uint32_t i = 0; i < block[0]; ++i)
    if (!checkedMul(n, block[1 + i], &n)) return false;
  *count = block[0] ? n : 0;
  return true;
}

void* ArrayElements(ArrayBlock block) { return block + 1 + block[0]; }

void* ArrayElementAt(ArrayBlock block, int64_t index, size_t elementSize) {
  if (index < 1) ReportRuntimeError(error_number::IndexBelowOne);
  size_t count = 0;
  if (!ArrayElementCount(block, &count) || uint64_t(index) > count) ReportRuntimeError(error_number::IndexAboveCount);
  return static_cast<uint8_t*>(ArrayElements(block)) + size_t(index - 1) * elementSize;
}

void AppendArrayElement(ArrayBlock* variable, const void* element, size_t elementSize) {
  ArrayBlock block = *variable;
  if (!block) {
    block = MakeArray(1, elementSize);
    memcpy(ArrayElements(block), element, elementSize);
    *variable = block;
    return;
  }
  uint32_t count = block[1];
  if (count == UINT32_MAX) sizeOverflow();
  size_t bytes = addOrDie(8, mulOrDie(size_t(count) + 1, elementSize));
  // ResizeMemory copies a block of the constant area instead of changing it.
  block = static_cast<ArrayBlock>(ResizeMemory(block, bytes));
  memcpy(static_cast<uint8_t*>(ArrayElements(block)) + size_t(count) * elementSize, element, elementSize);
  block[1] = count + 1;
  *variable = block;
}

void FreePointerArray(ArrayBlock block) {
  if (!block) return;
  size_t count = 0;
  if (ArrayElementCount(block, &count)) {
    void** elems = static_cast<void**>(ArrayElements(block));
    for (size_t i = 0; i < count; ++i) FreeMemory(elems[i]);
  }
  FreeMemory(block);
}

// ---- Date-times ----

double ClampDateTime(double days) {
  if (std::isnan(days)) return 0;
  if (days < kDateTimeMin) return kDateTimeMin;
  if (days > kDateTimeMax) return kDateTimeMax;
  return days;
}

CalendarTime SplitDateTime(double days) {
  days = ClampDateTime(days);
  double whole = std::trunc(days);
  int64_t day = int64_t(whole);
  // The fraction is the time of day on either side of the epoch: -1.25 is
  // 1899-12-29 06:00, not 18:00.
  int64_t secs = int64_t(std::llround(std::fabs(days - whole) * 86400.0));
  if (secs >= 86400) {
    secs -= 86400;
    ++day;  // rounding carried into the next calendar day
  }
  CalendarTime c;
  civilFromDays(day + kDateTimeEpoch, &c.year, &c.month, &c.day);
  c.hour = int(secs / 3600);
  c.minute = int(secs / 60 % 60);
  c.second = int(secs % 60);
  int64_t dow = (day + kDateTimeEpoch + 4) % 7;  // 1970-01-01 was a Thursday
  c.dayOfWeek = int(dow < 0 ? dow + 7 : dow);
  return c;
}

// ---- Value to text ----

bool AppendValueText(std::string& out, TypeWord type, uint64_t bits, const char* text) {
  char buf[80];
  buf[0] = 0;
  switch (type::base(type)) {
    case type::Byte: snprintf(buf, sizeof buf, "%u", unsigned(uint8_t(bits))); break;
    case type::Short: snprintf(buf, sizeof buf, "%d", int(int16_t(uint16_t(bits)))); break;
    case type::Int: snprintf(buf, sizeof buf, "%d", int(int32_t(uint32_t(bits)))); break;
    case type::Long: snprintf(buf, sizeof buf, "%" PRId64, int64_t(bits)); break;
    case type::Single: {
      float f;
      uint32_t w = uint32_t(bits);
      memcpy(&f, &w, 4);
      snprintf(buf, sizeof buf, "%.6g", double(f));
      break;
    }
    case type::Double: {
      double d;
      memcpy(&d, &bits, 8);
      snprintf(buf, sizeof buf, "%.13g", d);
      break;
    }
    case type::Logical: out += uint32_t(bits) != 0 ? "真" : "假"; return true;
    case type::DateTime: {
      double d;
      memcpy(&d, &bits, 8);
      CalendarTime c = SplitDateTime(d);
      int n = snprintf(buf, sizeof buf, "%d年%d月%d日", c.year, c.month, c.day);
      char* tail = buf + n;
      size_t room = sizeof buf - size_t(n);
      if (c.second != 0)
        snprintf(tail, room, "%d时%d分%d秒", c.hour, c.minute, c.second);
      else if (c.minute != 0)
        snprintf(tail, room, "%d时%d分", c.hour, c.minute);
      else if (c.hour != 0)
        snprintf(tail, room, "%d时", c.hour);
      break;
    }
    case type::Text:
      if (text) out += text;
      return true;
    default: return false;
  }
  out += buf;
  return true;
}

Text ValueToText(TypeWord type, uint64_t bits, const char* text) {
  if (type::base(type) == type::Text) return CopyText(text);
  std::string s;
  if (!AppendValueText(s, type, bits, text)) return nullptr;
  return MakeText(s.data(), s.size());
}

// ---- Raw data to value ----

void RawDataToValue(TypeWord type, const uint8_t* data, size_t size, ResultRecord* out) {
  out->low = 0;
  out->high = 0;
  if (!data) size = 0;
  if (type::base(type) == type::Text) {
    const void* nul = size ? memchr(data, 0, size) : nullptr;
    size_t n = nul ? size_t(static_cast<const uint8_t*>(nul) - data) : size;
    setResultPointer(out, MakeText(reinterpret_cast<const char*>(data), n));
    return;
  }
  uint32_t width = type::valueSize(type);
  if (width == 0 || width > 8) return;
  uint8_t raw[8] = {};
  if (size) memcpy(raw, data, size < width ? size : width);
  uint64_t bits;
  memcpy(&bits, raw, 8);
  switch (type::base(type)) {
    case type::Logical: bits = NormaliseLogical(uint32_t(bits)); break;
    case type::DateTime: {
      double d;
      memcpy(&d, &bits, 8);
      d = ClampDateTime(d);
      memcpy(&bits, &d, 8);
      break;
    }
    default: break;
  }
  setResult64(out, bits);
}

}  // namespace lw
