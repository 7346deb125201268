#include "runtime/core/program_path.h"

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

}  // namespace
}  // namespace lw
