// The regex object against the platform's regular-expression component, reached
// through the automation commands and the program's DLL commands.
#include <gtest/gtest.h>

#include <string>

#include "regex/regex_object.h"
#include "runtime/core/automation_commands_win.h"
#include "runtime/core/memory.h"
#include "runtime/core/values.h"
#include "tests/support/program_dll_table_win.h"

namespace regex {
namespace {

std::string take(lw::Text t) {
  std::string s = t ? t : "";
  lw::FreeMemory(t);
  return s;
}

// One instance per test, with the pattern and subject kept in variables as the
// application keeps them (execute takes them by reference).
class Regex : public ::testing::Test {
 protected:
  void SetUp() override {
    lw::testing::InstallProgramDllTable();
    re = CreateRegexObject();
  }
  void TearDown() override {
    FreeRegexObject(re);
    lw::FreeMemory(pattern);
    lw::FreeMemory(subject);
  }
  bool run(const char* p, const char* s, const bool* caseSensitive = nullptr, const bool* multiline = nullptr,
           const bool* global = nullptr, const bool* quoteEscape = nullptr) {
    lw::FreeMemory(pattern);
    lw::FreeMemory(subject);
    pattern = lw::CopyText(p);
    subject = lw::CopyText(s);
    return re->ops->execute(re, &pattern, &subject, caseSensitive, multiline, global, quoteEscape);
  }
  std::string match(int32_t k, int32_t* position = nullptr) { return take(re->ops->matchText(re, k, position)); }
  std::string group(int32_t k, int32_t j, int32_t* position = nullptr) {
    return take(re->ops->subMatchText(re, k, j, position));
  }
  double component(const char* property) { return lw::automation::readNumber(re->regExp, property); }

  RegexObject* re = nullptr;
  lw::Text pattern = nullptr;
  lw::Text subject = nullptr;
};

TEST_F(Regex, NothingBeforeTheFirstExecute) {
  EXPECT_TRUE(lw::automation::isObjectEmpty(re->regExp));
  EXPECT_EQ(take(re->ops->getPattern(re)), "");
  EXPECT_EQ(re->ops->matchCount(re), 0);
  EXPECT_EQ(re->ops->subMatchCount(re), 0);
  int32_t position = 99;
  EXPECT_EQ(match(1, &position), "");
  EXPECT_EQ(position, -2);
  EXPECT_EQ(take(re->ops->replace(re, nullptr)), "");
  re->ops->noOperation(re);
}

TEST_F(Regex, DefaultsIgnoreCaseMultilineGlobal) {
  ASSERT_TRUE(run("^b", "a\nB\nb"));
  EXPECT_EQ(component("IgnoreCase"), -1.0);
  EXPECT_EQ(component("Multiline"), -1.0);
  EXPECT_EQ(component("Global"), -1.0);
  EXPECT_EQ(re->ops->matchCount(re), 2) << "both line starts, either letter case";
  EXPECT_EQ(take(re->ops->getPattern(re)), "^b");

  bool yes = true, no = false;
  ASSERT_TRUE(run("^b", "a\nB\nb", &yes));
  EXPECT_EQ(component("IgnoreCase"), 0.0);
  EXPECT_EQ(re->ops->matchCount(re), 1);
  ASSERT_TRUE(run("^b", "a\nB\nb", nullptr, &no));
  EXPECT_EQ(re->ops->matchCount(re), 0) << "without multi-line only the subject's start counts";
  ASSERT_TRUE(run("b", "bbb", nullptr, nullptr, &no));
  EXPECT_EQ(re->ops->matchCount(re), 1);
}

TEST_F(Regex, PositionsAreByteOffsetsIntoTheGbkSubject) {
  ASSERT_TRUE(run("x", "中文x"));
  lw::ObjectRef m = lw::automation::readObject(re->matches, "Item", {lw::arg::integer(0)});
  EXPECT_EQ(lw::automation::readNumber(m, "FirstIndex"), 2.0);
  lw::automation::freeObject(m);
  int32_t position = -1;
  EXPECT_EQ(match(1, &position), "x");
  EXPECT_EQ(position, 4);

  // Two equal matches in a row each keep their own offset.
  ASSERT_TRUE(run("a", "中文aa"));
  EXPECT_EQ(match(1, &position), "a");
  EXPECT_EQ(position, 4);
  EXPECT_EQ(match(2, &position), "a");
  EXPECT_EQ(position, 5);

  // Match texts come back through code page 936.
  ASSERT_TRUE(run("标题\\[([^\\]]*)\\]", "一标题[你好]二"));
  EXPECT_EQ(match(1, &position), "标题[你好]");
  EXPECT_EQ(position, 2);
  EXPECT_EQ(group(1, 1, &position), "你好");
  EXPECT_EQ(position, 7);
  EXPECT_EQ(match(2, &position), "") << "no such match";
  EXPECT_EQ(position, -2);
}

// The component sees exactly the subject's characters: a terminating unit handed
// over with them would be one more character, before which "$" stops and which
// "[^x]" matches. Run with and without multi-line, as "$" reads either way.
TEST_F(Regex, SubjectEndsWithItsLastCharacter) {
  struct Case {
    const char* pattern;
    const char* subject;
    int32_t count;
    const char* first;  // the first match's text
    int32_t position;   // its 0-based byte offset in the GBK subject
    const char* why;
  };
  const Case cases[] = {
      {"c$", "abc", 1, "c", 2, "\"$\" at the subject's end, the third byte"},
      {"c[^x]", "abc", 0, "", -2, "no character follows the last one"},
      {"c$", "中文abc", 1, "c", 6, "after two double-byte characters: the seventh byte"},
  };
  bool no = false;
  for (const bool* multiline : {static_cast<const bool*>(nullptr), static_cast<const bool*>(&no)}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.pattern) + " in " + c.subject + (multiline ? ", single-line" : ", multi-line"));
      ASSERT_TRUE(run(c.pattern, c.subject, nullptr, multiline));
      EXPECT_EQ(re->ops->matchCount(re), c.count) << c.why;
      int32_t position = 99;
      EXPECT_EQ(match(1, &position), c.first) << c.why;
      EXPECT_EQ(position, c.position) << c.why;
    }
  }
}

