// Reading the notice page: which pages let the tool start, which take the update
// path, and which download addresses may be handed to the shell.
#include "app/update_notice.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using app::readUpdateNotice;

TEST(UpdateNotice, OwnVersionStartsNormally) {
  const char* const pages[] = {
      "版本：3.1#",
      "<html><p>版本： 3.1 #</p><p>下载地址：http://example.org/new.zip#</p></html>",
      "版本：　3.1　#",  // full-width spaces around the version
      "版本：3.1#版本：3.2#",  // only the first marker counts
      "版本：3.1\r\n#",        // a page written by hand: the line break before "#"
      "版本：\t3.1\t#",
      "版本：\r\n 　3.1　\r\n\t #",  // breaks, tabs and both kinds of space, mixed
  };
  for (const char* page : pages) {
    app::UpdateNotice n = readUpdateNotice(page);
    EXPECT_FALSE(n.update) << "for " << page;
    EXPECT_EQ("3.1", n.version) << "for " << page;
  }
  EXPECT_STREQ("3.1", app::kOwnVersion);
}

TEST(UpdateNotice, AnotherVersionTakesTheUpdatePath) {
  app::UpdateNotice n = readUpdateNotice("公告\r\n版本：3.2#\r\n下载地址：\r\n http://example.org/lw.zip \r\n#\r\n");
  EXPECT_TRUE(n.update);
  EXPECT_EQ("3.2", n.version);
  EXPECT_EQ("http://example.org/lw.zip", n.download);
  EXPECT_TRUE(n.openDownload);
  EXPECT_STREQ("修复BUG，请下载最新版！", app::kUpdateMessage);

  // Compared as text: a longer, older or malformed version is simply another one.
  const char* const different[] = {"版本：3.10#", "版本：3.0#", "版本：v3.1#", "版本：3.1\r\n3#", "版本：3. 1#"};
  for (const char* page : different) EXPECT_TRUE(readUpdateNotice(page).update) << "for " << page;
}

TEST(UpdateNotice, PageThatNamesNoVersionStartsNormally) {
  // Unreachable or empty (the fetch gives nothing), a page without the marker, a
  // marker without its "#", an empty or blank version: nothing to act on.
  const char* const pages[] = {
      nullptr, "", "<html>404 Not Found</html>", "版本：3.2", "版本：3.2\r\n下载地址：http://x/",
      "版本：#下载地址：http://example.org/#", "版本：  #", "版本：\r\n\t#", "版本3.2#",
  };
  for (const char* page : pages) {
    app::UpdateNotice n = readUpdateNotice(page);
    EXPECT_FALSE(n.update) << "for " << (page ? page : "<null>");
    EXPECT_FALSE(n.openDownload) << "for " << (page ? page : "<null>");
  }
}

TEST(UpdateNotice, OnlyWebAddressesAreOpened) {
  struct Case {
    const char* download;
    bool opened;
  };
  const Case cases[] = {
      {"http://example.org/a.zip", true},
      {"HTTPS://example.org/a.zip", true},
      {"hTtP://example.org", true},
      {"https://", true},  // the shell gets an empty web address, harmlessly
      {"C:\\windows\\system32\\calc.exe", false},
      {"file:///C:/evil.exe", false},
      {"\\\\server\\share\\setup.exe", false},
      {"httpx://example.org", false},
      {"http:/example.org", false},
      {"ftp://example.org/a.zip", false},
      {"www.example.org", false},
      {"", false},
  };
  for (const Case& c : cases) {
    std::string page = std::string("版本：3.2#下载地址：") + c.download + "#";
    app::UpdateNotice n = readUpdateNotice(page.c_str());
    EXPECT_TRUE(n.update) << "for " << c.download;
    EXPECT_EQ(c.opened, n.openDownload) << "for " << c.download;
  }
  // No download marker at all: the update path without an address to open.
  app::UpdateNotice n = readUpdateNotice("版本：3.2#");
  EXPECT_TRUE(n.update);
  EXPECT_EQ("", n.download);
  EXPECT_FALSE(n.openDownload);
}

}  // namespace
