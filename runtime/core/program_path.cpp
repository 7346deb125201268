#include "runtime/core/program_path.h"

namespace lw {

void SplitProgramPath(const char* path, std::string* directory, std::string* fileName) {
  const char* lastSep = nullptr;
  for (const char* p = path; *p; ++p) {
    if (static_cast<unsigned char>(*p) >= 0x80) {
      if (!p[1]) break;  // a lead byte before the end closes the walk
      ++p;
    } else if (*p == '\\') {
      lastSep = p;
    }
  }
  if (!lastSep) {
    directory->clear();
    *fileName = path;
  } else {
    directory->assign(path, lastSep);
    *fileName = lastSep + 1;
  }
}

}  // namespace lw