TEST_F(Regex, SubMatchesCountFromOne) {
  ASSERT_TRUE(run("(\\d+)-(x)?", "12- 345-x"));
  EXPECT_EQ(re->ops->matchCount(re), 2);
  EXPECT_EQ(re->ops->subMatchCount(re), 2);
  int32_t position = 0;
  EXPECT_EQ(group(1, 1), "12");
  EXPECT_EQ(group(2, 1, &position), "345");
  EXPECT_EQ(position, 4);
  EXPECT_EQ(group(2, 2, &position), "x");
  EXPECT_EQ(position, 8);
  EXPECT_EQ(group(1, 2), "") << "a group that took no part";
  EXPECT_EQ(group(1, 3), "") << "beyond the groups";
  EXPECT_EQ(group(3, 1), "") << "beyond the matches";
}

TEST_F(Regex, RejectedPatternFindsNothing) {
  EXPECT_FALSE(run("(", "abc"));
  EXPECT_EQ(re->ops->matchCount(re), 0);
  EXPECT_EQ(re->ops->subMatchCount(re), 0);
  EXPECT_EQ(match(1), "");
  ASSERT_TRUE(run("z", "abc"));
  EXPECT_EQ(re->ops->matchCount(re), 0) << "a pattern that finds nothing still gives a collection";
  EXPECT_EQ(re->ops->subMatchCount(re), 0);
}

TEST_F(Regex, SecondExecuteDiscardsTheFirst) {
  ASSERT_TRUE(run("a(a)", "aaaa", nullptr, nullptr, nullptr, nullptr));
  EXPECT_EQ(re->ops->matchCount(re), 2);
  bool yes = true;
  ASSERT_TRUE(run("b", "中xb", &yes));
  EXPECT_EQ(re->ops->matchCount(re), 1);
  EXPECT_EQ(re->ops->subMatchCount(re), 0);
  int32_t position = 0;
  EXPECT_EQ(match(1, &position), "b");
  EXPECT_EQ(position, 3);
  EXPECT_EQ(take(re->ops->getPattern(re)), "b");
  lw::Text with = lw::CopyText("[]");
  EXPECT_EQ(take(re->ops->replace(re, &with)), "中x[]");
  lw::FreeMemory(with);
  EXPECT_EQ(take(re->ops->replace(re, nullptr)), "中x");
}

TEST_F(Regex, QuotePlaceholderReachesTheComponentOnlyWhenAsked) {
  bool yes = true;
  ASSERT_TRUE(run("a#引号b", "a\"b", nullptr, nullptr, nullptr, &yes));
  EXPECT_EQ(take(re->ops->getPattern(re)), "a\"b");
  EXPECT_EQ(re->ops->matchCount(re), 1);
  ASSERT_TRUE(run("a#引号b", "a\"b"));
  EXPECT_EQ(take(re->ops->getPattern(re)), "a#引号b");
  EXPECT_EQ(re->ops->matchCount(re), 0);
}

TEST_F(Regex, CopySharesTheComponent) {
  ASSERT_TRUE(run("o", "foo"));
  RegexObject* c = re->ops->copy(re);
  EXPECT_EQ(c->regExp->iface, re->regExp->iface);
  EXPECT_EQ(c->ops->matchCount(c), 2);
  EXPECT_EQ(take(c->ops->replace(c, nullptr)), "f");
  FreeRegexObject(c);
  EXPECT_EQ(re->ops->matchCount(re), 2) << "the original keeps its references";
}

TEST(RegexWideBytes, CodePage936RoundTrip) {
  lw::testing::InstallProgramDllTable();
  lw::ByteSet b = toWideBytes("中a");
  ASSERT_NE(b, nullptr);
  const uint8_t expected[] = {0x2D, 0x4E, 0x61, 0x00, 0x00, 0x00};
  ASSERT_EQ(b->length, sizeof expected) << "with the terminating unit";
  EXPECT_EQ(0, memcmp(lw::byteSetData(b), expected, sizeof expected));
  EXPECT_EQ(take(fromWideBytes(b)), "中a");
  lw::FreeMemory(b);
  EXPECT_EQ(toWideBytes(""), nullptr);
  EXPECT_EQ(toWideBytes(nullptr), nullptr);

  // A trailing odd byte is dropped; the text ends at the first NUL.
  const uint8_t odd[] = {0x41, 0x00, 0x42, 0x00, 0x00, 0x00, 0x43, 0x00, 0x44};
  lw::ByteSet o = lw::MakeByteSet(odd, sizeof odd);
  EXPECT_EQ(take(fromWideBytes(o)), "AB");
  lw::FreeMemory(o);
  EXPECT_EQ(fromWideBytes(nullptr), nullptr);
}

}  // namespace
}  // namespace regex
