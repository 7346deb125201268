#include "runtime/core/startup/runtime_app_win.h"
#include "runtime/ui/pictures/take_away_win.h"

#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "runtime/core/text/wide_text_win.h"
#include "runtime/core/values/memory.h"
#include "runtime/core/values/owned_block.h"
#include "runtime/picture/png_write.h"
#include "runtime/ui/windows/menu_drawing_win.h"

namespace lw {

namespace {

// The runtime's texts of the picture menu and the save, in GBK.
const char kCopyCaption[] = "复制图片";
const char kSaveCaption[] = "保存图片…";
const char kSaveFailedTitle[] = "保存图片";
const char kSaveFailedText[] = "图片没有保存，无法写入这个文件：";
const char kPngFilterName[] = "PNG 图片 (*.png)";

enum : UINT { kCommandCopy = 1, kCommandSave = 2 };

// Another program may hold the clipboard for a moment; a few short tries.
bool openClipboardSoon(HWND owner) {
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(10);
  }
  return false;
}

// The picture as a packed bottom-up DIB of 24 bits a pixel, rows padded to 4 bytes,
// in a movable global block the clipboard can own; null when memory is short.
HGLOBAL packedDib(const ShownPicture& p) {
  const size_t row = (size_t(p.width) * 3 + 3) & ~size_t(3);
  size_t bits = 0, total = 0;
  if (!checkedMul(row, size_t(p.height), &bits) || !checkedAdd(sizeof(BITMAPINFOHEADER), bits, &total)) return nullptr;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, total);
  auto* header = block ? static_cast<BITMAPINFOHEADER*>(GlobalLock(block)) : nullptr;
  if (!header) {
    if (block) GlobalFree(block);
    return nullptr;
  }
  header->biSize = sizeof *header;
  header->biWidth = p.width;
  header->biHeight = p.height;  // bottom row first, as most readers of the clipboard expect
  header->biPlanes = 1;
  header->biBitCount = 24;
  header->biCompression = BI_RGB;
  header->biSizeImage = DWORD(bits);
  auto* out = reinterpret_cast<uint8_t*>(header + 1);
  for (int y = 0; y < p.height; ++y) {
    const uint8_t* from = p.bits + size_t(p.height - 1 - y) * p.width * 4;
    uint8_t* to = out + size_t(y) * row;
    for (int x = 0; x < p.width; ++x, from += 4, to += 3) memcpy(to, from, 3);
  }
  GlobalUnlock(block);
  return block;
}

// The user's Pictures folder, made when it is missing; empty when there is none.
std::wstring picturesFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_MYPICTURES | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path)))
    return std::wstring();
  return path;
}

// The file the user names in the save dialog; empty when the dialog is cancelled.
std::wstring askForPngFile(HWND owner, const char* defaultName) {
  std::vector<wchar_t> file(32768, L'\0');  // room for the longest path the platform takes
  const std::wstring name = Wide(defaultName);
  name.copy(file.data(), std::min(name.size(), file.size() - 1));
  const std::wstring folder = picturesFolder();
  // The filter: a caption, its pattern, and an empty pair to end the list.
  std::wstring filter = Wide(kPngFilterName);
  filter += L'\0';
  filter += L"*.png";
  filter += L'\0';
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = DWORD(file.size());
  ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  ofn.lpstrDefExt = L"png";
  ofn.Flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  StartOle();  // the dialog's folder view is made of shell objects
  return GetSaveFileNameW(&ofn) ? std::wstring(file.data()) : std::wstring();
}

void tellSaveFailed(HWND owner, const std::wstring& path) {
  const std::wstring text = Wide(kSaveFailedText) + L"\r\n" + path;
  MessageBoxW(owner, text.c_str(), Wide(kSaveFailedTitle).c_str(), MB_OK | MB_ICONERROR);
}

// Writes all of `data` into a file that exists and is empty; false on any failure.
bool fillFile(const wchar_t* path, const uint8_t* data, size_t size) {
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  bool ok = true;
  while (ok && size > 0) {
    const DWORD piece = size > 0x100000 ? 0x100000 : DWORD(size);
    DWORD written = 0;
    ok = WriteFile(file, data, piece, &written, nullptr) && written == piece;
    data += piece;
    size -= piece;
  }
  ok = ok && FlushFileBuffers(file);
  return CloseHandle(file) && ok;
}

}  // namespace

void ReleaseShownPicture(ShownPicture* picture) {
  if (picture->bitmap) DeleteObject(picture->bitmap);
  *picture = ShownPicture{};
}

bool CopyShownPicture(HWND owner, const ShownPicture& picture) {
  if (!picture.bits || picture.width <= 0 || picture.height <= 0) return false;
  HGLOBAL dib = packedDib(picture);
  if (!dib) return false;
  if (!openClipboardSoon(owner)) {
    GlobalFree(dib);
    return false;
  }
  EmptyClipboard();
  const bool taken = SetClipboardData(CF_DIB, dib) != nullptr;  // the clipboard owns the block now
  if (!taken) GlobalFree(dib);
  CloseClipboard();
  return taken;
}

bool WriteFileWhole(const std::wstring& path, const uint8_t* data, size_t size) {
  const size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return false;
  const std::wstring folder = path.substr(0, slash + 1);
  wchar_t temporary[MAX_PATH + 16] = {};
  if (folder.size() >= MAX_PATH - 14 || !GetTempFileNameW(folder.c_str(), L"lw", 0, temporary)) return false;
  // GetTempFileNameW made the file; from here on it goes again on every failure.
  const bool written = fillFile(temporary, data, size) &&
                       MoveFileExW(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
  if (!written) DeleteFileW(temporary);
  return written;
}

void SaveShownPicture(HWND owner, const ShownPicture& picture, const char* defaultName) {
  if (!picture.bits || picture.width <= 0 || picture.height <= 0) return;
  const std::wstring path = askForPngFile(owner, defaultName);
  if (path.empty()) return;  // cancelled
  Owned<ByteSetHeader> png(EncodePng(picture.bits, uint32_t(picture.width), uint32_t(picture.height), PngPixels::Bgrx));
  if (!png || !WriteFileWhole(path, byteSetData(png.get()), byteSetLength(png.get()))) tellSaveFailed(owner, path);
}

PictureMenuChoice TrackPictureMenu(HWND owner, POINT at) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return PictureMenuChoice::None;
  AppendMenuW(menu, MF_STRING, kCommandCopy, Wide(kCopyCaption).c_str());
  AppendMenuW(menu, MF_STRING, kCommandSave, Wide(kSaveCaption).c_str());
  // A menu leaves again on a click elsewhere only when its owner is in front.
  SetForegroundWindow(owner);
  const UINT chosen = TrackReadableMenu(menu, at.x, at.y, owner);
  DestroyMenu(menu);
  return chosen == kCommandCopy   ? PictureMenuChoice::Copy
         : chosen == kCommandSave ? PictureMenuChoice::Save
                                  : PictureMenuChoice::None;
}

}  // namespace lw
