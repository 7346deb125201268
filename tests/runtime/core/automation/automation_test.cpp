// The pure tables and rules behind the automation commands.
#include "runtime/core/automation/automation.h"

#include <gtest/gtest.h>

#include <thread>

namespace lw::automation {
namespace {

TEST(AutomationTables, InvocationKindsInTheirOrder) {
  auto list = [](Use u) {
    std::vector<uint16_t> v;
    for (const uint16_t* k = InvokeKindOrder(u); *k; ++k) v.push_back(*k);
    return v;
  };
  EXPECT_EQ(list(Use::Read), (std::vector<uint16_t>{kInvokePropertyGet, kInvokeFunc}));
  EXPECT_EQ(list(Use::Write), (std::vector<uint16_t>{kInvokePropertyPut, kInvokePropertyPutRef, kInvokeFunc}));
  EXPECT_EQ(list(Use::Call),
            (std::vector<uint16_t>{kInvokeFunc, kInvokePropertyGet, kInvokePropertyPut, kInvokePropertyPutRef}));
}

TEST(AutomationTables, InvokeFailuresMapToCodes) {
  EXPECT_EQ(CodeForInvokeFailure(0x8002000E), kBadParamCount);
  EXPECT_EQ(CodeForInvokeFailure(0x80020003), kMemberNotFound);
  EXPECT_EQ(CodeForInvokeFailure(0x80020009), kException);
  EXPECT_EQ(CodeForInvokeFailure(0x8002000F), kParamNotOptional);
  EXPECT_EQ(CodeForInvokeFailure(0x80004005), kOtherFailure);  // E_FAIL
  EXPECT_EQ(CodeForInvokeFailure(0x80020006), kOtherFailure);  // unknown name at invocation
}

TEST(AutomationTables, RuntimeTypesToVariantTypes) {
  EXPECT_EQ(VariantTypeFor(type::Logical), vt::Bool);
  EXPECT_EQ(VariantTypeFor(type::Long), vt::I4);
  EXPECT_EQ(VariantTypeFor(type::Text | type::ByRef), vt::Bstr);
  EXPECT_EQ(VariantTypeFor(type::ByteSet), vt::Empty);
  EXPECT_EQ(VariantTypeFor(type::WindowUnit), vt::Empty);
  EXPECT_EQ(ArrayElementVariantType(type::Object), vt::Unknown);
  EXPECT_EQ(ArrayElementVariantType(type::ByteSet), vt::Empty);
}

TEST(AutomationArguments, TrailingOmittedArgumentsDoNotCount) {
  ArgRecord args[5] = {arg::omitted(), arg::text("name"), arg::integer(1), arg::omitted(), arg::omitted()};
  EXPECT_EQ(CountGivenArguments(5, args), 1);
  EXPECT_EQ(CountGivenArguments(2, args), 0);
  args[4] = arg::integer(2);
  EXPECT_EQ(CountGivenArguments(5, args), 3) << "an omitted argument before a given one counts";
  EXPECT_EQ(CountGivenArguments(1, args), 0);
}

TEST(AutomationArguments, SurplusOnlyForVariableLists) {
  EXPECT_EQ(CheckArgumentCount(2, 2, 0), kOk);
  EXPECT_EQ(CheckArgumentCount(3, 2, 1), kTooManyArguments);
  EXPECT_EQ(CheckArgumentCount(5, 2, -1), kOk);
  EXPECT_EQ(CheckArgumentCount(1, 0, -1), kTooManyArguments) << "a variable list needs a parameter to hold it";
}

TEST(AutomationArrays, ElementIndexToSubscripts) {
  std::vector<int32_t> s;
  // 3 x 2, lower bounds 0 and 1; the first dimension varies fastest.
  ASSERT_TRUE(ElementSubscripts(1, {3, 2}, {0, 1}, &s));
  EXPECT_EQ(s, (std::vector<int32_t>{0, 1}));
  ASSERT_TRUE(ElementSubscripts(5, {3, 2}, {0, 1}, &s));
  EXPECT_EQ(s, (std::vector<int32_t>{1, 2}));
  EXPECT_FALSE(ElementSubscripts(7, {3, 2}, {0, 1}, &s));
  EXPECT_FALSE(ElementSubscripts(0, {3, 2}, {0, 1}, &s));
  EXPECT_FALSE(ElementSubscripts(1, {0}, {0}, &s));
  EXPECT_FALSE(ElementSubscripts(2, {4}, {INT32_MAX}, &s)) << "a subscript past the bound's range";
}

TEST(AutomationArrays, ByteArraySizeIsCheckedProduct) {
  size_t n = 0;
  ASSERT_TRUE(ByteArraySize({2, 3}, &n));
  EXPECT_EQ(n, 6u);
  ASSERT_TRUE(ByteArraySize({}, &n));
  EXPECT_EQ(n, 0u);
#if SIZE_MAX == UINT32_MAX
  EXPECT_FALSE(ByteArraySize({0x10000, 0x10000}, &n));
#else
  EXPECT_FALSE(ByteArraySize({0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF}, &n));
#endif
}

TEST(AutomationResult, PerThread) {
  SetLastResult(kNoDispatch);
  int32_t other = 1;
  std::thread([&] { other = LastResult(); }).join();
  EXPECT_EQ(other, kOk);
  EXPECT_EQ(LastResult(), kNoDispatch);
  SetLastResult(kOk);
}

}  // namespace
}  // namespace lw::automation
