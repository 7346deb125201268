#include "runtime/core/values/values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "runtime/core/values/memory.h"
#include "tests/support/fatal_trap.h"

namespace lw {
namespace {

std::string show(TypeWord t, uint64_t bits) {
  std::string s;
  EXPECT_TRUE(AppendValueText(s, t, bits, nullptr)) << "type " << std::hex << t;
  return s;
}

uint64_t bitsOf(double d) {
  uint64_t b;
  memcpy(&b, &d, 8);
  return b;
}

uint64_t bitsOf(float f) {
  uint32_t b;
  memcpy(&b, &f, 4);
  return b;
}

std::string showDate(double d) { return show(type::DateTime, bitsOf(d)); }

TEST(ValueBlocks, EmptyTextsAndByteSetsAreNull) {
  EXPECT_EQ(CopyText(""), nullptr);
  EXPECT_EQ(CopyText(nullptr), nullptr);
  EXPECT_EQ(MakeText("abc", 0), nullptr);
  EXPECT_EQ(MakeFilledText(' ', 0), nullptr);
  EXPECT_EQ(MakeByteSet("x", 0), nullptr);
  ByteSet b = MakeByteSet("\x01\x00\x02", 3);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->dims, 1u);
  EXPECT_EQ(b->length, 3u);
  EXPECT_EQ(memcmp(byteSetData(b), "\x01\x00\x02", 3), 0);
  FreeMemory(b);
}

TEST(ValueArrays, ArrayOfTextsOwnsItsElements) {
  // Freeing the array frees the three texts too (the leak checker of the native
  // build sees any that are left).
  ArrayBlock a = MakeArray(3, sizeof(Text));
  EXPECT_EQ(a[0], 1u);
  EXPECT_EQ(a[1], 3u);
  Text* e = static_cast<Text*>(ArrayElements(a));
  EXPECT_EQ(e[0], nullptr);
  e[0] = CopyText("one");
  e[2] = CopyText("three");
  FreeTextArray(a);
  FreeTextArray(nullptr);
}

TEST(ValueArrays, IndexBelowOneIsErrorFourAboveCountErrorOne) {
  testing::FatalTrap trap;
  ArrayBlock a = MakeArray(2, 4);
  static_cast<int32_t*>(ArrayElements(a))[1] = 42;
  EXPECT_EQ(*static_cast<int32_t*>(ArrayElementAt(a, 2, 4)), 42);
  try {
    ArrayElementAt(a, 0, 4);
    ADD_FAILURE() << "index 0 accepted";
  } catch (const testing::FatalError& e) {
    EXPECT_EQ(e.code, 4);
    EXPECT_STREQ(e.what(), "数组成员引用下标必须大于等于1");
  }
  try {
    ArrayElementAt(a, 3, 4);
    ADD_FAILURE() << "index count + 1 accepted";
  } catch (const testing::FatalError& e) {
    EXPECT_EQ(e.code, 1);
    EXPECT_STREQ(e.what(), "数组成员引用下标超出定义范围");
  }
  EXPECT_THROW(ArrayElementAt(nullptr, 1, 4), testing::FatalError);
  FreeMemory(a);
}

TEST(ValueArrays, MultiDimensionalCountIsTheProduct) {
  uint32_t block[] = {2, 3, 4, 0};
  size_t n = 0;
  ASSERT_TRUE(ArrayElementCount(block, &n));
  EXPECT_EQ(n, 12u);
  uint32_t huge[] = {3, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
  if (sizeof(size_t) == 4) {
    EXPECT_FALSE(ArrayElementCount(huge, &n));
  }
}

struct ConstArray {
  uint32_t dims = 1, count = 1;
  int32_t elem = 5;
} g_constArray;

TEST(ValueArrays, AppendGrowsAndCopiesConstantBlocks) {
  ArrayBlock var = nullptr;
  int32_t v = 7;
  AppendArrayElement(&var, &v, 4);
  v = 8;
  AppendArrayElement(&var, &v, 4);
  ASSERT_EQ(var[1], 2u);
  EXPECT_EQ(static_cast<int32_t*>(ArrayElements(var))[1], 8);
  FreeMemory(var);

  SetConstantArea(&g_constArray, sizeof g_constArray);
  var = &g_constArray.dims;
  AppendArrayElement(&var, &v, 4);
  EXPECT_NE(var, &g_constArray.dims);
  EXPECT_EQ(g_constArray.count, 1u) << "constant block changed";
  EXPECT_EQ(var[1], 2u);
  EXPECT_EQ(static_cast<int32_t*>(ArrayElements(var))[0], 5);
  EXPECT_EQ(static_cast<int32_t*>(ArrayElements(var))[1], 8);
  ClearConstantArea();
  FreeMemory(var);
}

TEST(ValueDateTimes, ClampingAndCalendar) {
  EXPECT_EQ(ClampDateTime(-700000), kDateTimeMin);
  EXPECT_EQ(ClampDateTime(1e300), kDateTimeMax);
  EXPECT_EQ(ClampDateTime(std::nan("")), 0.0);
  CalendarTime c = SplitDateTime(36585);  // a leap day
  EXPECT_EQ(c.year, 2000);
  EXPECT_EQ(c.month, 2);
  EXPECT_EQ(c.day, 29);
  EXPECT_EQ(c.dayOfWeek, 2);  // a Tuesday
  c = SplitDateTime(61);      // 1900 is not a leap year
  EXPECT_EQ(c.month, 3);
  EXPECT_EQ(c.day, 1);
}

TEST(ValueDateTimes, TextAtTheRangeEndsAndTimeTails) {
  EXPECT_EQ(showDate(-700000), "100年1月1日");
  EXPECT_EQ(showDate(kDateTimeMin), "100年1月1日");
  EXPECT_EQ(showDate(kDateTimeMax), "9999年12月31日");
  EXPECT_EQ(showDate(9e9), "9999年12月31日");
  EXPECT_EQ(showDate(0.5), "1899年12月30日12时");
  EXPECT_EQ(showDate(0), "1899年12月30日");
  // Before the epoch the fraction still counts forward from midnight.
  EXPECT_EQ(showDate(-1.25), "1899年12月29日6时");
  EXPECT_EQ(showDate(1 + 5.0 / 1440), "1899年12月31日0时5分");
  EXPECT_EQ(showDate(1 + (3600.0 + 5) / 86400), "1899年12月31日1时0分5秒");
  // Rounding to the second carries into the next day.
  EXPECT_EQ(showDate(1 + 86399.7 / 86400), "1900年1月1日");
  EXPECT_EQ(showDate(std::nan("")), "1899年12月30日");
}

TEST(ValueText, NumbersAndLogicals) {
  EXPECT_EQ(show(type::Byte, 200), "200");
  EXPECT_EQ(show(type::Short, 0xFFFB), "-5");
  EXPECT_EQ(show(type::Long, uint64_t(-9000000000LL)), "-9000000000");
  EXPECT_EQ(show(type::Single, bitsOf(3.14159274f)), "3.14159");
  EXPECT_EQ(show(type::Double, bitsOf(1.0 / 3)), "0.3333333333333");
  EXPECT_EQ(show(type::Double, bitsOf(1e20)), "1e+20");
  EXPECT_EQ(show(type::Logical, 5), "真");
  EXPECT_EQ(show(type::Logical, 0), "假");
  std::string s;
  EXPECT_FALSE(AppendValueText(s, type::ByteSet, 0, nullptr));
  EXPECT_FALSE(AppendValueText(s, type::WindowUnit, 0, nullptr));
  EXPECT_TRUE(s.empty());

  Text t = ValueToText(type::Text, 0, "copy");
  EXPECT_STREQ(t, "copy");
  FreeMemory(t);
  EXPECT_EQ(ValueToText(type::Text, 0, ""), nullptr);
  EXPECT_EQ(ValueToText(type::Object, 0, nullptr), nullptr);
}

TEST(ValueRawData, DateTimesClampAndTextsEndAtNulOrData) {
  ResultRecord r{};
  double far = -1e9;
  RawDataToValue(type::DateTime, reinterpret_cast<uint8_t*>(&far), 8, &r);
  double d;
  uint64_t bits = (uint64_t(uint32_t(r.high)) << 32) | uint32_t(r.low);
  memcpy(&d, &bits, 8);
  EXPECT_EQ(d, kDateTimeMin);

  RawDataToValue(type::Text, reinterpret_cast<const uint8_t*>("xyz"), 3, &r);
  EXPECT_STREQ(reinterpret_cast<char*>(r.low), "xyz") << "no NUL: all remaining bytes";
  FreeMemory(reinterpret_cast<void*>(r.low));
  RawDataToValue(type::Text, nullptr, 0, &r);
  EXPECT_EQ(r.low, 0u) << "a read of 0 bytes is null";
  RawDataToValue(type::Double, nullptr, 0, &r);
  EXPECT_EQ(r.low | r.high, 0u);
}

}  // namespace
}  // namespace lw
