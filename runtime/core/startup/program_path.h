// Splitting the executable's path into directory and file name.
#pragma once
#include <string>

namespace lw {

// Splits at the last backslash, stepping over two-byte characters so that a trail
// byte equal to '\' is never taken for a separator. Without a backslash the
// directory is empty and the file name is the whole path.
void SplitProgramPath(const char* path, std::string* directory, std::string* fileName);

// Where the program lies, from its path as the platform gives it (UTF-16): its
// folder in that form, for every use at the platform, and the folder and file name
// as GBK texts, for the program that reads its own path. A unit GBK cannot hold
// reads "?" in the texts; the UTF-16 folder keeps it.
struct ProgramLocation {
  std::u16string folder;  // without a trailing separator
  std::string folderText, fileNameText;
};
ProgramLocation LocateProgram(const std::u16string& path);

}  // namespace lw
