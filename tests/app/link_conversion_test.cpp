// Reading pasted post addresses into the program state, and the two share addresses.
#include "app/link_conversion.h"

#include <gtest/gtest.h>

#include <string>

#include "app/endpoints.h"
#include "app/program_state.h"
#include "runtime/core/values/memory.h"
#include "tests/support/share_addresses.h"

namespace {

using app::PastedPost;
using app::g_state;

std::string take(lw::Text t) {
  std::string s = t ? std::string(t) : std::string();
  lw::FreeMemory(t);
  return s;
}
std::string str(const char* t) { return t ? std::string(t) : std::string(); }

using lw::testing::kBlog12345_678;
using lw::testing::kMood12345_9ab;

struct PastedAddress : ::testing::Test {
  void TearDown() override { app::CleanupProgramState(); }
};

TEST_F(PastedAddress, WorkedResultsByteForByte) {
  EXPECT_EQ(kBlog12345_678, take(app::blogShareAddress("12345", "678")));
  EXPECT_EQ(kMood12345_9ab, take(app::moodShareAddress("12345", "9ab")));
  // Values go in as they are, unescaped; empty values leave their slots empty.
  EXPECT_NE(std::string::npos, take(app::blogShareAddress("1 2", "a&b")).find("res_uin=1 2&cellid=a&b&subid="));
  EXPECT_NE(std::string::npos, take(app::blogShareAddress(nullptr, nullptr)).find("res_uin=&cellid=&subid="));
}

TEST_F(PastedAddress, BlogPost) {
  EXPECT_EQ(PastedPost::Blog, app::readPastedAddress("http://user.qzone.qq.com/12345/blog/678"));
  EXPECT_EQ("12345", str(g_state.ownerNumber));
  EXPECT_EQ("678", str(g_state.postId));
  EXPECT_EQ("http://user.qzone.qq.com/12345/blog/678.1", str(g_state.suffixedAddress));

  // The first ".1" ends the id.
  EXPECT_EQ(PastedPost::Blog, app::readPastedAddress("http://user.qzone.qq.com/12345/blog/678.1x"));
  EXPECT_EQ("678", str(g_state.postId));
  // Only the first "com/" counts.
  EXPECT_EQ(PastedPost::Blog, app::readPastedAddress("http://a.com/1/blog/2?r=http://b.com/3/"));
  EXPECT_EQ("1", str(g_state.ownerNumber));
  EXPECT_EQ("2", str(g_state.postId));
}

TEST_F(PastedAddress, RealAddressesKeepTheirQueryAndFragmentOutOfTheIds) {
  struct Case {
    const char* pasted;
    PastedPost post;
    const char* owner;
    const char* id;
  };
  const Case cases[] = {
      {"http://user.qzone.qq.com/123456789/blog/1368429120?ptlang=2052", PastedPost::Blog, "123456789", "1368429120"},
      {"http://user.qzone.qq.com/123456789/blog/1368429120#comment", PastedPost::Blog, "123456789", "1368429120"},
      {"http://user.qzone.qq.com/123456789/blog/1368429120/", PastedPost::Blog, "123456789", "1368429120"},
      {"http://user.qzone.qq.com/123456789/blog/1368429120&via=qq", PastedPost::Blog, "123456789", "1368429120"},
      {"http://user.qzone.qq.com/123456789/blog/1368429120 \r\n", PastedPost::Blog, "123456789", "1368429120"},
      {"http://user.qzone.qq.com/123456789/blog/13684\t29120", PastedPost::Blog, "123456789", "13684"},
      {"http://user.qzone.qq.com/12345/mood/9ab?source=qq", PastedPost::Mood, "12345", "9ab"},
      {"http://user.qzone.qq.com/12345/mood/9ab#ok.1", PastedPost::Mood, "12345", "9ab"},
      {"http://user.qzone.qq.com/12345/mood/9ab.1?x", PastedPost::Mood, "12345", "9ab"},  // ".1" still ends it
      {"http://user.qzone.qq.com/12345/mood/9ab/", PastedPost::Mood, "12345", "9ab"},
      // What is left empty by the cut is the input error.
      {"http://user.qzone.qq.com/12345/blog/?ptlang=2052", PastedPost::InputError, "12345", ""},
      {"http://user.qzone.qq.com/12345/blog/#comment", PastedPost::InputError, "12345", ""},
      {"http://user.qzone.qq.com/12345/mood/?x", PastedPost::InputError, "12345", ""},
      {"http://user.qzone.qq.com/?uin=1/blog/678", PastedPost::InputError, "", nullptr},
      {"http://user.qzone.qq.com/ 12345/blog/678", PastedPost::InputError, "", nullptr},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.post, app::readPastedAddress(c.pasted)) << "for " << c.pasted;
    EXPECT_EQ(c.owner, str(g_state.ownerNumber)) << "for " << c.pasted;
    if (c.id) EXPECT_EQ(c.id, str(g_state.postId)) << "for " << c.pasted;
  }
}

