// The names in a folder, as the tests that save files check what a folder holds.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace lw::testing {

// The names in a folder, "." and ".." left out; folders end in "\".
inline std::vector<std::wstring> NamesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L"..")
      names.push_back(name + ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? L"\\" : L""));
  } while (FindNextFileW(h, &found));
  FindClose(h);
  return names;
}

}  // namespace lw::testing
