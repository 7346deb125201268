#include "runtime/core/startup/program_path.h"

#include "runtime/core/text/codepage.h"

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

ProgramLocation LocateProgram(const std::u16string& path) {
  ProgramLocation at;
  const size_t slash = path.rfind(u'\\');
  at.folder = slash == std::u16string::npos ? std::u16string() : path.substr(0, slash);
  at.folderText = WideToGbk(at.folder);
  at.fileNameText = WideToGbk(slash == std::u16string::npos ? path : path.substr(slash + 1));
  return at;
}

}  // namespace lw
