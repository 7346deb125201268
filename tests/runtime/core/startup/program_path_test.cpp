#include "runtime/core/startup/program_path.h"

#include <gtest/gtest.h>

namespace lw {
namespace {

struct Split {
  std::string dir, file;
};
Split split(const char* path) {
  Split s;
  SplitProgramPath(path, &s.dir, &s.file);
  return s;
}

TEST(ProgramPath, SplitsAtTheLastBackslash) {
  Split s = split("C:\\Program Files\\Linkwright\\linkwright.exe");
  EXPECT_EQ(s.dir, "C:\\Program Files\\Linkwright");
  EXPECT_EQ(s.file, "linkwright.exe");
}

TEST(ProgramPath, WithoutBackslashTheDirectoryIsEmpty) {
  Split s = split("linkwright.exe");
  EXPECT_EQ(s.dir, "");
  EXPECT_EQ(s.file, "linkwright.exe");
}

TEST(ProgramPath, ATrailByteEqualToBackslashIsNoSeparator) {
  // 0x81 0x5C is one two-byte character whose second byte is '\'.
  Split s = split("C:\\tools\\\x81\x5C" "dir\\lw.exe");
  EXPECT_EQ(s.dir, "C:\\tools\\\x81\x5C" "dir");
  EXPECT_EQ(s.file, "lw.exe");
  s = split("C:\\a\\\x81\x5C");
  EXPECT_EQ(s.dir, "C:\\a");
  EXPECT_EQ(s.file, "\x81\x5C");
}

TEST(ProgramPath, TheFolderStaysUtf16WhereGbkHasNoFormForIt) {
  // No short form is ever needed: the folder reaches the platform whole, and only
  // the program's texts of it read "?" for each unit GBK cannot hold.
  struct Case {
    std::u16string path, folder;
    std::string folderText, fileText;
  } cases[] = {
      {u"D:\\\uB3C4\uAD6C \U0001F527\\linkwright.exe", u"D:\\\uB3C4\uAD6C \U0001F527", "D:\\?? ??",
       "linkwright.exe"},
      {u"C:\\工具\\程序.exe", u"C:\\工具", "C:\\工具", "程序.exe"},
      {u"linkwright.exe", u"", "", "linkwright.exe"},
  };
  for (const Case& c : cases) {
    const ProgramLocation at = LocateProgram(c.path);
    EXPECT_TRUE(at.folder == c.folder) << c.folderText;
    EXPECT_EQ(c.folderText, at.folderText);
    EXPECT_EQ(c.fileText, at.fileNameText);
  }
}

}  // namespace
}  // namespace lw
