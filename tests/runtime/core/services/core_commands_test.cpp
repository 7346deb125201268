#include "runtime/core/services/core_commands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/core/values/memory.h"
#include "runtime/core/values/values.h"
#include "tests/support/fatal_trap.h"

namespace lw::core {
namespace {

// Argument records as compiled code lays them out.
ArgRecord text(const char* s) { return {reinterpret_cast<Word>(s), 0, type::Text}; }
ArgRecord integer(int32_t v) { return {Word(uint32_t(v)), 0, type::Int}; }
ArgRecord logical(bool v) { return {Word(v ? 1u : 0u), 0, type::Logical}; }
ArgRecord omitted() { return {0, 0, type::None}; }
ArgRecord wide(TypeWord t, uint64_t bits) { return {Word(uint32_t(bits)), Word(uint32_t(bits >> 32)), t}; }
ArgRecord real(double d) {
  uint64_t b;
  memcpy(&b, &d, 8);
  return wide(type::Double, b);
}
ArgRecord byteSet(ByteSet b) { return {reinterpret_cast<Word>(b), 0, type::ByteSet}; }
ArgRecord byRef(TypeWord t, void* variable) { return {reinterpret_cast<Word>(variable), 0, t | type::ByRef}; }
ArgRecord arrayOf(TypeWord t, void* block) { return {reinterpret_cast<Word>(block), 0, t | type::ArrayFlag | type::ByRef}; }

ResultRecord call(LibraryCommand cmd, std::vector<ArgRecord> args) {
  ResultRecord r{};
  cmd(&r, int(args.size()), args.data());
  return r;
}

int32_t intResult(LibraryCommand cmd, std::vector<ArgRecord> args) { return int32_t(uint32_t(call(cmd, args).low)); }

// A text result's bytes ("<null>" for null); the block is freed.
std::string textResult(LibraryCommand cmd, std::vector<ArgRecord> args) {
  char* t = reinterpret_cast<char*>(call(cmd, args).low);
  std::string s = t ? t : "<null>";
  FreeMemory(t);
  return s;
}

std::string bytesResult(LibraryCommand cmd, std::vector<ArgRecord> args) {
  auto b = reinterpret_cast<ByteSet>(call(cmd, args).low);
  std::string s = b ? std::string(reinterpret_cast<char*>(byteSetData(b)), b->length) : "<null>";
  FreeMemory(b);
  return s;
}

TEST(CoreTextCommands, LengthsAndCuts) {
  EXPECT_EQ(intResult(&TextLength, {text("中a")}), 3);
  EXPECT_EQ(intResult(&TextLength, {text(nullptr)}), 0);
  EXPECT_EQ(textResult(&TextMiddle, {text("abcdef"), integer(5), integer(10)}), "ef");
  EXPECT_EQ(textResult(&TextMiddle, {text("abcdef"), integer(0), integer(2)}), "<null>");
  EXPECT_EQ(textResult(&TextLeft, {text("abc"), integer(5)}), "abc");
  EXPECT_EQ(textResult(&TextLeft, {text("abc"), integer(0)}), "<null>");
  EXPECT_EQ(textResult(&TextRight, {text("abc"), integer(2)}), "bc");
  EXPECT_EQ(textResult(&TextLeft, {text("中"), integer(1)}), "\xD6") << "cuts count plain bytes";
  EXPECT_EQ(textResult(&CharFromCode, {integer(65)}), "A");
  EXPECT_EQ(textResult(&CharFromCode, {integer(0)}), "<null>");
  EXPECT_EQ(textResult(&BlankText, {integer(3)}), "   ");
  EXPECT_EQ(textResult(&BlankText, {integer(0)}), "<null>");
}

TEST(CoreTextCommands, FindWithOmittedArguments) {
  EXPECT_EQ(intResult(&FindText, {text("ABCabc"), text("abc"), omitted(), logical(true)}), 1);
  EXPECT_EQ(intResult(&FindText, {text("ABCabc"), text("abc"), omitted(), omitted()}), 4);
  EXPECT_EQ(intResult(&FindText, {text("ABCabc"), text("abc")}), 4);
  EXPECT_EQ(intResult(&FindText, {text("abc"), text("c"), integer(4)}), -1);
  EXPECT_EQ(intResult(&FindText, {text("abcabc"), text("a"), integer(-5)}), 1) << "negative start is 1";
  EXPECT_EQ(intResult(&FindTextBackward, {text("a,b,c"), text(","), omitted(), omitted()}), 4);
  EXPECT_EQ(intResult(&FindTextBackward, {text("a,b,c"), text(","), integer(4)}), 2);
  EXPECT_EQ(intResult(&FindTextBackward, {text("a,b,c"), text(","), integer(0)}), -1);
}

TEST(CoreTextCommands, ReplaceWithOmittedArguments) {
  ArgRecord sensitive = logical(true);
  EXPECT_EQ(textResult(&ReplaceSubText, {text("aXbXc"), text("X"), text("--"), omitted(), omitted(), sensitive}),
            "a--b--c");
  EXPECT_EQ(textResult(&ReplaceSubText, {text("aXbXc"), text("X"), text("--"), omitted(), integer(1), sensitive}),
            "a--bXc");
  EXPECT_EQ(textResult(&ReplaceSubText, {text("aXbXc"), text("X"), text("--"), integer(3), omitted(), sensitive}),
            "aXb--c");
  EXPECT_EQ(textResult(&ReplaceSubText, {text("aXbxc"), text("x"), omitted(), integer(0), omitted(), logical(false)}),
            "abc");
  EXPECT_EQ(textResult(&ReplaceSubText, {text("xx"), text("x"), omitted(), omitted(), omitted(), sensitive}),
            "<null>");
}

TEST(CoreTextCommands, SplitWithOmittedArguments) {
  auto parts = [](std::vector<ArgRecord> args) {
    auto a = reinterpret_cast<ArrayBlock>(call(&SplitText, args).low);
    std::vector<std::string> out;
    EXPECT_NE(a, nullptr);
    if (!a) return out;
    Text* e = static_cast<Text*>(ArrayElements(a));
    for (uint32_t i = 0; i < a[1]; ++i) out.push_back(e[i] ? e[i] : "<null>");
    FreeTextArray(a);
    return out;
  };
  using P = std::vector<std::string>;
  EXPECT_EQ(parts({text(",a,,b,"), omitted(), omitted()}), (P{"<null>", "a", "<null>", "b"}));
  EXPECT_EQ(parts({text(",a,,b,"), text(","), integer(2)}), (P{"<null>", "a"}));
  EXPECT_EQ(parts({text("a,b"), omitted(), integer(-3)}), P{}) << "a negative maximum is 0";
  EXPECT_EQ(parts({text(""), omitted(), omitted()}), P{});
}

TEST(CoreTextCommands, SpacesAndCase) {
  EXPECT_EQ(textResult(&TrimSpaces, {text("\xA1\xA1\tx ")}), "\tx");
  EXPECT_EQ(textResult(&RemoveAllSpaces, {text("a \xA1\xA1 b")}), "ab");
  EXPECT_EQ(textResult(&ToLowerCase, {text("HTTPS中")}), "https中");
}

TEST(CoreConversions, ToInteger) {
  EXPECT_EQ(intResult(&ToInteger, {text("１２３")}), 123);
  EXPECT_EQ(intResult(&ToInteger, {real(3.9)}), 3);
  EXPECT_EQ(intResult(&ToInteger, {real(-3.9)}), -3);
  EXPECT_EQ(intResult(&ToInteger, {real(1e12)}), INT32_MAX);
  EXPECT_EQ(intResult(&ToInteger, {real(std::nan(""))}), 0);
  float f = -2.5f;
  uint32_t fb;
  memcpy(&fb, &f, 4);
  EXPECT_EQ(intResult(&ToInteger, {wide(type::Single, fb)}), -2);
  EXPECT_EQ(intResult(&ToInteger, {wide(type::Short, 0xFFFE)}), -2) << "short is sign-extended";
  EXPECT_EQ(intResult(&ToInteger, {wide(type::Long, 0x100000005ull)}), 5) << "long keeps the low 32 bits";
  EXPECT_EQ(intResult(&ToInteger, {wide(type::DateTime, 0)}), 0);
  int32_t var = 77;
  EXPECT_EQ(intResult(&ToInteger, {byRef(type::Int, &var)}), 77);
  const char* tv = "-4";
  EXPECT_EQ(intResult(&ToInteger, {byRef(type::Text, &tv)}), -4);
}

TEST(CoreConversions, ToText) {
  EXPECT_EQ(textResult(&ToText, {real(0.5)}), "0.5");
  EXPECT_EQ(textResult(&ToText, {wide(type::DateTime, 0x3FE0000000000000ull)}), "1899年12月30日12时");
  EXPECT_EQ(textResult(&ToText, {logical(true)}), "真");
  EXPECT_EQ(textResult(&ToText, {text("")}), "<null>");
  const char* source = "keep";
  char* copy = reinterpret_cast<char*>(call(&ToText, {text(source)}).low);
  EXPECT_NE(copy, source) << "a text is copied, not lent back";
  EXPECT_STREQ(copy, "keep");
  FreeMemory(copy);

  ByteSet b = MakeByteSet("ab\0cd", 5);
  EXPECT_EQ(textResult(&ToText, {byteSet(b)}), "ab");
  FreeMemory(b);
  EXPECT_EQ(textResult(&ToText, {byteSet(nullptr)}), "<null>");

  uint32_t ints[] = {1, 2, 0x00636261, 0x64};  // "abc\0d\0\0\0" after the header
  EXPECT_EQ(textResult(&ToText, {arrayOf(type::Int, ints)}), "abc");
  uint32_t logicals[] = {1, 1, 1};
  EXPECT_EQ(textResult(&ToText, {arrayOf(type::Logical, logicals)}), "<null>");
  EXPECT_EQ(textResult(&ToText, {{0x52000001, 0x16000001, type::WindowUnit}}), "<null>");
}

TEST(CoreConversions, ToByteSet) {
  EXPECT_EQ(bytesResult(&ToByteSet, {text("abc")}), "abc");
  EXPECT_EQ(bytesResult(&ToByteSet, {text("")}), "<null>");
  EXPECT_EQ(bytesResult(&ToByteSet, {integer(0x04030201)}), "\x01\x02\x03\x04");
  EXPECT_EQ(bytesResult(&ToByteSet, {real(1.0)}), std::string("\0\0\0\0\0\0\xF0\x3F", 8));
  ByteSet b = MakeByteSet("xy", 2);
  EXPECT_EQ(bytesResult(&ToByteSet, {byteSet(b)}), "xy");
  FreeMemory(b);
  alignas(4) uint16_t shorts[] = {1, 0, 2, 0, 0x4241, 0x4443};  // dims 1, count 2, then two shorts
  EXPECT_EQ(bytesResult(&ToByteSet, {arrayOf(type::Short, shorts)}), "ABCD");
  uint32_t texts[] = {1, 0};
  EXPECT_EQ(bytesResult(&ToByteSet, {arrayOf(type::Text, texts)}), "<null>");
  EXPECT_EQ(bytesResult(&ToByteSet, {{0, 0, type::Object}}), "<null>");
}

TEST(CoreByteSetCommands, LengthLeftBlank) {
  ByteSet b = MakeByteSet("abcd", 4);
  EXPECT_EQ(intResult(&ByteSetLength, {byteSet(b)}), 4);
  EXPECT_EQ(intResult(&ByteSetLength, {byteSet(nullptr)}), 0);
  EXPECT_EQ(bytesResult(&ByteSetLeft, {byteSet(b), integer(2)}), "ab");
  EXPECT_EQ(bytesResult(&ByteSetLeft, {byteSet(b), integer(9)}), "abcd");
  EXPECT_EQ(bytesResult(&ByteSetLeft, {byteSet(b), integer(0)}), "<null>");
  FreeMemory(b);
  EXPECT_EQ(bytesResult(&BlankByteSet, {integer(3)}), std::string(3, '\0'));
  EXPECT_EQ(bytesResult(&BlankByteSet, {integer(0)}), "<null>");
}

TEST(CoreByteSetCommands, GetByteSetDataTypesAndPositions) {
  ByteSet two = MakeByteSet("\x34\x12", 2);
  ResultRecord r = call(&GetByteSetData, {byteSet(two), integer(3)});
  EXPECT_EQ(r.type, type::Int);
  EXPECT_EQ(r.low, 0x1234u) << "two bytes zero-extended";
  r = call(&GetByteSetData, {byteSet(two), integer(1), integer(2)});
  EXPECT_EQ(r.type, type::Byte);
  EXPECT_EQ(r.low, 0x12u);
  r = call(&GetByteSetData, {byteSet(two), integer(3), integer(0)});
  EXPECT_EQ(r.low, 0u) << "position 0 reads nothing";
  FreeMemory(two);

  // A record of an integer, a logical word 5, a text and a short, read in turn
  // through a position variable.
  const char raw[] = "\x07\x00\x00\x00" "\x05\x00\x00\x00" "hi\0" "\x09\x00";
  ByteSet rec = MakeByteSet(raw, sizeof raw - 1);
  int32_t pos = 1;
  r = call(&GetByteSetData, {byteSet(rec), integer(3), byRef(type::Int, &pos)});
  EXPECT_EQ(r.low, 7u);
  EXPECT_EQ(pos, 5);
  r = call(&GetByteSetData, {byteSet(rec), integer(7), byRef(type::Int, &pos)});
  EXPECT_EQ(r.low, 1u) << "logical stored as 1";
  EXPECT_EQ(r.type, type::Logical);
  EXPECT_EQ(pos, 9);
  r = call(&GetByteSetData, {byteSet(rec), integer(10), byRef(type::Int, &pos)});
  EXPECT_EQ(r.type, type::Text);
  EXPECT_STREQ(reinterpret_cast<char*>(r.low), "hi");
  FreeMemory(reinterpret_cast<void*>(r.low));
  EXPECT_EQ(pos, 12) << "past the text and its zero";
  r = call(&GetByteSetData, {byteSet(rec), integer(2), byRef(type::Int, &pos)});
  EXPECT_EQ(r.low, 9u);
  EXPECT_EQ(pos, -1) << "the end was reached";
  r = call(&GetByteSetData, {byteSet(rec), integer(10), byRef(type::Int, &pos)});
  EXPECT_EQ(r.low, 0u) << "after the end: null";
  EXPECT_EQ(pos, -1);
  FreeMemory(rec);

  r = call(&GetByteSetData, {byteSet(nullptr), integer(10)});
  EXPECT_EQ(r.low, 0u);
  EXPECT_EQ(r.type, type::Text);
}

TEST(CoreByteSetCommands, GetByteSetDataRejectsUnknownTypeCodes) {
  testing::FatalTrap trap;
  ByteSet b = MakeByteSet("abcd", 4);
  for (int code : {0, 11, -1}) {
    try {
      call(&GetByteSetData, {byteSet(b), integer(code)});
      ADD_FAILURE() << "type code " << code << " accepted";
    } catch (const testing::FatalError& e) {
      EXPECT_STREQ(e.what(), "“欲取出数据的类型”参数值无效");
      EXPECT_EQ(e.code, 0);
    }
  }
  FreeMemory(b);
}

TEST(CoreNumbers, BitOr) {
  EXPECT_EQ(intResult(&BitOr, {integer(1), integer(2), integer(0x40000000)}), 0x40000003);
  EXPECT_EQ(intResult(&BitOr, {integer(-7)}), -7);
}

TEST(CoreMessageBoxArguments, StyleCaptionOwnerAndText) {
  MessageBoxRequest m = PrepareMessageBox(2, std::vector<ArgRecord>{text("hi"), integer(0)}.data());
  EXPECT_EQ(m.text, "hi");
  EXPECT_EQ(m.style, kTaskModal);
  EXPECT_EQ(m.caption, "信息：");
  EXPECT_FALSE(m.ownerIsUnit);
  EXPECT_EQ(m.ownerHandle, 0u);

  std::vector<ArgRecord> a = {real(2.5), integer(kSystemModal | 4), text("T"), integer(0x1234)};
  m = PrepareMessageBox(4, a.data());
  EXPECT_EQ(m.text, "2.5");
  EXPECT_EQ(m.style, kSystemModal | 4) << "system-modal is not made task-modal";
  EXPECT_EQ(m.caption, "T");
  EXPECT_EQ(m.ownerHandle, 0x1234u);

  a = {byteSet(nullptr), integer(4), omitted(), {0x5201EA05, 0x0601EA05, type::WindowUnit}};
  m = PrepareMessageBox(4, a.data());
  EXPECT_EQ(m.text, "");
  EXPECT_EQ(m.caption, "信息：");
  EXPECT_TRUE(m.ownerIsUnit);
  EXPECT_EQ(m.windowId, 0x5201EA05u);
}

TEST(CoreCommandTable, NamesReachTheRoutines) {
  EXPECT_EQ(FindCoreCommand("SplitText"), &SplitText);
  EXPECT_EQ(FindCoreCommand("GetByteSetData"), &GetByteSetData);
  EXPECT_EQ(FindCoreCommand("LoadWindow"), nullptr);
  for (size_t i = 0; i < kCoreCommandCount; ++i) EXPECT_NE(kCoreCommands[i].routine, nullptr);
}

}  // namespace
}  // namespace lw::core
