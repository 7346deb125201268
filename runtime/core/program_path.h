// Splitting the executable's path into directory and file name.
#pragma once
#include <string>

namespace lw {

// Splits at the last backslash, stepping over two-byte characters so that a trail
// byte equal to '\' is never taken for a separator. Without a backslash the
// directory is empty and the file name is the whole path.
void SplitProgramPath(const char* path, std::string* directory, std::string* fileName);

}  // namespace lw
