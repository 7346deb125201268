// Saving a file whole or not at all: what the folder holds afterwards, for a save
// that can be made and for each way one cannot.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "runtime/ui/pictures/take_away_win.h"
#include "tests/support/folder_names_win.h"

namespace lw {
namespace {

std::string contentOf(const std::wstring& path) {
  std::string bytes;
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return "<none>";
  char buffer[256];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(f);
  return bytes;
}

TEST(WriteFileWhole, WritesOrLeavesTheFolderAsItWas) {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  const std::wstring folder = std::wstring(temp) + L"lw_write_whole_" + std::to_wstring(GetCurrentProcessId());
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((folder + L"\\二维码.png").c_str(), nullptr));  // a name a folder holds
  const std::string png = "\x89PNG\r\n\x1a\nnew";
  struct Case {
    const char* what;
    std::wstring name;
    bool written;
    std::vector<std::wstring> after;  // the folder's names afterwards
  };
  const Case cases[] = {
      {"a new file", L"图片.png", true, {L"二维码.png\\", L"图片.png"}},
      {"the same name again: replaced", L"图片.png", true, {L"二维码.png\\", L"图片.png"}},
      {"a name a folder holds", L"二维码.png", false, {L"二维码.png\\", L"图片.png"}},
      {"a folder that is not there", L"missing\\图片.png", false, {L"二维码.png\\", L"图片.png"}},
  };
  std::string content = "old";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    content += "+";
    const std::string bytes = png + content;
    EXPECT_EQ(c.written,
              WriteFileWhole(folder + L"\\" + c.name, reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    if (c.written) {
      EXPECT_EQ(bytes, contentOf(folder + L"\\" + c.name));
    }
    std::vector<std::wstring> names = testing::NamesIn(folder);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(c.after, names) << "expected nothing else left in the folder";
  }
  DeleteFileW((folder + L"\\图片.png").c_str());
  RemoveDirectoryW((folder + L"\\二维码.png").c_str());
  RemoveDirectoryW(folder.c_str());
}

}  // namespace
}  // namespace lw