TEST_F(PastedAddress, MoodPostWithOrWithoutTheEndMark) {
  EXPECT_EQ(PastedPost::Mood, app::readPastedAddress("http://user.qzone.qq.com/12345/mood/9ab.1"));
  EXPECT_EQ("12345", str(g_state.ownerNumber));
  EXPECT_EQ("9ab", str(g_state.postId));
  EXPECT_EQ("", str(g_state.suffixedAddress)) << "expected the mood case to leave suffixedAddress alone";

  // Without ".1" the id runs to the end of the address.
  EXPECT_EQ(PastedPost::Mood, app::readPastedAddress("http://user.qzone.qq.com/12345/mood/9ab"));
  EXPECT_EQ("9ab", str(g_state.postId));
  EXPECT_EQ(PastedPost::Mood, app::readPastedAddress("http://user.qzone.qq.com/12345/mood/9a.1b.1"));
  EXPECT_EQ("9a", str(g_state.postId));
}

TEST_F(PastedAddress, AddressesThatNameNoPostAreInputErrors) {
  const char* const bad[] = {
      "",                                          // empty 链接框
      "http://user.qzone.qq.com/12345",            // no "/" after the number
      "http://user.qzone.qq.com/12345/blog/",      // blog without an id
      "http://user.qzone.qq.com/12345/blog/.1",    // blog id empty before the end mark
      "http://user.qzone.qq.com/12345/mood/.1",    // mood id empty before the end mark
      "http://user.qzone.qq.com/12345/photo/77",   // neither blog nor mood
      "http://user.qzone.qq.com/12345/Blog/678",   // "Blog" is no blog, and there is no "mood/"
      "http://user.qzone.qq.com//blog/678",        // empty owner number
      "blog/678 mood/9ab",                         // no "com/"
  };
  for (const char* address : bad)
    EXPECT_EQ(PastedPost::InputError, app::readPastedAddress(address)) << "for " << address;
  EXPECT_EQ(PastedPost::InputError, app::readPastedAddress(nullptr));
}

TEST_F(PastedAddress, AFailedConversionStillLeavesItsStateTexts) {
  ASSERT_EQ(PastedPost::Blog, app::readPastedAddress("http://q.com/55/blog/678"));
  ASSERT_EQ(PastedPost::InputError, app::readPastedAddress("http://q.com/56/blog/"));
  EXPECT_EQ("56", str(g_state.ownerNumber));
  EXPECT_EQ("", str(g_state.postId));
  EXPECT_EQ("http://q.com/56/blog/.1", str(g_state.suffixedAddress));

  ASSERT_EQ(PastedPost::InputError, app::readPastedAddress("http://q.com/photo"));
  EXPECT_EQ("", str(g_state.ownerNumber));
  EXPECT_EQ("http://q.com/56/blog/.1", str(g_state.suffixedAddress)) << "expected only the blog case to write it";
}

}  // namespace
